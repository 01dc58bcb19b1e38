#include "images/internal/hwl_wavelet.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "images/internal/hwl_avx2.h"
#include "images/internal/hwl_band_geometry.h"
#include "images/internal/hwl_bit_gathering.h"

namespace {

constexpr long double kC = kHaarScale;

// Synthesis of one pair (L, H): even = c × (L + H), odd = c × (L − H).
double HaarEven(double low, double high) { return static_cast<double>(kC * (static_cast<long double>(low) + high)); }
double HaarOdd(double low, double high) { return static_cast<double>(kC * (static_cast<long double>(low) - high)); }

constexpr long double kOwnWeight = 0.8L;
constexpr long double kNeighbourWeight = 0.2L;

double Blended(double low, double neighbour) {
  return static_cast<double>(kC * (kOwnWeight * low + kNeighbourWeight * neighbour));
}

// Where an inner pair sits: the first and the last inner pair skip one of the outer comparisons.
enum class InnerPlace { First, Middle, Last, FirstAndLast };

// What a run of pairs j, j + 1, … reads, lane i of each line at [i]: low[k] holds L_{j+k−2} and
// high[k] holds H_{j+k−1}, k = 0 … 4 and 0 … 2. In the vertical step the lines are rows and the lanes
// columns; in the horizontal step the lines are one line shifted by one value each. A line that the
// pair's place never reads may point anywhere valid.
struct PairLines {
  const double* low[5];
  const double* high[3];
};

// Whether the outputs of inner pair j (1 ≤ j ≤ n − 2) in lane i blend. With a zero detail, each
// output blends towards its outer neighbour only where that neighbour's detail is zero too and the
// neighbouring values differ on both sides, so a flat stretch stays flat.
template <InnerPlace place>
inline bool EvenBlends(const PairLines& lines, std::size_t i) {
  constexpr bool last = place == InnerPlace::Last || place == InnerPlace::FirstAndLast;
  const double next = lines.low[3][i];
  return lines.high[1][i] == 0.0 && lines.high[0][i] == 0.0 && lines.low[2][i] != next &&
         (last || lines.low[4][i] != next);
}

template <InnerPlace place>
inline bool OddBlends(const PairLines& lines, std::size_t i) {
  constexpr bool first = place == InnerPlace::First || place == InnerPlace::FirstAndLast;
  const double previous = lines.low[1][i];
  return lines.high[1][i] == 0.0 && lines.high[2][i] == 0.0 && lines.low[2][i] != previous &&
         (first || lines.low[0][i] != previous);
}

// Plain synthesis of `count` pairs: the outputs of pair i go to even[i × step] and odd[i × step].
// A pair that neither blends nor has a detail takes this too: c × (L ± 0) is c × L, the rule's value,
// up to the sign of an exact zero, and no later step, comparison or byte conversion can tell the two
// zeros apart, so the pixels are the same.
void PlainPairs(const double* low, const double* high, std::size_t count, double* even, double* odd,
                std::ptrdiff_t step) {
  for (std::size_t i = 0; i < count; ++i) {
    even[static_cast<std::ptrdiff_t>(i) * step] = HaarEven(low[i], high[i]);
    odd[static_cast<std::ptrdiff_t>(i) * step] = HaarOdd(low[i], high[i]);
  }
}

// std::popcount without a population-count instruction is a library call; this is a few operations.
unsigned BitCount(std::uint64_t bits) {
  bits -= (bits >> 1) & 0x5555555555555555;
  bits = (bits & 0x3333333333333333) + ((bits >> 2) & 0x3333333333333333);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0F;
  return static_cast<unsigned>((bits * 0x0101010101010101) >> 56);
}

std::uint64_t LowBits(unsigned count) { return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1; }

// The blend tests of up to 64 inner pairs (lanes base … base + count − 1, all in the same place of
// their lines), one bit per pair, so that the outputs that blend are found without a branch per pair.
// This one tests each pair on its own; LineBlends and ColumnBlends below share the comparisons of
// neighbouring pairs.
struct BlendMasks {
  std::uint64_t even = 0;
  std::uint64_t odd = 0;
};

template <InnerPlace place>
BlendMasks FindBlends(const PairLines& lines, std::size_t base, unsigned count) {
  BlendMasks masks;
  for (unsigned i = 0; i < count; ++i) {
    masks.even |= std::uint64_t{EvenBlends<place>(lines, base + i)} << i;
    masks.odd |= std::uint64_t{OddBlends<place>(lines, base + i)} << i;
  }
  return masks;
}

// Whether a[i] and b[i] are all ±0 for i < count (shifting out the sign bit leaves no bit set).
bool AllZero(const double* a, const double* b, unsigned count) {
  std::uint64_t bits = 0;
  for (unsigned i = 0; i < count; ++i) bits |= std::bit_cast<std::uint64_t>(a[i]) | std::bit_cast<std::uint64_t>(b[i]);
  return (bits << 1) == 0;
}

// Both outputs of every pair blend, as in a smooth stretch with zero details: c × (0.8 L + 0.2 × the
// neighbour), 0.8 L formed once for the two (in extended precision, exactly as each output would).

void BlendAllPairs(const double* previous, const double* own, const double* next, std::size_t count, double* even,
                   double* odd, std::ptrdiff_t step) {
  for (std::size_t i = 0; i < count; ++i) {
    const long double weighted = kOwnWeight * own[i];
    const std::ptrdiff_t out = static_cast<std::ptrdiff_t>(i) * step;
    even[out] = static_cast<double>(kC * (weighted + kNeighbourWeight * previous[i]));
    odd[out] = static_cast<double>(kC * (weighted + kNeighbourWeight * next[i]));
  }
}

// Inner pairs in lanes 0 … count − 1, all in the same place of their lines, outputs at
// even[i × step] and odd[i × step]. Each group of 64 pairs computes its more frequent kind of output
// for all pairs without a test, then overwrites the others one by one; groups of zeros take zeros.
template <InnerPlace place, class Masks>
void InnerPairs(const PairLines& lines, std::size_t count, double* even, double* odd, std::ptrdiff_t step,
                Masks masksOf) {
  for (std::size_t base = 0; base < count; base += 64) {
    const unsigned lanes = static_cast<unsigned>(std::min<std::size_t>(64, count - base));
    const std::uint64_t all = LowBits(lanes);
    const double* previous = lines.low[1] + base;
    const double* own = lines.low[2] + base;
    const double* next = lines.low[3] + base;
    const double* high = lines.high[1] + base;
    double* e = even + static_cast<std::ptrdiff_t>(base) * step;
    double* o = odd + static_cast<std::ptrdiff_t>(base) * step;
    BlendMasks masks = masksOf(base, lanes);
    if (BitCount(masks.even) + BitCount(masks.odd) > lanes) {
      // Most outputs blend: blend all, then put back the plain value where an output does not.
      BlendAllPairs(previous, own, next, lanes, e, o, step);
      for (std::uint64_t plain = ~masks.even & all; plain != 0; plain &= plain - 1) {
        const int i = std::countr_zero(plain);
        e[i * step] = HaarEven(own[i], high[i]);
      }
      for (std::uint64_t plain = ~masks.odd & all; plain != 0; plain &= plain - 1) {
        const int i = std::countr_zero(plain);
        o[i * step] = HaarOdd(own[i], high[i]);
      }
      continue;
    }
    if (masks.even == 0 && masks.odd == 0 && AllZero(own, high, lanes)) {
      // Zero details over zero values, as in most of a sparse picture's detail bands: c × (0 ± 0) is
      // 0 (up to the sign of zero, see PlainPairs) without any arithmetic.
      for (unsigned i = 0; i < lanes; ++i) e[i * step] = o[i * step] = 0.0;
      continue;
    }
    // Most outputs do not blend: plain synthesis for all, then the blends.
    PlainPairs(own, high, lanes, e, o, step);
    for (; masks.even != 0; masks.even &= masks.even - 1) {
      const int i = std::countr_zero(masks.even);
      e[i * step] = Blended(own[i], previous[i]);
    }
    for (; masks.odd != 0; masks.odd &= masks.odd - 1) {
      const int i = std::countr_zero(masks.odd);
      o[i * step] = Blended(own[i], next[i]);
    }
  }
}

template <InnerPlace place>
void InnerPairs(const PairLines& lines, std::size_t count, double* even, double* odd, std::ptrdiff_t step) {
  InnerPairs<place>(lines, count, even, odd, step,
                    [&](std::size_t base, unsigned lanes) { return FindBlends<place>(lines, base, lanes); });
}

// Bit i of the words (i < count) set where a[i] = 0 (ZeroBits) or a[i] ≠ b[i] (DiffersBits), exactly
// as == and != decide; `words` holds (count + 63) / 64 entries. With SSE2, eight values per step.
#if defined(__SSE2__)
constexpr unsigned kDoubleBlock = 8;
constexpr unsigned kInt16Block = 16;

// The bits of values i … i + 3 from the comparison masks of values i, i + 1 and i + 2, i + 3: the low
// halves of the four 64-bit masks gathered into one register, then one movemask.
inline unsigned QuadBits(__m128d first, __m128d second) {
  return static_cast<unsigned>(
      _mm_movemask_ps(_mm_shuffle_ps(_mm_castpd_ps(first), _mm_castpd_ps(second), _MM_SHUFFLE(2, 0, 2, 0))));
}
#else
constexpr unsigned kDoubleBlock = 1;  // Block is One
constexpr unsigned kInt16Block = 1;
#endif

struct ZeroTest {
  const double* a;
#if defined(__SSE2__)
  unsigned Quad(std::uint32_t i) const {
    const __m128d zero = _mm_setzero_pd();
    return QuadBits(_mm_cmpeq_pd(_mm_loadu_pd(a + i), zero), _mm_cmpeq_pd(_mm_loadu_pd(a + i + 2), zero));
  }
  unsigned Block(std::uint32_t i) const { return Quad(i) | Quad(i + 4) << 4; }
#else
  unsigned Block(std::uint32_t i) const { return One(i); }
#endif
  unsigned One(std::uint32_t i) const { return a[i] == 0.0; }
};

struct DiffersTest {
  const double* a;
  const double* b;
#if defined(__SSE2__)
  // cmpneq is true for a NaN, as != is.
  unsigned Quad(std::uint32_t i) const {
    return QuadBits(_mm_cmpneq_pd(_mm_loadu_pd(a + i), _mm_loadu_pd(b + i)),
                    _mm_cmpneq_pd(_mm_loadu_pd(a + i + 2), _mm_loadu_pd(b + i + 2)));
  }
  unsigned Block(std::uint32_t i) const { return Quad(i) | Quad(i + 4) << 4; }
#else
  unsigned Block(std::uint32_t i) const { return One(i); }
#endif
  unsigned One(std::uint32_t i) const { return a[i] != b[i]; }
};

void ZeroBits(const double* a, std::uint32_t count, std::uint64_t* words) {
  if (HwlHasAvx2()) return ZeroBitsAvx2(a, count, words);
  GatherBits<kDoubleBlock>(count, words, ZeroTest{a});
}

void DiffersBits(const double* a, const double* b, std::uint32_t count, std::uint64_t* words) {
  if (HwlHasAvx2()) return DiffersBitsAvx2(a, b, count, words);
  GatherBits<kDoubleBlock>(count, words, DiffersTest{a, b});
}

// The same bits from quantised values: where every value stands for factor × q with one factor that is
// non-zero and at most 2^1000 in magnitude (so factor × q stays finite for every int16 q), factor × q
// is zero exactly where q is, and two such products differ exactly where their q do (distinct q lie at
// least |factor| apart, far more than the rounding of either product). With SSE2, sixteen values per
// step.
struct ZeroTest16 {
  const std::int16_t* a;
#if defined(__SSE2__)
  unsigned Block(std::uint32_t i) const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i first = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)), zero);
    const __m128i second = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i + 8)), zero);
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(first, second)));
  }
