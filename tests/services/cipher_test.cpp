#include "services/cipher.h"

#include <gtest/gtest.h>

#include <string>

#include "services/run_error.h"

namespace rg::test {
namespace {

// The first text character takes the key's second character; codes wrap at 256. Texts of more
// than 32767 characters overflow, unless the key is empty (which never enciphers).
TEST(Cipher, ShiftsByTheKeyFromItsSecondCharacterAndOverflowsPast32767) {
    EXPECT_EQ(EncryptText(std::string(7, '\0'), "ABC"), "BCABCAB");
    EXPECT_EQ(EncryptText("\xC8", "ab"), "\x2A");  // 200 + 98 wraps to 42
    EXPECT_EQ(DecryptText("\x2A", "ab"), "\xC8");
    EXPECT_EQ(DecryptText("plain", ""), "plain");
    const std::string longest(32767, 'x');
    EXPECT_EQ(DecryptText(EncryptText(longest, "k"), "k"), longest);
    EXPECT_THROW(EncryptText(longest + "x", "k"), RunError);
    EXPECT_THROW(DecryptText(longest + "x", "k"), RunError);
    EXPECT_EQ(EncryptText(longest + "x", "").size(), 32768u);
}

}  // namespace
}  // namespace rg::test
