// Code page 1252, the single-byte code page in which every text of the core is held.
// Conversions to other encodings happen only at the edges: the Qt boundary (UTF-16) and the
// version resources of program files (UTF-16 with Windows' best-fit mapping).
#pragma once

#include <string>
#include <string_view>

namespace rg::platform {

// Appends the UTF-8 form of one code point (surrogate code points too, as generalised UTF-8).
void AppendUtf8(std::string& out, char32_t c);

// Every byte maps to one UTF-16 unit; 0x81, 0x8D, 0x8F, 0x90 and 0x9D map to U+0081 etc.
char16_t Cp1252ToUnicode(unsigned char byte);
std::u16string Cp1252ToUtf16(std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);

// Exact conversion: false when a unit has no code page 1252 byte (out is then unspecified).
bool Utf16ToCp1252Exact(std::u16string_view text, std::string& out);
bool Utf8ToCp1252Exact(std::string_view utf8, std::string& out);
// As the Windows ANSI calls show a name: one "?" for every character the code page lacks (and
// for every byte that is no valid UTF-8).
std::string Utf8ToCp1252Lossy(std::string_view utf8);

// Windows' ANSI conversion with best fit: a similar character where the best-fit table names
// one, '?' otherwise (each half of a surrogate pair included).
std::string Utf16ToCp1252BestFit(std::u16string_view text);

}  // namespace rg::platform
