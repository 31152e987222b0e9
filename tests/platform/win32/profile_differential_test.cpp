// The project's own profile engine against the real Windows profile API: the same random
// sequences of writes through both, into files that start missing, must give the same bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/ini/profile_api.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

namespace rg::test {
namespace {

// One write call: section, key (nothing: the section goes), value (nothing: the key goes).
struct Call {
    enum class Kind { String, Section } kind = Kind::String;
    std::string section;
    std::optional<std::string> key;
    std::optional<std::string> value;
    std::optional<std::string> entries;  // Section: "k=v\0k=v\0" or nothing (the section goes)
};

class CallMaker {
  public:
    explicit CallMaker(unsigned seed) : random_(seed) {}

    Call Next() {
        Call call;
        call.section = Pick({"Main", "Program One", "b", "MAIN", "svchost.exe"});
        const int what = Roll(20);
        if (what < 2) {
            call.kind = Call::Kind::Section;
            if (Roll(4) != 0) {
                std::string list;
                for (int i = Roll(4); i > 0; --i) {
                    list += Pick({"k", "Key2", "path", "x"}) + "=" + Value() + std::string(1, '\0');
                }
                call.entries = list;
            }
            return call;
        }
        if (what == 2) {
            return call;  // the whole section goes
        }
        call.key = Pick({"k", "Key2", "path", "KEY2", "Version", "x"});
        if (what > 3) {
            call.value = Value();
        }
        return call;
    }

  private:
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
        std::string value;
        for (int i = Roll(12); i > 0; --i) {
            value +=
                kCharacters[static_cast<std::size_t>(Roll(static_cast<int>(kCharacters.size())))];
        }
        while (!value.empty() && value.back() == ' ') {
            value.pop_back();
        }
        return value;
    }

    std::mt19937 random_;
};

const char* OrNull(const std::optional<std::string>& text) {
    return text ? text->c_str() : nullptr;
}

void ThroughWindows(const Call& call, const std::string& file) {
    if (call.kind == Call::Kind::Section) {
        std::string list = call.entries.value_or("");
        list.push_back('\0');
        ::WritePrivateProfileSectionA(call.section.c_str(), call.entries ? list.data() : nullptr,
                                      file.c_str());
        return;
    }
    ::WritePrivateProfileStringA(call.section.c_str(), OrNull(call.key), OrNull(call.value),
                                 file.c_str());
}

void ThroughOwnEngine(const Call& call, const std::string& file) {
    if (call.kind == Call::Kind::Section) {
        std::string list = call.entries.value_or("");
        list.push_back('\0');
        platform::WritePrivateProfileSectionA(
            call.section, call.entries ? platform::OptText(list) : std::nullopt, file);
        return;
    }
    platform::WritePrivateProfileStringA(
        call.section, call.key ? platform::OptText(*call.key) : std::nullopt,
        call.value ? platform::OptText(*call.value) : std::nullopt, file);
}

TEST(ProfileDifferential, OwnEngineWritesTheBytesOfTheProfileApi) {
    TempFolder folder("rg-profiles");
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::string theirs = folder / ("windows" + std::to_string(seed) + ".ini");
        const std::string ours = folder / ("own" + std::to_string(seed) + ".ini");
        CallMaker maker(seed);
        for (int step = 0; step < 40; ++step) {
            const Call call = maker.Next();
            ThroughWindows(call, theirs);
            ThroughOwnEngine(call, ours);
        }
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());  // flush
        ASSERT_NE(platform::FlushPrivateProfiles(), 0);
        EXPECT_EQ(TempFolder::ReadFile(ours), TempFolder::ReadFile(theirs));
    }
}

}  // namespace
}  // namespace rg::test
