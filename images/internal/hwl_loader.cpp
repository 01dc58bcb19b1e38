#include "images/hwl.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "images/internal/hwl_byte_source.h"
#include "images/internal/hwl_coefficients.h"
#include "images/internal/hwl_format.h"
#include "images/internal/hwl_colour.h"
#include "images/internal/hwl_packing.h"
#include "images/internal/hwl_plane_memory.h"
#include "images/internal/hwl_wavelet.h"

namespace {

using ScaleTable = std::array<double, kScaleTableCapacity>;

MaybeFailure ReadScaleTable(ByteSource& source, int lastLevel, ScaleTable& table) {
  std::array<std::uint8_t, 8 * kScaleTableCapacity> bytes{};
  const std::size_t entries = static_cast<std::size_t>(lastLevel) + 2;
  if (MaybeFailure failure = source.Read(bytes.data(), 8 * entries)) return failure;
  for (std::size_t k = 0; k < entries; ++k) {
    std::uint64_t bits = 0;
    for (int b = 7; b >= 0; --b) bits = (bits << 8) | bytes[8 * k + static_cast<std::size_t>(b)];
    table[k] = std::bit_cast<double>(bits);
  }
  return std::nullopt;
}

// The working storage of one decode, allocated once and shared by the channels where it can be.
// The planes are left uninitialised: every stage writes each entry of its output before the next stage
// reads it, and zero-filling megabytes first would cost as much as a stage. Per channel the top half
// of the coefficient plane is held quantised, as int16 (decoded magnitudes come from one byte); only
// the approximation band is dequantised up front. The bottom half holds nothing but the finest
// level's high rows, which the last step reads once, in order: they are decoded from the channel's
// coefficient stream as that step reaches them (see StreamedDetailRows), and never stored whole. The
// transform runs row pair by row pair, for all channels together: each step makes the rows of its
// level as the step above it reads them (see RebuiltRows), dequantising the detail rows it reads as
// it goes, so no rebuilt level is ever held whole and the last step's rows go straight to the pixels.
template <class T>
using Plane = PlaneArray<T>;

struct DecodeBuffers {
  // Every channel's top half in one block, which a colour picture of a megapixel fills with whole huge
  // pages (one block per channel would be too small for them, and a page fault per 4 KiB costs more
  // than the decoding of those rows).
  Plane<std::int16_t> topHalves;  // W × H / 2 per channel, stride W, channel 0 first
  std::vector<double> factors[kMaxChannels];  // band factors, level 0 first, the approximation last
  std::vector<double> bands[kMaxChannels];    // the approximation band, dequantised, stride its width
  Plane<double> rows;                         // two output rows per channel
  Plane<std::int32_t> quantisedRow;           // coefficients are decoded one row at a time
  std::vector<std::uint8_t> packed;
  // Each channel's unpacked symbols and values in one block, uninitialised like the planes (a dense
  // picture's are megabytes), and where its coefficients stand once the top half is decoded.
  Plane<std::uint8_t> streams[kMaxChannels];
  std::optional<CoefficientStream> coefficients[kMaxChannels];
};

// Values in the top half of one channel's coefficient plane.
std::size_t TopHalfSize(const ImageHeader& header) { return std::size_t{header.width} * (header.height / 2); }

void AllocateBuffers(const ImageHeader& header, DecodeBuffers& buffers) {
  const int channels = ChannelCount(header);
  buffers.topHalves = MakePlaneArray<std::int16_t>(TopHalfSize(header) * static_cast<std::size_t>(channels));
  buffers.rows = MakePlaneArray<double>(2 * std::size_t{header.width} * channels);
  buffers.quantisedRow = MakePlaneArray<std::int32_t>(header.width);
}

// The quantised top half of a channel's coefficient plane.
std::int16_t* TopHalf(const ImageHeader& header, const DecodeBuffers& buffers, int channel) {
  return buffers.topHalves.get() + TopHalfSize(header) * static_cast<std::size_t>(channel);
}

// The next row of coefficients from the stream, as int16.
void DecodeRow(CoefficientStream& coefficients, std::int32_t* row, std::uint32_t W, std::int16_t* out) {
  coefficients.Fill(row, W);
  for (std::uint32_t x = 0; x < W; ++x) out[x] = static_cast<std::int16_t>(row[x]);
}

// Reads the channel's streams and decodes the top half of its coefficients; the stream is left
// where the bottom half begins.
MaybeFailure DecodeChannel(ByteSource& source, const ImageHeader& header, int channel, const ScaleTable& scale,
                           DecodeBuffers& buffers) {
  const int bits = header.valueBits[channel];
  const std::size_t symbolCount = UsableSymbols(header, channel);
  const std::size_t valueCount = UsableValues(header, channel);
  if (MaybeFailure failure = ReadBlock(source, SymbolStreamBytes(header.symbolCount[channel]), buffers.packed)) {
    return failure;
  }
  buffers.streams[channel] = MakePlaneArray<std::uint8_t>(symbolCount + valueCount);
  const std::span<std::uint8_t> symbols(buffers.streams[channel].get(), symbolCount);
  const std::span<std::uint8_t> values(symbols.data() + symbolCount, valueCount);
  UnpackSymbols(buffers.packed, symbols);
  if (MaybeFailure failure = ReadBlock(source, ValueStreamBytes(header.valueCount[channel], bits), buffers.packed)) {
    return failure;
  }
  UnpackValues(buffers.packed, bits, values);
  CoefficientStream& coefficients = buffers.coefficients[channel].emplace(symbols, values, bits);
  buffers.factors[channel] = BandFactors(scale.data(), header.lastLevel);
  const std::uint32_t W = header.width;
  std::int16_t* top = TopHalf(header, buffers, channel);
  for (std::uint32_t y = 0; y < header.height / 2; ++y) DecodeRow(coefficients, buffers.quantisedRow.get(), W, top + std::size_t{y} * W);
  return std::nullopt;
}

void DequantiseApproximation(const ImageHeader& header, int channel, DecodeBuffers& buffers) {
  const int L = header.lastLevel;
  const std::uint32_t W = header.width;
  const std::int16_t* details = TopHalf(header, buffers, channel);
  const std::uint32_t bandWidth = W >> (L + 1), bandHeight = header.height >> (L + 1);
  const double bandFactor = buffers.factors[channel][static_cast<std::size_t>(L) + 1];
  std::vector<double>& band = buffers.bands[channel];
  band.resize(std::size_t{bandWidth} * bandHeight);
  for (std::uint32_t y = 0; y < bandHeight; ++y) {
    for (std::uint32_t x = 0; x < bandWidth; ++x) band[std::size_t{y} * bandWidth + x] = bandFactor * details[std::size_t{y} * W + x];
  }
}

// A rebuilt level (w × h) made two rows at a time as the step above reads it, from the rows of the
// level below and its quantised details. Six rows are kept: the five rows j − 2 … j + 2 that pair j
// of the step above may read, and the row made together with the last of them.
class RebuiltRows final : public QuarterRows {
 public:
  // A picture 0 values wide still gets a ring that exists: its rows are empty but never null.
  RebuiltRows(QuarterRows& coarser, const std::int16_t* details, std::size_t stride, double factor, std::uint32_t w,
              std::uint32_t h)
      : details_(details, stride, h),
        step_(coarser, details_, factor, w, h),
        w_(w),
        ring_(std::max<std::size_t>(1, kKept * std::size_t{w})) {}