#else
  unsigned Block(std::uint32_t i) const { return One(i); }
#endif
  unsigned One(std::uint32_t i) const { return a[i] == 0; }
};

struct DiffersTest16 {
  const std::int16_t* a;
  const std::int16_t* b;
#if defined(__SSE2__)
  unsigned Block(std::uint32_t i) const {
    auto load = [](const std::int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    const __m128i first = _mm_cmpeq_epi16(load(a + i), load(b + i));
    const __m128i second = _mm_cmpeq_epi16(load(a + i + 8), load(b + i + 8));
    return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(first, second))) & 0xFFFFu;
  }
#else
  unsigned Block(std::uint32_t i) const { return One(i); }
#endif
  unsigned One(std::uint32_t i) const { return a[i] != b[i]; }
};

void ZeroBits16(const std::int16_t* a, std::uint32_t count, std::uint64_t* words) {
  GatherBits<kInt16Block>(count, words, ZeroTest16{a});
}

void DiffersBits16(const std::int16_t* a, const std::int16_t* b, std::uint32_t count, std::uint64_t* words) {
  GatherBits<kInt16Block>(count, words, DiffersTest16{a, b});
}

// Bits 0 … count − 1 of the words all set or all clear, as the gatherers would leave them.
void SameBits(bool set, std::uint32_t count, std::uint64_t* words) {
  for (std::uint32_t begin = 0; begin < count; begin += 64) words[begin / 64] = set ? LowBits(count - begin) : 0;
}

