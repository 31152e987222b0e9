#include "services/cipher.h"

#include "services/run_error.h"

namespace rg {
namespace {

constexpr std::size_t kMaxTextLength = 32767;  // the position counter is a signed 16-bit integer

// Position i (1-based) uses key character (i mod keyLength) + 1, so the first text character
// takes the key's second character and the key's first character falls on multiples of its
// length. In 0-based terms: key index (i % keyLength) for text index i - 1.
template <typename Shift>
std::string Transform(std::string_view text, std::string_view key, Shift shift) {
    if (key.empty()) {
        return std::string(text);
    }
    if (text.size() > kMaxTextLength) {
        throw RunError::Overflow();
    }
    std::string result(text.size(), '\0');
    for (std::size_t i = 1; i <= text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i - 1]);
        const auto k = static_cast<unsigned char>(key[i % key.size()]);
        result[i - 1] = static_cast<char>(static_cast<unsigned char>(shift(c, k)));
    }
    return result;
}

}  // namespace

std::string EncryptText(std::string_view text, std::string_view key) {
    return Transform(text, key, [](unsigned c, unsigned k) { return (c + k) & 0xFFu; });
}

std::string DecryptText(std::string_view text, std::string_view key) {
    return Transform(text, key, [](unsigned c, unsigned k) { return (c - k) & 0xFFu; });
}

}  // namespace rg
