// The keyed character cipher that hides the password store and every profile value: each
// character's code is shifted by the code of one key character, cycling through the key.
#pragma once

#include <string>
#include <string_view>

namespace rg {

// Same length as the text; an empty key leaves the text unchanged. A text of more than
// 32767 characters raises RunError 6 "Overflow".
std::string EncryptText(std::string_view text, std::string_view key);
std::string DecryptText(std::string_view text, std::string_view key);

}  // namespace rg
