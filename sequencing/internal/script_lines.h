// Reading the script line by line with the text-file rules of the platform the demo came from.
//
// A line ends at LF; a CR right before the LF belongs to the line end (so CR LF and LF files read the
// same). A line keeps its first 255 characters and the rest of it is skipped. The end of the file is
// tested after each line, so an empty file reads as one empty line and a file that ends with a line
// end has no empty line after it. Memory stays constant whatever the file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::size_t kScriptLineLength = 255;

// Where the bytes come from: a file or a text in memory.
class ScriptSource {
 public:
  virtual ~ScriptSource() = default;
  // Up to `size` bytes into `destination`; 0 at the end, and after a device failure (then Failed()).
  virtual std::size_t Read(char* destination, std::size_t size) = 0;
  virtual bool Failed() const { return false; }
};

class ScriptLineReader {
 public:
  explicit ScriptLineReader(ScriptSource& source) : source_(source) {}

  // The next line into `line`; false once the end of the file has been reached after a line. After a
  // device failure (source.Failed()) the line is incomplete and must not be used.
  bool Next(std::string& line);

 private:
  bool AtEnd();

  ScriptSource& source_;
  char buffer_[65536];
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool started_ = false;
};
