// Case-insensitive, accent-aware ordering and lower-casing of code page 1252 texts, as a user
// of a Western European Windows system expects them in sorted lists: letters with and without
// accents sort together ("e" < "é" < "f"), case never decides before everything else is equal.
#pragma once

#include <string>
#include <string_view>

namespace rg::platform {

// The lower-case letter of a code page 1252 byte (A-Z, À-Þ except ×, Š, Œ, Ž, Ÿ); other bytes
// are returned unchanged.
char LowerCp1252(char c);
std::string LowerCp1252(std::string_view text);

// Compares two code page 1252 texts for sorting: < 0, 0 or > 0. First by letters without
// accents and case (ß as "ss", æ as "ae", œ as "oe"), then by accents, then by case, and last
// byte by byte, so that only equal texts compare equal.
int CollateCp1252(std::string_view a, std::string_view b);

}  // namespace rg::platform