  const double* Row(std::uint32_t r) override {
    for (; made_ <= r; made_ += 2) step_.RowPair(made_ / 2, Slot(made_), Slot(made_ + 1));
    return Slot(r);
  }

 private:
  static constexpr std::uint32_t kKept = 6;
  double* Slot(std::uint32_t r) { return ring_.data() + r % kKept * std::size_t{w_}; }

  PlaneDetailRows details_;
  RowPairInverseStep step_;
  std::uint32_t w_;
  std::vector<double> ring_;
  std::uint32_t made_ = 0;
};

// The levels lastLevel … 1 of one channel, each a source of rows for the next, coarsest first: the
// last is the quarter the last step reads.
class CoarserLevels {
 public:
  CoarserLevels(const ImageHeader& header, int channel, const DecodeBuffers& buffers)
      : band_(buffers.bands[channel].data(), header.width >> (header.lastLevel + 1)) {
    const std::uint32_t W = header.width;
    QuarterRows* below = &band_;
    for (int k = header.lastLevel; k >= 1; --k) {
      levels_.push_back(std::make_unique<RebuiltRows>(*below, TopHalf(header, buffers, channel), W,
                                                      buffers.factors[channel][static_cast<std::size_t>(k)], W >> k,
                                                      header.height >> k));
      below = levels_.back().get();
    }
  }
  QuarterRows& quarter() { return levels_.empty() ? static_cast<QuarterRows&>(band_) : *levels_.back(); }

