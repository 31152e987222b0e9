// Adding a program: the dialog, the new row, the duplicate check by display name, and the refusal
// of a program whose profile entry could not be stored.
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

    EXPECT_EQ(screen.fileDialogs().at(0).title, "Add Program");
    EXPECT_EQ(screen.fileDialogs().at(0).filter,
              "Executable File (*.exe,*.com,*.scr)|*.EXE;*.COM;*.SCR|All Files (*.*)|*.*");
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
    EXPECT_EQ(
        screen.boxes()[0].text,
        std::string(kProgramNotStorableText) + "its name \" odd.exe\" is empty or starts or " +
            "ends with a space, and cannot name its entry in the program settings.\r\n\r\n" + path);
    EXPECT_EQ(screen.boxes()[0].title, "Ravelgard Startup Wizard");
    EXPECT_EQ(screen.boxes()[0].style, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

TEST(CanStoreProgramEntry, OnlyWhenEveryValueReadsBackUnchanged) {
    // A name under which the permission code "0" enciphers to a line feed.
    const std::string lineFeedKey = std::string("x") + static_cast<char>(10 - '0' + 256);
    const struct {
        std::string name, path, version;
        bool storable;
    } cases[] = {{"Sample Tool", "C:\\Tools\\tool.exe", "1.0.0.1", true},
                 {"Long", std::string(254, 'a'), "", true},
                 {"Long", std::string(255, 'a'), "", false},
                 {"", "C:\\a.exe", "", false},
                 {"Lossy", "/home/caf?/a.exe", "", false},
                 {" lead", "C:\\a.exe", "", false},
                 {"", "C:\\a\nb.exe", "", false},
                 {"", "C:\\a.exe", "1.0\r", false},
                 {lineFeedKey, "p", "", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(CanStoreProgramEntry(c.name, c.path, c.version), c.storable) << c.name << c.path;
    }
}

}  // namespace
}  // namespace rg::test
