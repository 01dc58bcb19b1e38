#include "sequencing/internal/script_lines.h"

bool ScriptLineReader::AtEnd() {
  if (position_ < filled_) return false;
  position_ = 0;
  filled_ = source_.Read(buffer_, sizeof buffer_);
  return filled_ == 0;
}

bool ScriptLineReader::Next(std::string& line) {
  if (started_ && AtEnd()) return false;
  started_ = true;
  line.clear();

  // One character more than a line keeps, so that a CR right before the LF of a 255-character line
  // can still be told apart from a 256th character.
  constexpr std::size_t kKept = kScriptLineLength + 1;
  std::size_t rawLength = 0;
  bool endedByLineFeed = false;
  while (!AtEnd()) {
    const char c = buffer_[position_++];
    if (c == '\n') {
      endedByLineFeed = true;
      break;
    }
    if (rawLength < kKept) line.push_back(c);
    ++rawLength;
  }
  if (endedByLineFeed && rawLength <= kKept && !line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kScriptLineLength) line.resize(kScriptLineLength);
  return true;
}
