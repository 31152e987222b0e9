// The project's own profile engine against the real Windows profile API: the same random
// sequences of writes through both, into files that start missing, must give the same bytes, and
// every read of the result, into buffers of every small size, the same answer.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/ini/profile_api.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

namespace rg::test {
namespace {

using Text = std::optional<std::string>;

const std::initializer_list<const char*> kSections = {"Main", "Program One", "b", "MAIN",
                                                      "svchost.exe"};
const std::initializer_list<const char*> kKeys = {"k", "Key2", "path", "KEY2", "Version", "x"};

class Random {
  public:
    explicit Random(unsigned seed) : random_(seed) {}

    int Roll(int faces) { return std::uniform_int_distribution<int>(0, faces - 1)(random_); }
    std::string Pick(std::initializer_list<const char*> choices) {
        return *(choices.begin() + Roll(static_cast<int>(choices.size())));
    }
    // Printable code page 1252 text with spaces at its start and inside, quotes now and then.
    // None ends in a space: Wine rewrites the whole file on every write and so trims a value's
    // trailing blanks that Windows, which edits the file in place, keeps (the engine does as
    // Windows does); the values the wizard writes never end in a blank.
    std::string Value() {
        static const std::string kCharacters =
            "abcXYZ019 ,.;:\"'\\/()[]{}#%&*+-<>?@^_`|~\xE9\xFC\x80\xA0";
        std::string value = Roll(3) == 0 ? "\"" : "";
        for (int i = Roll(12); i > 0; --i) {
            value +=
                kCharacters[static_cast<std::size_t>(Roll(static_cast<int>(kCharacters.size())))];
        }
        value += Roll(3) == 0 ? "\"" : "";
        while (!value.empty() && value.back() == ' ') {
            value.pop_back();
        }
        return value;
    }

  private:
    std::mt19937 random_;
};

const char* OrNull(const Text& text) {
    return text ? text->c_str() : nullptr;
}

platform::OptText Opt(const Text& text) {
    return text ? platform::OptText(*text) : std::nullopt;
}

// One random write through both: a section list ("k=v\0k=v\0\0", or nothing: the section goes),
// or a key (nothing: the section goes) and a value (nothing: the key goes).
void WriteBoth(Random& random, const std::string& theirs, const std::string& ours) {
    const std::string section = random.Pick(kSections);
    const int what = random.Roll(20);
    if (what < 2) {
        Text list;
        if (random.Roll(4) != 0) {
            list = "";
            for (int i = random.Roll(4); i > 0; --i) {
                *list += random.Pick(kKeys) + "=" + random.Value() + '\0';
            }
            *list += '\0';
        }
        ::WritePrivateProfileSectionA(section.c_str(), OrNull(list), theirs.c_str());
        platform::WritePrivateProfileSectionA(section, Opt(list), ours);
        return;
    }
    const Text key = what > 2 ? Text(random.Pick(kKeys)) : std::nullopt;
    const Text value = what > 3 ? Text(random.Value()) : std::nullopt;
    ::WritePrivateProfileStringA(section.c_str(), OrNull(key), OrNull(value), theirs.c_str());
    platform::WritePrivateProfileStringA(section, Opt(key), Opt(value), ours);
}

// One read into a buffer of `size` (a value, a key list with no key, the section names with no
// section), through Windows or through the engine: the count, then the buffer up to the byte
// after it ('~': a byte left alone).
std::string Read(bool windows, const Text& section, const Text& key, const Text& fallback,
                 DWORD size, const std::string& file) {
    std::string buffer(size, '~');
    const DWORD count =
        windows ? ::GetPrivateProfileStringA(OrNull(section), OrNull(key), OrNull(fallback),
                                             buffer.data(), size, file.c_str())
                : platform::GetPrivateProfileStringA(Opt(section), Opt(key), Opt(fallback),
                                                     buffer.data(), size, file);
    return std::to_string(count) + ":" + buffer.substr(0, std::min<std::size_t>(count + 1, size));
}

TEST(ProfileDifferential, OwnEngineWritesAndReadsLikeTheProfileApi) {
    TempFolder folder("rg-profiles");
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::string theirs = folder / ("windows" + std::to_string(seed) + ".ini");
        const std::string ours = folder / ("own" + std::to_string(seed) + ".ini");
        Random random(seed);
        for (int step = 0; step < 40; ++step) {
            WriteBoth(random, theirs, ours);
        }
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());  // flush
        ASSERT_NE(platform::FlushPrivateProfiles(), 0);
        EXPECT_EQ(TempFolder::ReadFile(ours), TempFolder::ReadFile(theirs));
        for (const Text& section : {Text(), Text("Main"), Text("Program One"), Text("b")}) {
            for (const Text& key : {Text(), Text("k"), Text("KEY2"), Text("path"), Text("x")}) {
                const auto size = static_cast<DWORD>(1 + random.Roll(16));
                // Windows trims and unquotes the default of a value; of a key list, the engine
                // does so too, which Wine does not: such a default is left out of the comparison.
                const char* fallbackText = key ? " \"dflt\"  " : "dflt";
                const Text fallback = random.Roll(2) != 0 ? Text(fallbackText) : std::nullopt;
                EXPECT_EQ(Read(false, section, key, fallback, size, ours),
                          Read(true, section, key, fallback, size, theirs))
                    << section.value_or("NULL") << "/" << key.value_or("NULL") << " in " << size;
            }
        }
    }
}

}  // namespace
}  // namespace rg::test
