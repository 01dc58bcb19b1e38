#include "sequencing/internal/script_fields.h"

#include <limits>

std::string_view NextWord(std::string_view& rest) {
  const std::size_t blank = rest.find(kScriptBlank);
  if (blank == std::string_view::npos) return {};
  const std::string_view field = rest.substr(0, blank);
  rest.remove_prefix(blank + 1);
  return field;
}

std::optional<std::int32_t> ParseScriptInteger(std::string_view text) {
  std::size_t at = text.find_first_not_of(kScriptBlank);
  if (at == std::string_view::npos) return std::nullopt;
  const bool negative = text[at] == '-';
  if (text[at] == '+' || text[at] == '-') ++at;
  if (at == text.size()) return std::nullopt;

  // Accumulated as a magnitude in 64 bits and stopped as soon as it leaves the 32-bit range, so a
  // field of any length cannot overflow.
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}
