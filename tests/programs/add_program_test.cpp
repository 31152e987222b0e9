// Adding a program: the dialog, the new row, the duplicate check by display name, and the refusal
// of a program whose profile entry could not be stored, with the reason.
#include "resources/default_program_icon.h"
#include "tests/programs/program_list_fixture.h"
#include "tests/support/pe_builder.h"

namespace rg::test {
namespace {

using AddProgram = ProgramListTest;

TEST_F(AddProgram, AddsTheChosenFileAllowedBothWaysUnlessTheDialogIsCancelled) {
    const std::string tool = FixturePath("full");  // display name "Sample Tool"
    const std::string missing = install.root() + "/gone/Missing.exe";
    Add(tool);
    screen.AnswerNextFileDialog(std::nullopt);
    ASSERT_TRUE(form.Click(form.Get("cmdAdd")));
    Add("");  // an empty file name counts as a cancel
    Add(missing);
    screen.AnswerNextFileDialog(std::nullopt);
    EXPECT_EQ(ShowAddProgramDialog(form, "filter"), "NIL");

    EXPECT_EQ(Names(), (std::vector<std::string>{"Sample Tool", "Missing.exe"}));
    for (std::size_t i = 0; i < 2; ++i) {
        const platform::ListRow& row = rows().rows()[i];
        const std::string& path = i == 0 ? tool : missing;
        EXPECT_EQ(row.key + row.tag + row.iconKey, path + path + path);
        EXPECT_EQ(row.subItems, (std::vector<std::string>{"Allow", "Allow"}));
    }
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    ASSERT_NE(rows().IconOf(1), nullptr);
    EXPECT_EQ(rows().IconOf(1)->argb, DefaultProgramIcon16().argb);
    EXPECT_EQ(programs->images().count(), 2u);
    EXPECT_TRUE(screen.boxes().empty());
}

// Accented names are listed directly: whether a path enciphered with such a name can be stored
// depends on the bytes of the throw-away folder's random name.
TEST_F(AddProgram, SkipsAProgramWhoseNameIsListedInAnyLetterCase) {
    for (const char* name : {"one.exe", "\xC9T\xC9.exe"}) {
        platform::ListRow row;
        row.key = row.text = row.tag = name;
        lvw().list().Add(row);
    }
    EXPECT_EQ(FindProgramByName(lvw(), "ONE.EXE"), 1);
    EXPECT_EQ(FindProgramByName(lvw(), "\xE9t\xE9.exe"), 2);
    EXPECT_EQ(FindProgramByName(lvw(), "one"), 0);
    Add(MakeFile("One.exe"));
    Add(MakeFile("\xE9t\xC9.EXE"));
    EXPECT_EQ(rows().count() + programs->images().count(), 2u);
    EXPECT_TRUE(screen.boxes().empty());
}

TEST_F(AddProgram, RefusesWithAMessageAProgramWhoseEntryCouldNotBeStored) {
    const std::string path = MakeFile(" odd.exe");  // reading would trim the section's blank
    screen.AnswerNextBox(platform::IDOK);
    Add(path);
    EXPECT_EQ(rows().count() + programs->images().count(), 0u);
    ASSERT_EQ(screen.boxes().size(), 1u);
    EXPECT_EQ(screen.boxes()[0].text,
              "This program cannot be added to the list: its name \" odd.exe\" is empty or starts "
              "or ends with a space, and cannot name its entry in the program settings.\r\n\r\n" +
                  path);
    EXPECT_EQ(screen.boxes()[0].title, "Ravelgard Startup Wizard");
    EXPECT_EQ(screen.boxes()[0].style, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

// Each reason in the order the checks are made; "" where the entry can be stored.
TEST(WhyProgramCannotBeStored, NamesTheFirstValueThatWouldNotReadBackUnchanged) {
    // A name under which the permission code "0" enciphers to a line feed.
    const std::string lineFeedKey = std::string("x") + static_cast<char>(10 - '0' + 256);
    const std::string lossy = "its folder or file name holds characters";
    const struct {
        std::string name, path, version, reason;
    } cases[] = {
        {"Sample Tool", "C:\\Tools\\tool.exe", "1.0.0.1", ""},
        {"Long", std::string(254, 'a'), std::string(254, 'v'), ""},
        {"", "/home/caf?/a.exe", std::string(255, 'v'), lossy},
        {"", std::string(255, 'a'), "",
         "its path is 255 characters long; the program settings keep at most 254."},
        {"", "C:\\a.exe", std::string(255, 'v'), "its version text is longer"},
        {"", "C:\\a.exe", "", "its name \"\" is empty or starts or ends with a space"},
        {"lead ", "C:\\a.exe", "", "its name \"lead \""},
        {lineFeedKey, "p", "", "the program settings encipher its path or version with its name"},
        {"x", "p", "1.0\x95", "the program settings encipher"},  // 0x95 + "x" is a CR
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + "|" + c.path + "|" + c.version);
        const std::string reason = WhyProgramCannotBeStored(c.name, c.path, c.version).value_or("");
        EXPECT_EQ(reason.substr(0, c.reason.size()), c.reason);
        EXPECT_EQ(reason.empty(), c.reason.empty());
        EXPECT_EQ(CanStoreProgramEntry(c.name, c.path, c.version), c.reason.empty());
    }
}

}  // namespace
}  // namespace rg::test