 private:
  PlaneRows band_;
  std::vector<std::unique_ptr<RebuiltRows>> levels_;
};

// The last step's detail rows: the top half as decoded, the bottom half (the finest high rows) made
// from the channel's coefficient stream as the step asks for them, in a ring of the three rows the
// step's window of high rows spans.
class StreamedDetailRows final : public DetailRows {
 public:
  StreamedDetailRows(const ImageHeader& header, int channel, DecodeBuffers& buffers)
      : top_(TopHalf(header, buffers, channel)),
        coefficients_(*buffers.coefficients[channel]),
        row_(buffers.quantisedRow.get()),
        w_(header.width),
        ring_(std::max<std::size_t>(1, kKept * std::size_t{w_})) {}

  const std::int16_t* Low(std::uint32_t r) override { return top_ + r * std::size_t{w_}; }
  const std::int16_t* High(std::uint32_t r) override {
    for (; made_ <= r; ++made_) DecodeRow(coefficients_, row_, w_, Slot(made_));
    return Slot(r);
  }

 private:
  static constexpr std::uint32_t kKept = 3;
  std::int16_t* Slot(std::uint32_t r) { return ring_.data() + r % kKept * std::size_t{w_}; }

  const std::int16_t* top_;
  CoefficientStream& coefficients_;
  std::int32_t* row_;  // shared by the channels: each row is converted as soon as it is decoded
  std::uint32_t w_;
  std::vector<std::int16_t> ring_;
  std::uint32_t made_ = 0;
};

// Where the last step's row pairs go: straight into the caller's pixel buffer, or through a two-row
// buffer to a sink.
class RowPairTarget {
 public:
  virtual ~RowPairTarget() = default;
  virtual std::uint8_t* Place(std::uint32_t j) = 0;  // where output rows 2j and 2j + 1 go
  virtual void Done(std::uint32_t j) = 0;            // they are there
};

std::size_t RowBytes(const ImageHeader& header) { return header.width * std::size_t{ChannelCount(header) == 3 ? 4u : 1u}; }

class PixelBufferTarget final : public RowPairTarget {
 public:
  PixelBufferTarget(const ImageHeader& header, std::uint8_t* pixels) : pixels_(pixels), rowBytes_(RowBytes(header)) {}
  std::uint8_t* Place(std::uint32_t j) override { return pixels_ + 2 * std::size_t{j} * rowBytes_; }
  void Done(std::uint32_t) override {}

 private:
  std::uint8_t* pixels_;
  std::size_t rowBytes_;
};

class SinkTarget final : public RowPairTarget {
 public:
  SinkTarget(const ImageHeader& header, ImageRowSink& sink) : sink_(sink), rows_(2 * RowBytes(header)) {}
  std::uint8_t* Place(std::uint32_t) override { return rows_.data(); }
  void Done(std::uint32_t j) override { sink_.Rows(2 * j, 2, rows_.data()); }

