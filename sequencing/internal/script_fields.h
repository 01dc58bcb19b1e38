// The two ways the script loader takes a line apart: blank-separated fields and integers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The blank (code 32) is the only separator; a tab belongs to the field it stands in.
inline constexpr char kScriptBlank = ' ';

// The text of `rest` before its first blank; `rest` loses everything up to and including that blank.
// Without a blank in `rest` the field is empty and `rest` stays as it was, so the last field of a line
// is only read when a blank follows it.
std::string_view NextWord(std::string_view& rest);

// The runtime's integer conversion: optional leading blanks, an optional sign, one or more decimal
// digits and nothing after them, within the signed 32-bit range. Anything else gives no value.
std::optional<std::int32_t> ParseScriptInteger(std::string_view text);