// Along one line the blend tests share their comparisons: with Z_j = (H_j = 0) and D_j = (L_j ≠ L_{j+1}),
// the even output of a middle pair j blends where Z_j, Z_{j−1}, D_j and D_{j+1} hold, the odd one where
// Z_j, Z_{j+1}, D_{j−1} and D_{j−2} hold. Both are formed for all pairs of a line from one comparison of
// each kind per pair, 64 pairs to a word.
class LineBlends {
 public:
  static constexpr std::uint32_t kMaxPairs = 32768;  // lines of up to 65536 values

  // n ≤ kMaxPairs.
  LineBlends(const double* low, const double* high, std::uint32_t n) : words_((n + 63) / 64) {
    std::uint64_t zero[kWords];
    std::uint64_t differs[kWords];
    ZeroBits(high, n, zero);
    // L_{j+1} of the last pair is the line's first high value: its bit is never used.
    DiffersBits(low, low + 1, n, differs);
    for (std::uint32_t k = 0; k < words_; ++k) {
      const std::uint64_t z = zero[k];
      const std::uint64_t d = differs[k];
      const std::uint64_t zBefore = k > 0 ? zero[k - 1] : 0, zAfter = k + 1 < words_ ? zero[k + 1] : 0;
      const std::uint64_t dBefore = k > 0 ? differs[k - 1] : 0, dAfter = k + 1 < words_ ? differs[k + 1] : 0;
      const std::uint64_t zPrevious = z << 1 | zBefore >> 63, zNext = z >> 1 | zAfter << 63;
      const std::uint64_t dPrevious = d << 1 | dBefore >> 63, dNext = d >> 1 | dAfter << 63;
      const std::uint64_t dSecondPrevious = d << 2 | dBefore >> 62;
      even_[k] = z & zPrevious & d & dNext;
      odd_[k] = z & zNext & dPrevious & dSecondPrevious;
    }
  }

