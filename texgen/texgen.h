// texgen: the procedural texture generator. It builds RGB pictures from programs of image
// operations: noise, plasma, fractals, combiners, colour changes, filters and distortions.
//
// Pure: no GL, no window, no output. It never prints and never ends the process; every refusal
// comes back as a TexgenStatus whose message says what was refused and where: the file, the list
// and slot, the layer, the size, and for the runtime's I/O errors their code and reason
// ("I/O error 2 (file not found): rocks.prg"). The text compiler names the line instead.
//
// Layers
//   The generator works on six layers of one size, 3 bytes per pixel (red, green, blue), rows top
//   first. Layer 5 is the scratch layer that operations stage through, so a source may also be the
//   target. Both sizes are powers of two from 2 to kMaxLayerSize: every coordinate wraps with an
//   AND mask, so pictures tile. There is one set of layers per process (not thread-safe).
//
// Programs
//   Five lists of up to 100 operations; an operation is a code with ten single-precision
//   parameters. Running a program runs list 0 to list 4, each from slot 0 to count - 1; a code
//   without an operation is skipped. The picture is layer 4, one 0x00RRGGBB value per pixel (bytes
//   blue, green, red, 0 in memory), rows top first. Counts outside 0 to 100 and layer arguments
//   outside 0 to 5 are refused before anything runs.
//
// The program file: exactly 22020 bytes, all little-endian, no header, magic or checksum.
//   for each list L = 0 to 4, at offset 4404 x L:
//     +0      4 bytes   count, signed 32-bit
//     +4    400 bytes   100 codes, signed 32-bit
//     +404 4000 bytes   100 parameter blocks of ten IEEE single-precision values
//   Slots beyond the count are carried through unchanged; bytes after 22020 are ignored.
//
// The text form
//   One call per line, as ExportOp writes it: "blurLayer(1,2);" (the ";" may be left out). A line
//   "list N" (N 0 to 4) switches the list that the following calls append to (list 0 until the
//   first such line); "#" starts a comment to the end of the line; blank lines are skipped.
//   Integer arguments are written as whole numbers, reals with "." and up to 15 significant digits
//   whatever the locale, flags as true or false.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline constexpr int kListCount = 5;
inline constexpr int kListSlots = 100;
inline constexpr int kParamCount = 10;
inline constexpr std::size_t kListFileBytes = 4 + kListSlots * 4 + kListSlots * kParamCount * 4;
inline constexpr std::size_t kProgramFileBytes = kListCount * kListFileBytes;
// Largest accepted width or height: six layers of 4096 x 4096 already take 288 MiB.
inline constexpr std::int32_t kMaxLayerSize = 4096;

using OpParams = std::array<float, kParamCount>;

struct OpList {
  std::int32_t count = 0;
  std::array<std::int32_t, kListSlots> codes{};
  std::array<OpParams, kListSlots> params{};
};

using TexgenProgram = std::array<OpList, kListCount>;

// Success, or a message saying what was refused and where.
struct TexgenStatus {
  std::string error;  // empty on success

  static TexgenStatus Ok() { return {}; }
  static TexgenStatus Fail(std::string message) { return TexgenStatus{std::move(message)}; }
  bool ok() const { return error.empty(); }
};

// ---- Program files ----

// Reads the first 22020 bytes of the file; a missing or shorter file is an I/O error.
TexgenStatus ReadProgramFile(const std::string& path, TexgenProgram& program);
TexgenStatus WriteProgramFile(const std::string& path, const TexgenProgram& program);
// The 22020 bytes of the file.
std::vector<std::uint8_t> EncodeProgram(const TexgenProgram& program);
// Refuses the first list whose count lies outside 0 to 100 ("list 2: count 101 is outside ...").
TexgenStatus CheckListCounts(const TexgenProgram& program);

// ---- Running programs ----

// Runs the program file and leaves layer 4 in `pixels`. With `allocate` the buffer is resized to
// width x height; without it, it must hold that many. Nothing runs and `pixels` is untouched when
// the file, the program or the size is refused; the message starts with the file's name.
TexgenStatus LoadAndRun(std::vector<std::uint32_t>& pixels, const std::string& fileName,
                        std::int32_t width, std::int32_t height, bool allocate);
// The same for a program file already in memory (its first 22020 bytes).
TexgenStatus LoadAndRunBytes(std::vector<std::uint32_t>& pixels, const std::uint8_t* bytes,
                             std::size_t size, std::int32_t width, std::int32_t height,
                             bool allocate);
// The same for a program in memory.
TexgenStatus RunProgram(std::vector<std::uint32_t>& pixels, const TexgenProgram& program,
                        std::int32_t width, std::int32_t height, bool allocate);

// ---- One operation at a time ----

// (Re)allocates the six layers, empties the five lists and blackens layers 0 to 4 (layer 5 keeps
// what it held when the size is unchanged). Refuses a size that is not a power of two from 2 to
// kMaxLayerSize.
TexgenStatus InitLayers(std::int32_t width, std::int32_t height);
void FreeLayers();
// Runs one operation on the layers. A code without an operation does nothing; a layer argument
// outside 0 to 5, or layers that are not allocated, is refused and nothing runs.
TexgenStatus RunOp(std::int32_t code, const OpParams& params);

// ---- The text form ----

// The call text of one operation, e.g. "blurLayer(1,2);"; a code without an operation gives " ".
std::string ExportOp(std::int32_t code, const OpParams& params);
// The whole program: for each list a line "list N", then one line per operation in use; a slot
// whose code has no operation becomes a comment line.
std::string ExportProgram(const TexgenProgram& program);

struct TexgenCompileResult {
  bool ok = true;
  int line = 0;         // 1-based line of the first error
  std::string message;  // what is wrong on that line
};

// Builds the five lists from the text form. Calls are stored in the order given, without running;
// unused slots and parameters are 0. Layer arguments outside 0 to 5 and a mandelBrot bailout
// other than 16 are errors.
TexgenCompileResult CompileProgramText(std::string_view text, TexgenProgram& program);
