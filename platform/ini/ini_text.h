// The character rules of profile files: which bytes count as blanks that reading trims, and
// the ASCII-only case folding under which section and key names match.
#pragma once

#include <string>
#include <string_view>

namespace rg::platform {

// 0x09-0x0D, 0x1A (^Z) and the space: the bytes trimmed from both ends of every line, name
// and value when a profile file is read.
bool IsProfileBlank(char c);

std::string_view TrimProfileBlanks(std::string_view text);
std::string_view TrimLeadingProfileBlanks(std::string_view text);

// Only A-Z and a-z fold: the profile API does not fold accented letters.
char FoldAscii(char c);
std::string FoldAscii(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Whether the text holds a byte that would end a line (CR, LF) or a C string (NUL).
bool HoldsLineBreakOrNul(std::string_view text);

// The position of the first CR or LF at or after `from`, or npos.
std::size_t FindLineEnd(std::string_view text, std::size_t from);

}  // namespace rg::platform