  // The tests of pairs first … first + count − 1 (count ≤ 64), all middle pairs.
  BlendMasks Masks(std::uint32_t first, unsigned count) const {
    return {Bits(even_, first) & LowBits(count), Bits(odd_, first) & LowBits(count)};
  }

 private:
  static constexpr std::uint32_t kWords = kMaxPairs / 64;

  std::uint64_t Bits(const std::uint64_t* words, std::uint32_t first) const {
    const std::uint32_t k = first / 64, shift = first % 64;
    const std::uint64_t low = words[k] >> shift;
    if (shift == 0 || k + 1 >= words_) return low;
    return low | words[k + 1] << (64 - shift);
  }

  std::uint32_t words_;
  std::uint64_t even_[kWords];
  std::uint64_t odd_[kWords];
};

// The same sharing down the columns: pairs j = 1, 2, … n − 2 of a vertical step, in this order, reuse
// the zero tests Z_r of the high rows and the inequalities D_r between low rows r and r + 1 that the
// pairs before them formed; each pair adds Z_{j+1} and D_{j+1}. Row r's words live in slot r mod 3
// (Z) or r mod 4 (D).
class ColumnBlends {
 public:
  // Entries of the words a step of `lanes` columns needs.
  static std::size_t Size(std::uint32_t lanes) { return 7 * std::size_t{(lanes + 63) / 64}; }

  // `words` (Size(lanes) entries) and `made` (the rows formed so far, 0 before the first pair) are the
  // owner's, kept from pair to pair of one step.
  ColumnBlends(std::uint32_t lanes, std::uint64_t* words, std::uint32_t& made)
      : words_((lanes + 63) / 64), zero_(words), differs_(words + 3 * words_), made_(made) {}

  // Before inner pair j: tests(r, zero, differs) fills the words of each row r not yet formed, Z_r
  // into `zero` and D_r into `differs`.
  template <class RowTests>
  void Advance(std::uint32_t j, RowTests tests) {
    for (; made_ <= j + 1; ++made_) tests(made_, Zero(made_), Differs(made_));
  }

