#include "services/cipher.h"

#include <gtest/gtest.h>

#include <string>

#include "services/run_error.h"

namespace rg {
namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string text;
    for (int code : codes) {
        text += static_cast<char>(code);
    }
    return text;
}

TEST(CipherTest, KeyCyclesFromItsSecondCharacter) {
    // Key "ABC" (65, 66, 67): positions 1..7 use B C A B C A B.
    const std::string enciphered = EncryptText(std::string(7, '\0'), "ABC");
    EXPECT_EQ(enciphered, "BCABCAB");
}

TEST(CipherTest, OneCharacterKeyUsesThatCharacterEverywhere) {
    EXPECT_EQ(EncryptText(Bytes({0, 1, 2}), "a"), Bytes({97, 98, 99}));
}

TEST(CipherTest, SumsAndDifferencesWrapModulo256) {
    // 200 + 'b' (98) = 298 -> 42; deciphering 42 - 98 = -56 -> 200.
    EXPECT_EQ(EncryptText(Bytes({200}), "ab"), Bytes({42}));
    EXPECT_EQ(DecryptText(Bytes({42}), "ab"), Bytes({200}));
}

TEST(CipherTest, EmptyKeyAndEmptyTextPassUnchanged) {
    EXPECT_EQ(EncryptText("plain", ""), "plain");
    EXPECT_EQ(DecryptText("plain", ""), "plain");
    EXPECT_EQ(EncryptText("", "key"), "");
}

TEST(CipherTest, EveryByteRoundTripsUnderAnyKeyLength) {
    std::string all;
    for (int code = 0; code < 256; ++code) {
        all += static_cast<char>(code);
    }
    for (const char* key : {"k", "MQV 1994", "Main", "\xff\x01"}) {
        const std::string enciphered = EncryptText(all, key);
        EXPECT_EQ(enciphered.size(), all.size());
        EXPECT_EQ(DecryptText(enciphered, key), all) << key;
    }
}

TEST(CipherTest, PrintableTextAndKeyGivePrintableSafeCodes) {
    // 32..126 plus 32..126 stays within 64..252: no control character, space or line break.
    std::string printable;
    for (int code = 32; code <= 126; ++code) {
        printable += static_cast<char>(code);
    }
    for (const char* key : {" ", "~", "MQV 1994"}) {
        for (const char c : EncryptText(printable, key)) {
            const auto code = static_cast<unsigned char>(c);
            EXPECT_GE(code, 64);
            EXPECT_LE(code, 252);
        }
    }
}

TEST(CipherTest, PieceAfterWholeKeyLengthsDeciphersAlone) {
    const std::string key = "MQV 1994";
    const std::string text = "Ravelgard is a firewall. secret";
    const std::string enciphered = EncryptText(text, key);
    EXPECT_EQ(DecryptText(enciphered.substr(24), key), text.substr(24));
    EXPECT_NE(DecryptText(enciphered.substr(25), key), text.substr(25));
}

TEST(CipherTest, OverflowAbove32767Characters) {
    const std::string longest(32767, 'x');
    EXPECT_EQ(DecryptText(EncryptText(longest, "k"), "k"), longest);
    try {
        EncryptText(std::string(32768, 'x'), "k");
        FAIL() << "no overflow raised";
    } catch (const RunError& error) {
        EXPECT_EQ(error.number(), 6);
        EXPECT_EQ(error.description(), "Overflow");
    }
    EXPECT_THROW(DecryptText(std::string(32768, 'x'), "k"), RunError);
    // An empty key never enciphers, so it never overflows.
    EXPECT_EQ(EncryptText(std::string(40000, 'x'), "").size(), 40000u);
}

}  // namespace
}  // namespace rg
