// Keyed reads and writes of single values in INI files, optionally enciphered with the name of
// the value's section as key. Every profile value the wizard writes goes through WriteINI.
#pragma once

#include <string>
#include <string_view>

namespace rg {

// At most 254 characters; the fallback when the key, section or file is absent. Never raises.
std::string ReadINI(std::string_view section, std::string_view key, std::string_view fallback,
                    std::string_view filePath, bool decipher);

// Removes the leading spaces, enciphers when asked, and writes. Raises RunError when the stored
// text could not be read back unchanged (see CanStoreINIValue); then nothing is written.
bool WriteINI(std::string_view section, std::string_view key, std::string_view value,
              std::string_view filePath, bool encipher);

// Whether WriteINI(section, key, value, file, encipher) would store a text that ReadINI gives
// back unchanged: after the leading spaces are removed and the value enciphered, the stored text
// holds no CR, LF or NUL, neither starts nor ends with a character that reading trims
// (0x09-0x0D, 0x1A, space), and is not wrapped in one matching pair of quotes. The section name
// itself must pass CanStoreSectionName (a "]" inside is fine, as a header's name runs to the
// last "]" of its line). Pages use it to refuse such input before anything is written.
bool CanStoreINIValue(std::string_view section, std::string_view value, bool encipher);

// Whether the text can name a section that reads back as itself: not empty (a nameless section
// would be the lines before the first header, where a second one would overwrite the first), no
// CR, LF or NUL, no blank at either end (reading trims them).
bool CanStoreSectionName(std::string_view section);

}  // namespace rg