  // The tests of pair j in lanes base … base + count − 1 (base a multiple of 64, count ≤ 64).
  template <InnerPlace place>
  BlendMasks Masks(std::uint32_t j, std::size_t base, unsigned count) const {
    constexpr bool first = place == InnerPlace::First || place == InnerPlace::FirstAndLast;
    constexpr bool last = place == InnerPlace::Last || place == InnerPlace::FirstAndLast;
    const std::size_t k = base / 64;
    const std::uint64_t flat = Zero(j)[k] & LowBits(count);
    const std::uint64_t even = flat & Zero(j - 1)[k] & Differs(j)[k] & (last ? ~std::uint64_t{0} : Differs(j + 1)[k]);
    const std::uint64_t odd = flat & Zero(j + 1)[k] & Differs(j - 1)[k] & (first ? ~std::uint64_t{0} : Differs(j - 2)[k]);
    return {even, odd};
  }

 private:
  std::uint64_t* Zero(std::uint32_t r) const { return zero_ + r % 3 * std::size_t{words_}; }
  std::uint64_t* Differs(std::uint32_t r) const { return differs_ + r % 4 * std::size_t{words_}; }

  std::uint32_t words_;
  std::uint64_t* zero_;     // 3 rows
  std::uint64_t* differs_;  // 4 rows
  std::uint32_t& made_;
};

// The row tests of a vertical step from its lines themselves: lines.high[k] is H_{j+k−1} and
// lines.low[k] is L_{j+k−2}.
struct LineRowTests {
  const PairLines& lines;
  std::uint32_t j;
  std::uint32_t lanes;
  void operator()(std::uint32_t r, std::uint64_t* zero, std::uint64_t* differs) const {
    ZeroBits(lines.high[r + 1 - j], lanes, zero);
    DiffersBits(lines.low[r + 2 - j], lines.low[r + 3 - j], lanes, differs);
  }
};

// Vertical synthesis of pair j (of n) in `lanes` columns: output rows 2j (`even`) and 2j + 1 (`odd`).
// `tests` forms the rows' blend tests (see ColumnBlends::Advance).
template <class RowTests>
void VerticalPairOfLines(const PairLines& lines, std::size_t lanes, std::uint32_t j, std::uint32_t n,
                         ColumnBlends& blends, double* even, double* odd, RowTests tests) {
  if (j == 0 || j + 1 >= n) return PlainPairs(lines.low[2], lines.high[1], lanes, even, odd, 1);
  blends.Advance(j, tests);
  auto inner = [&](auto place) {
    constexpr InnerPlace kPlace = decltype(place)::value;
    InnerPairs<kPlace>(lines, lanes, even, odd, 1, [&](std::size_t base, unsigned count) {
      return blends.Masks<kPlace>(j, base, count);
    });
  };
  using Place = InnerPlace;
  if (n == 3) return inner(std::integral_constant<Place, Place::FirstAndLast>{});
  if (j == 1) return inner(std::integral_constant<Place, Place::First>{});
  if (j + 2 == n) return inner(std::integral_constant<Place, Place::Last>{});
  inner(std::integral_constant<Place, Place::Middle>{});
}

// Row r of n rows, clamped into them: the rows a pair's place never reads still point inside.
std::uint32_t ClampedRow(std::int64_t r, std::uint32_t n) {
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(r, 0, std::int64_t{n} - 1));
}