 private:
  ImageRowSink& sink_;
  std::vector<std::uint8_t> rows_;
};

// The last step of every channel, row pair by row pair, into the target.
void StoreRebuiltRows(const ImageHeader& header, DecodeBuffers& buffers, RowPairTarget& target) {
  const std::uint32_t W = header.width;
  const std::uint32_t H = header.height;
  const int channels = ChannelCount(header);
  const std::size_t rowBytes = RowBytes(header);
  std::vector<std::unique_ptr<CoarserLevels>> coarser;
  std::vector<std::unique_ptr<StreamedDetailRows>> details;
  std::vector<RowPairInverseStep> steps;
  double* rows[kMaxChannels][2];
  for (int c = 0; c < channels; ++c) {
    coarser.push_back(std::make_unique<CoarserLevels>(header, c, buffers));
    details.push_back(std::make_unique<StreamedDetailRows>(header, c, buffers));
    steps.emplace_back(coarser.back()->quarter(), *details.back(), buffers.factors[c][0], W, H);
    rows[c][0] = buffers.rows.get() + 2 * std::size_t{W} * c;
    rows[c][1] = rows[c][0] + W;
  }
  for (std::uint32_t j = 0; j < H / 2; ++j) {
    for (int c = 0; c < channels; ++c) steps[c].RowPair(j, rows[c][0], rows[c][1]);
    std::uint8_t* pair = target.Place(j);
    for (int half = 0; half < 2; ++half) {
      std::uint8_t* out = pair + half * rowBytes;
      if (channels == 1) {
        StorePixels(rows[0][half], W, out);
      } else {
        StoreYuvPixels(rows[0][half], rows[1][half], rows[2][half], W, out);
      }
    }
    target.Done(j);
  }
}

// Every block of the file read: each channel's coefficients kept as int16, its approximation band
// dequantised. The transform is the caller's.
MaybeFailure ReadChannels(ByteSource& source, const ImageHeader& header, DecodeBuffers& buffers) {
  const int channels = ChannelCount(header);
  ScaleTable scales[kMaxChannels]{};
  for (int channel = 0; channel < channels; ++channel) {
    if (MaybeFailure failure = ReadScaleTable(source, header.lastLevel, scales[channel])) return failure;
  }
  for (int channel = 0; channel < channels; ++channel) {
    if (MaybeFailure failure = DecodeChannel(source, header, channel, scales[channel], buffers)) return failure;
    DequantiseApproximation(header, channel, buffers);
  }
  return std::nullopt;
}

// A new pixel buffer of megabytes is zero-filled by resize, one page fault per 4 KiB page; reserving it
// first lets its whole huge pages be offered before the first write.
void SizePixelBuffer(std::vector<std::uint8_t>& pixels, std::size_t bytes) {
  if (pixels.capacity() < bytes) {
    std::vector<std::uint8_t> fresh;
    fresh.reserve(bytes);
    OfferHugePages(fresh.data(), bytes);
    fresh.assign(pixels.begin(), pixels.end());
    pixels.swap(fresh);
  }
  pixels.resize(bytes);
}

ImageLoadResult Refusal(std::string problem) { return {ImageLoadStatus::Refused, std::move(problem), std::nullopt}; }

ImageLoadResult Unreadable(const Failure& failure) { return {ImageLoadStatus::Unreadable, failure.Text(), failure}; }

// `fixedPixels`, where the caller gives a buffer of its own, must hold the whole picture.
std::optional<ImageLoadResult> CheckBeforeDecoding(ByteSource& source, const ImageHeader& header,
                                                   const std::vector<std::uint8_t>* fixedPixels) {
  if (ChannelCount(header) == 0) {
    return ImageLoadResult{ImageLoadStatus::NoPicture,
                           "bitsPerPixel " + std::to_string(header.bitsPerPixel) + " is neither 8 nor 24", std::nullopt};
  }
  std::string problem = ImageHeaderProblem(header);
  if (!problem.empty()) return Refusal(std::move(problem));
  if (fixedPixels && fixedPixels->size() < PixelBufferBytes(header)) {
    return Refusal("the pixel buffer is smaller than the picture");
  }
  // A file too short for the blocks its header announces would end before a block is complete: report
  // that now, before allocating for a picture that cannot be read.
  const std::optional<std::uint64_t> remaining = source.Remaining();
  if (remaining && *remaining < ExpectedFileSize(header) - kImageHeaderSize) {
    return Unreadable(Failure::Io(IoErrorCode::ReadPastEnd, source.name()));
  }
  return std::nullopt;
}

// Reads and checks the header, then hands the allocated working memory to `decode`, which reads the
// rest of the file and delivers the picture, or returns the failure that stopped it before it wrote a
// pixel.
template <class Decode>
ImageLoadResult Load(ByteSource& source, ImageHeader& header, const std::vector<std::uint8_t>* fixedPixels,
                     Decode decode) {
  ImageHeaderBytes bytes{};
  if (MaybeFailure failure = source.Read(bytes.data(), bytes.size())) return Unreadable(*failure);
  header = ParseImageHeader(bytes);
  if (std::optional<ImageLoadResult> refusal = CheckBeforeDecoding(source, header, fixedPixels)) {
    return *refusal;
  }
  try {
    DecodeBuffers buffers;
    AllocateBuffers(header, buffers);
    if (MaybeFailure failure = decode(buffers)) return Unreadable(*failure);
  } catch (const std::bad_alloc&) {
    return Refusal("the working memory for a " + std::to_string(header.width) + " x " +
                   std::to_string(header.height) + " picture cannot be allocated");
  }
  return {ImageLoadStatus::Decoded, "", std::nullopt};
}

ImageLoadResult LoadPixels(ByteSource& source, std::vector<std::uint8_t>& pixels, ImageHeader& header, bool allocate) {
  return Load(source, header, allocate ? nullptr : &pixels, [&](DecodeBuffers& buffers) -> MaybeFailure {
    if (MaybeFailure failure = ReadChannels(source, header, buffers)) return failure;
    if (allocate) SizePixelBuffer(pixels, PixelBufferBytes(header));
    PixelBufferTarget target(header, pixels.data());
    StoreRebuiltRows(header, buffers, target);
    return std::nullopt;
  });
}

}  // namespace

