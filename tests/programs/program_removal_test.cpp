// Removing the selected programs: the question, the answer, the image list and icon keys.
#include "platform/os/shell_icon.h"
#include "tests/programs/program_list_fixture.h"

namespace rg::test {
namespace {

constexpr const char* kTitle = "Ravelgard Startup Wizard";

class ProgramRemoval : public ProgramListTest {
  protected:
    void Remove(int answer) {
        screen.AnswerNextBox(answer);
        ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    }
    std::vector<std::string> FileNames(int count) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) {
            names.push_back("prog" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".exe");
        }
        return names;
    }
};

TEST_F(ProgramRemoval, NamesTheFirstSixteenSelectedAndRemovesAllTwentyOnYes) {
    AddFiles(FileNames(24));
    std::vector<std::size_t> selected;
    for (std::size_t i = 2; i < 22; ++i) {
        selected.push_back(i);
    }
    SelectRows(selected, 5);
    Remove(platform::IDYES);

    ASSERT_EQ(screen.boxes().size(), 1u);
    std::string expected = "Do you want to remove following application(s)?\r\n";
    for (int i = 2; i < 17; ++i) {
        expected += FileNames(24)[static_cast<std::size_t>(i)] + "\r\n";
    }
    expected += "prog17.exe .....\r\n";
    EXPECT_EQ(screen.boxes()[0].text, expected);
    EXPECT_EQ(screen.boxes()[0].title, kTitle);
    EXPECT_EQ(screen.boxes()[0].buttons(), platform::MB_YESNO);
    EXPECT_EQ(screen.boxes()[0].icon(), platform::MB_ICONQUESTION);
    EXPECT_EQ(screen.boxes()[0].defaultButton(), platform::MB_DEFBUTTON1);

    EXPECT_EQ(Names(),
              (std::vector<std::string>{"prog00.exe", "prog01.exe", "prog22.exe", "prog23.exe"}));
    EXPECT_EQ(programs->images().count(), 4u);
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    EXPECT_EQ(rows().current(), -1);
    for (std::size_t i = 0; i < rows().count(); ++i) {
        EXPECT_EQ(rows().rows()[i].iconKey, rows().rows()[i].tag);
        EXPECT_NE(rows().IconOf(i), nullptr);
    }
}

TEST_F(ProgramRemoval, FollowsTheListOrderAndNamesFewerThanSixteenPlainly) {
    AddFiles({"b.exe", "a.exe", "c.exe"});
    ASSERT_TRUE(form.ColumnClick(lvw(), 0));
    SelectRows({2, 0}, 0);  // a and c
    Remove(platform::IDYES);
    ASSERT_EQ(screen.boxes().size(), 1u);
    EXPECT_EQ(screen.boxes()[0].text,
              "Do you want to remove following application(s)?\r\na.exe\r\nc.exe\r\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.exe"}));
}

TEST_F(ProgramRemoval, NoRemovesNothingAndKeepsTheImageListAttached) {
    AddFiles({"a.exe", "b.exe"});
    SelectRows({0, 1}, 0);
    Remove(platform::IDNO);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.exe", "b.exe"}));
    EXPECT_EQ(programs->images().count(), 2u);
    EXPECT_EQ(rows().smallIcons(), &programs->images());
}

TEST_F(ProgramRemoval, AsksNothingWithoutASelectedRow) {
    AddFiles({"a.exe"});
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    SelectRows({}, 0);  // a current row that is not selected names nothing
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    EXPECT_TRUE(screen.boxes().empty());
    EXPECT_EQ(rows().count(), 1u);
}

TEST_F(ProgramRemoval, EveryRowGoneLeavesNoImageListAndTheNextAddShowsItsIconAgain) {
    AddFiles({"a.exe", "b.exe"});
    SelectRows({0, 1}, 1);
    Remove(platform::IDYES);
    EXPECT_EQ(rows().count(), 0u);
    EXPECT_EQ(programs->images().count(), 0u);
    EXPECT_EQ(rows().smallIcons(), nullptr);

    const std::string path = MakeFile("c.exe");
    AddThroughDialog(path);
    ASSERT_EQ(rows().count(), 1u);
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    ASSERT_NE(rows().IconOf(0), nullptr);
    EXPECT_EQ(rows().IconOf(0), programs->images().Find(path));
}

// A row added without an icon (its icon could not be had) shows the image stored under its
// path once a removal has given every row its icon key again.
TEST_F(ProgramRemoval, GivesEveryRemainingRowTheImageStoredUnderItsPath) {
    platform::SetFileTypeIconProvider(
        [](const std::string& path) -> std::optional<platform::Image> {
            if (path.ends_with("broken.exe")) {
                throw std::runtime_error("the desktop's icon lookup failed");
            }
            return std::nullopt;
        });
    AddFiles({"a.exe", "broken.exe", "c.exe"});
    ASSERT_EQ(rows().rows()[1].iconKey, "");
    SelectRows({0}, 0);
    Remove(platform::IDYES);
    ASSERT_EQ(Names(), (std::vector<std::string>{"broken.exe", "c.exe"}));
    EXPECT_EQ(rows().rows()[0].iconKey, rows().rows()[0].tag);
    EXPECT_EQ(rows().IconOf(0), programs->images().Find(rows().rows()[0].tag));
}

TEST_F(ProgramRemoval, LogsAFailureAndStopsWithTheListDetached) {
    AddFiles({"a.exe", "b.exe"});
    // A row whose image is not in the image list: its removal fails.
    platform::ListRow stray;
    stray.key = stray.tag = "/nowhere/stray.exe";
    stray.text = "stray";
    lvw().list().Add(stray);
    SelectRows({0, 2}, 2);
    Remove(platform::IDYES);
    EXPECT_NE(ErrorLog().find("cmdRemove_Click of frmProgramControl:---->"), std::string::npos);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.exe", "b.exe", "stray"}));
    EXPECT_EQ(rows().smallIcons(), nullptr);
    EXPECT_TRUE(screen.boxes().size() == 1u);  // the question only: no message for the failure
}

}  // namespace
}  // namespace rg::test