// Horizontal synthesis of one line of w values (low half, then high half) into `out`.
void HorizontalLine(const double* line, std::uint32_t w, double* out) {
  const std::uint32_t n = w / 2;
  const double* low = line;
  const double* high = line + n;
  if (w % 2 != 0) out[w - 1] = 0.0;
  if (n <= 2) return PlainPairs(low, high, n, out, out + 1, 2);
  // The outer pairs, then the inner ones: the first and the last inner pair on their own, the pairs
  // between them (2 … n − 3) as lanes of lines shifted by one value each.
  PlainPairs(low, high, 1, out, out + 1, 2);
  PlainPairs(low + n - 1, high + n - 1, 1, out + 2 * (n - 1), out + 2 * (n - 1) + 1, 2);
  auto lines = [&](std::uint32_t j) {
    PairLines shifted;
    for (std::uint32_t k = 0; k < 5; ++k) shifted.low[k] = low + ClampedRow(std::int64_t{j} + k - 2, n);
    for (std::uint32_t k = 0; k < 3; ++k) shifted.high[k] = high + (j + k - 1);
    return shifted;
  };
  using Place = InnerPlace;
  if (n == 3) return InnerPairs<Place::FirstAndLast>(lines(1), 1, out + 2, out + 3, 2);
  InnerPairs<Place::First>(lines(1), 1, out + 2, out + 3, 2);
  if (n > LineBlends::kMaxPairs) {
    InnerPairs<Place::Middle>(lines(2), n - 4, out + 4, out + 5, 2);
  } else {
    const LineBlends blends(low, high, n);
    InnerPairs<Place::Middle>(lines(2), n - 4, out + 4, out + 5, 2, [&](std::size_t base, unsigned lanes) {
      return blends.Masks(2 + static_cast<std::uint32_t>(base), lanes);
    });
  }
  InnerPairs<Place::Last>(lines(n - 2), 1, out + 2 * (n - 2), out + 2 * (n - 2) + 1, 2);
}

// After 32 halvings every size is 0, so deeper levels change nothing.
int EffectiveLevels(int k) { return std::clamp(k, 0, 32); }

void ForwardRows(const double* source, std::uint32_t W, std::uint32_t w, std::uint32_t h, double* scratch) {
  const std::uint32_t n = w / 2;
  for (std::uint32_t y = 0; y < h; ++y) {
    const double* in = source + std::size_t{y} * W;
    double* out = scratch + std::size_t{y} * w;
    for (std::uint32_t j = 0; j < n; ++j) {
      const double a = in[2 * j];
      const double b = in[2 * j + 1];
      out[j] = static_cast<double>(kC * (static_cast<long double>(b) + a));
      out[n + j] = static_cast<double>(kC * (static_cast<long double>(a) - b));
    }
    if (w % 2 != 0) out[w - 1] = 0.0;
  }
}

void ForwardColumns(const double* scratch, std::uint32_t w, std::uint32_t h, double* destination, std::uint32_t W) {
  const std::uint32_t n = h / 2;
  for (std::uint32_t j = 0; j < n; ++j) {
    const double* first = scratch + std::size_t{2 * j} * w;
    const double* second = first + w;
    double* sum = destination + std::size_t{j} * W;
    double* difference = destination + std::size_t{n + j} * W;
    for (std::uint32_t x = 0; x < w; ++x) {
      sum[x] = static_cast<double>(kC * (static_cast<long double>(second[x]) + first[x]));
      difference[x] = static_cast<double>(kC * (static_cast<long double>(first[x]) - second[x]));
    }
  }
  if (h % 2 != 0) std::fill_n(destination + std::size_t{h - 1} * W, w, 0.0);
}

void ForwardStep(const double* source, double* destination, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                 std::vector<double>& scratch) {
  if (w == 0 || h == 0) return;
  ForwardRows(source, W, w, h, scratch.data());
  ForwardColumns(scratch.data(), w, h, destination, W);
}

}  // namespace

RowPairInverseStep::RowPairInverseStep(QuarterRows& quarter, DetailRows& details, double factor, std::uint32_t w,
                                       std::uint32_t h)
    : quarter_(&quarter),
      details_(&details),
      factor_(factor),
      w_(w),
      n_(h / 2),
      lowRows_(5 * std::size_t{w / 2}),
      highRows_(3 * std::size_t{w}),
      vertical_(2 * std::size_t{w}),
      blendWords_(2 * ColumnBlends::Size(w / 2)),
      detailTests_(TestsFor(factor)) {}

RowPairInverseStep::DetailTests RowPairInverseStep::TestsFor(double factor) {
  if (factor == 0.0) return DetailTests::AllZero;  // 0 × q is ±0 for every q
  if (std::fabs(factor) <= 0x1p1000) return DetailTests::FromQuantised;
  return DetailTests::FromValues;  // a NaN, an infinity, or products that may overflow
}

const double* RowPairInverseStep::QuarterRow(std::int64_t r) { return quarter_->Row(ClampedRow(r, n_)); }