std::uint64_t PixelBufferBytes(const ImageHeader& header) {
  const std::uint64_t pixels = std::uint64_t{header.width} * header.height;
  if (header.bitsPerPixel == 8) return pixels;
  if (header.bitsPerPixel == 24) return 4 * pixels;
  return 0;
}

ImageLoadResult LoadImageFile(std::vector<std::uint8_t>& pixels, ImageHeader& header, std::string_view fileName,
                              bool allocate) {
  FileSource source(fileName.substr(0, kMaxImageFileName));
  if (MaybeFailure failure = source.Open()) return Unreadable(*failure);
  return LoadPixels(source, pixels, header, allocate);
}

ImageLoadResult LoadImageFile(std::vector<std::uint8_t>& pixels, ImageHeader& header, std::istream& stream,
                              bool allocate, std::string_view streamName) {
  StreamSource source(stream, streamName);
  return LoadPixels(source, pixels, header, allocate);
}

ImageLoadResult LoadImageRows(ImageRowSink& sink, ImageHeader& header, std::string_view fileName) {
  FileSource source(fileName.substr(0, kMaxImageFileName));
  if (MaybeFailure failure = source.Open()) return Unreadable(*failure);
  return Load(source, header, nullptr, [&](DecodeBuffers& buffers) -> MaybeFailure {
    if (MaybeFailure failure = ReadChannels(source, header, buffers)) return failure;
    SinkTarget target(header, sink);
    sink.Begin(header);
    StoreRebuiltRows(header, buffers, target);
    return std::nullopt;
  });
}
