// Adding a program: the dialog, the new row, the duplicate check, the refusal of a program whose
// profile entry could not be stored, and the error path.
#include "resources/default_program_icon.h"
#include "services/cipher.h"
#include "tests/programs/program_list_fixture.h"

namespace rg::test {
namespace {

using AddProgram = ProgramListTest;

TEST_F(AddProgram, AsksWithTheTitleAndFilterAndAddsARowAllowedBothWays) {
    const std::string path = FixtureProgram("full");
    AddThroughDialog(path);
    ASSERT_EQ(screen.fileDialogs().size(), 1u);
    EXPECT_EQ(screen.fileDialogs()[0].title, "Add Program");
    EXPECT_EQ(screen.fileDialogs()[0].filter,
              "Executable File (*.exe,*.com,*.scr)|*.EXE;*.COM;*.SCR|All Files (*.*)|*.*");
    ASSERT_EQ(rows().count(), 1u);
    const platform::ListRow& row = rows().rows()[0];
    EXPECT_EQ(row.key, path);
    EXPECT_EQ(row.tag, path);
    EXPECT_EQ(row.text, "Sample Tool");
    EXPECT_EQ(row.iconKey, path);
    EXPECT_EQ(row.subItem(1), "Allow");
    EXPECT_EQ(row.subItem(2), "Allow");
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    EXPECT_TRUE(screen.boxes().empty());
}

TEST_F(AddProgram, ACancelledDialogAddsNothingAlsoAfterAnEarlierAdd) {
    AddThroughDialog(MakeFile("first.exe"));
    screen.AnswerNextFileDialog(std::nullopt);
    ASSERT_TRUE(form.Click(form.Get("cmdAdd")));
    screen.AnswerNextFileDialog(std::string());  // an empty file name counts as a cancel
    ASSERT_TRUE(form.Click(form.Get("cmdAdd")));
    EXPECT_EQ(Names(), (std::vector<std::string>{"first.exe"}));
    EXPECT_EQ(programs->images().count(), 1u);
    EXPECT_EQ(ErrorLog(), "");

    screen.AnswerNextFileDialog(std::nullopt);
    EXPECT_EQ(ShowAddProgramDialog(form, kAddProgramFilter), "NIL");
}

TEST_F(AddProgram, SkipsAProgramWhoseNameIsListedInAnyLetterCase) {
    const std::string first = MakeFile("Notes.exe", "one", "a");
    AddThroughDialog(first);
    AddThroughDialog(first);                              // the same file again
    AddThroughDialog(MakeFile("NOTES.EXE", "two", "b"));  // another file, same name
    AddThroughDialog(MakeFile("notes.exe", "three", "c"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Notes.exe"}));
    EXPECT_EQ(programs->images().count(), 1u);
    EXPECT_TRUE(screen.boxes().empty());
    EXPECT_EQ(ErrorLog(), "");
}

// Accented names are listed directly: whether a path enciphered with such a name can be stored
// depends on the bytes of the throw-away folder's random name.
TEST_F(AddProgram, FindsNamesByPositionIgnoringCaseOfAccentedLettersToo) {
    for (const char* name : {"one.exe", "\xC9T\xC9.exe"}) {
        platform::ListRow row;
        row.key = row.tag = std::string("/listed/") + name;
        row.text = name;
        lvw().list().Add(row);
    }
    EXPECT_EQ(FindProgramByName(lvw(), "ONE.EXE"), 1);
    EXPECT_EQ(FindProgramByName(lvw(), "\xE9t\xE9.exe"), 2);
    EXPECT_EQ(FindProgramByName(lvw(), "one"), 0);
    AddThroughDialog(MakeFile("\xE9t\xC9.EXE"));  // skipped before anything else is checked
    EXPECT_EQ(rows().count(), 2u);
    EXPECT_TRUE(screen.boxes().empty());
}

TEST_F(AddProgram, AMissingFileIsAddedUnderItsFileNameWithTheDefaultIcon) {
    const std::string path = install.root() + "/gone/Missing.exe";
    AddThroughDialog(path);
    ASSERT_EQ(rows().count(), 1u);
    EXPECT_EQ(rows().rows()[0].text, "Missing.exe");
    ASSERT_NE(rows().IconOf(0), nullptr);
    EXPECT_EQ(rows().IconOf(0)->argb, DefaultProgramIcon16().argb);
}

// A failure after the image was stored (here: its key is already in the image list) is logged
// and leaves the image; no row is added and nothing is said.
TEST_F(AddProgram, LogsAFailureAndKeepsWhatWasDone) {
    const std::string path = MakeFile("a.exe");
    AddThroughDialog(path);
    lvw().list().Remove(path);  // the row goes, its image stays
    AddThroughDialog(path);
    EXPECT_EQ(rows().count(), 0u);
    EXPECT_EQ(programs->images().count(), 1u);
    EXPECT_NE(ErrorLog().find("LoadCurrentProgramList of Module mdlProgramControl:---->"),
              std::string::npos);
    EXPECT_TRUE(screen.boxes().empty());
}

// A program whose section could not be written so that it reads back unchanged is refused
// with a message, and nothing of it is kept.
TEST_F(AddProgram, RefusesAProgramWhoseEntryCouldNotBeStored) {
    AddThroughDialog(MakeFile("kept.exe"));
    // A name that cannot stand as a section name (reading would trim its leading blank).
    screen.AnswerNextBox(platform::IDOK);
    AddThroughDialog(MakeFile(" odd name.exe"));
    // A path that, enciphered with the display name "Sample Tool", holds a line feed.
    const std::string folder = install.root() + "/pe/";
    std::string stored = EncryptText(folder + "tool-x.exe", "Sample Tool");
    stored[folder.size() + 5] = '\n';
    const std::string path = DecryptText(stored, "Sample Tool");
    ASSERT_EQ(path.find('/', folder.size()), std::string::npos);
    ASSERT_EQ(path.find('\0'), std::string::npos);
    TempInstall::WriteFile(path, TempInstall::ReadFile(FixtureProgram("full")));
    screen.AnswerNextBox(platform::IDOK);
    AddThroughDialog(path);

    EXPECT_EQ(Names(), (std::vector<std::string>{"kept.exe"}));
    EXPECT_EQ(programs->images().count(), 1u);
    ASSERT_EQ(screen.boxes().size(), 2u);
    for (const MessageBoxRecord& box : screen.boxes()) {
        EXPECT_EQ(box.title, "Ravelgard Startup Wizard");
        EXPECT_TRUE(box.text.starts_with(kProgramNotStorableText));
        EXPECT_EQ(box.buttons(), platform::MB_OK);
    }
    EXPECT_NE(screen.boxes()[0].text.find(" odd name.exe"), std::string::npos);
}

TEST(ProgramEntry, IsStorableOnlyWhenEveryValueReadsBackUnchanged) {
    EXPECT_TRUE(CanStoreProgramEntry("Sample Tool", "C:\\Tools\\tool.exe", "1.0.0.1"));
    EXPECT_TRUE(CanStoreProgramEntry("", "C:\\Tools\\tool.exe", ""));  // stored as plain text
    EXPECT_FALSE(CanStoreProgramEntry("tail\t", "C:\\a.exe", ""));
    EXPECT_FALSE(CanStoreProgramEntry(" lead", "C:\\a.exe", ""));
    EXPECT_FALSE(CanStoreProgramEntry("", "C:\\a\nb.exe", ""));
    EXPECT_FALSE(CanStoreProgramEntry("", "C:\\a.exe", "1.0\r"));
    EXPECT_FALSE(CanStoreProgramEntry("", "C:\\a.exe ", ""));  // reading trims the space
    EXPECT_FALSE(CanStoreProgramEntry("", std::string(255, 'a'), ""));
    EXPECT_TRUE(CanStoreProgramEntry("", std::string(254, 'a'), ""));
    // A permission code that enciphers to a line feed: '0' + key character = 10 (mod 256).
    const std::string key = std::string("x") + static_cast<char>(10 - '0' + 256);
    EXPECT_FALSE(CanStoreProgramEntry(key, "p", ""));
}

}  // namespace
}  // namespace rg::test