const double* RowPairInverseStep::LowRow(std::int64_t r) {
  const std::size_t half = w_ / 2;
  const std::uint32_t row = ClampedRow(r, n_);
  double* slot = lowRows_.data() + row % 5 * half;
  for (; lowMade_ <= row; ++lowMade_) {
    const std::int16_t* q = details_->Low(static_cast<std::uint32_t>(lowMade_)) + half;
    double* out = lowRows_.data() + static_cast<std::size_t>(lowMade_ % 5) * half;
    for (std::size_t x = 0; x < half; ++x) out[x] = factor_ * q[x];
  }
  return slot;
}

const double* RowPairInverseStep::HighRow(std::int64_t r) {
  const std::uint32_t row = ClampedRow(r, n_);
  double* slot = highRows_.data() + row % 3 * std::size_t{w_};
  for (; highMade_ <= row; ++highMade_) {
    const std::int16_t* q = details_->High(static_cast<std::uint32_t>(highMade_));
    double* out = highRows_.data() + static_cast<std::size_t>(highMade_ % 3) * w_;
    for (std::size_t x = 0; x < w_; ++x) out[x] = factor_ * q[x];
  }
  return slot;
}

void RowPairInverseStep::RowPair(std::uint32_t j, double* even, double* odd) {
  const std::size_t half = w_ / 2;
  // Make the rows of pair j + 2 and j + 1 first, so that no slot still needed is overwritten later.
  LowRow(std::int64_t{j} + 2);
  HighRow(std::int64_t{j} + 1);
  PairLines left;
  PairLines right;
  for (int k = 0; k < 5; ++k) {
    left.low[k] = QuarterRow(std::int64_t{j} + k - 2);
    right.low[k] = LowRow(std::int64_t{j} + k - 2);
  }
  for (int k = 0; k < 3; ++k) {
    left.high[k] = HighRow(std::int64_t{j} + k - 1);
    right.high[k] = left.high[k] + half;
  }
  double* verticalEven = vertical_.data();
  double* verticalOdd = verticalEven + w_;
  const std::uint32_t lanes = static_cast<std::uint32_t>(half);
  ColumnBlends leftBlends(lanes, blendWords_.data(), blendRows_[0]);
  ColumnBlends rightBlends(lanes, blendWords_.data() + ColumnBlends::Size(lanes), blendRows_[1]);
  if (detailTests_ != DetailTests::FromValues) {
    // Every high row and the right half of every low row are the quantised detail bands.
    const bool allZero = detailTests_ == DetailTests::AllZero;
    auto high = [&](std::uint32_t r) { return details_->High(r); };
    auto lowRight = [&](std::uint32_t r) { return details_->Low(ClampedRow(r, n_)) + half; };
    auto zeroBits = [&](const std::int16_t* q, std::uint64_t* words) {
      allZero ? SameBits(true, lanes, words) : ZeroBits16(q, lanes, words);
    };
    VerticalPairOfLines(left, half, j, n_, leftBlends, verticalEven, verticalOdd,
                        [&](std::uint32_t r, std::uint64_t* zero, std::uint64_t* differs) {
                          zeroBits(high(r), zero);
                          DiffersBits(QuarterRow(r), QuarterRow(std::int64_t{r} + 1), lanes, differs);
                        });
    VerticalPairOfLines(right, half, j, n_, rightBlends, verticalEven + half, verticalOdd + half,
                        [&](std::uint32_t r, std::uint64_t* zero, std::uint64_t* differs) {
                          zeroBits(high(r) + half, zero);
                          allZero ? SameBits(false, lanes, differs) : DiffersBits16(lowRight(r), lowRight(r + 1), lanes, differs);
                        });
  } else {
    VerticalPairOfLines(left, half, j, n_, leftBlends, verticalEven, verticalOdd, LineRowTests{left, j, lanes});
    VerticalPairOfLines(right, half, j, n_, rightBlends, verticalEven + half, verticalOdd + half,
                        LineRowTests{right, j, lanes});
  }
  HorizontalLine(verticalEven, w_, even);
  HorizontalLine(verticalOdd, w_, odd);
}

void ForwardWavelet(const double* source, double* destination, std::uint32_t w, std::uint32_t h, std::uint32_t W,
                    std::uint32_t /*H*/, int k) {
  std::vector<double> scratch(std::size_t{w} * h);
  ForwardStep(source, destination, w, h, W, scratch);
  const int levels = EffectiveLevels(k);
  for (int level = 1; level <= levels; ++level) {
    ForwardStep(destination, destination, ShiftedSize(w, level), ShiftedSize(h, level), W, scratch);
  }
}
