// Removing the selected programs: the question, the answer, the image list.
#include "tests/programs/program_list_fixture.h"

namespace rg::test {
namespace {

constexpr const char* kQuestion = "Do you want to remove following application(s)?\r\n";

class ProgramRemoval : public ProgramListTest {
  protected:
    void Remove(int answer) {
        screen.AnswerNextBox(answer);
        ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    }
};

std::string Prog(std::size_t i) {
    return "prog" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".exe";
}

TEST_F(ProgramRemoval, NamesTheFirstSixteenSelectedAndRemovesEverySelectedRowOnYes) {
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < 24; ++i) {
        AddFiles({Prog(i)});
        if (i >= 2 && i < 22) {
            selected.push_back(i);
        }
    }
    Select(selected, 5);
    Remove(platform::IDYES);
    std::string question = kQuestion;
    for (std::size_t i = 2; i < 17; ++i) {
        question += Prog(i) + "\r\n";
    }
    ASSERT_EQ(screen.boxes().size(), 1u);
    EXPECT_EQ(screen.boxes()[0].text, question + "prog17.exe .....\r\n");
    EXPECT_EQ(screen.boxes()[0].title, "Ravelgard Startup Wizard");
    EXPECT_EQ(screen.boxes()[0].style,
              platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON1);
    EXPECT_EQ(Names(), (std::vector<std::string>{Prog(0), Prog(1), Prog(22), Prog(23)}));
    EXPECT_EQ(programs->images().count(), 4u);
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    for (std::size_t i = 0; i < rows().count(); ++i) {
        EXPECT_EQ(rows().IconOf(i), programs->images().Find(rows().rows()[i].tag));
    }
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ProgramRemoval, AsksOnlyForSelectedRowsAndDetachesTheImageListWhenTheLastRowGoes) {
    AddFiles({"a.exe", "b.exe"});
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    Select({}, 0);  // a current row that is not selected names nothing
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    EXPECT_TRUE(screen.boxes().empty());
    Select({1}, 1);
    Remove(platform::IDNO);
    ASSERT_EQ(screen.boxes().size(), 1u);
    EXPECT_EQ(screen.boxes()[0].text, std::string(kQuestion) + "b.exe\r\n");
    EXPECT_EQ(programs->images().count(), 2u);
    EXPECT_EQ(rows().smallIcons(), &programs->images());

    Select({0}, 0);
    Remove(platform::IDYES);  // one row is left, and its image list with it
    EXPECT_EQ(Names(), std::vector<std::string>{"b.exe"});
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    EXPECT_NE(rows().IconOf(0), nullptr);
    Select({0}, 0);
    Remove(platform::IDYES);
    EXPECT_EQ(rows().count() + programs->images().count(), 0u);
    EXPECT_EQ(rows().smallIcons(), nullptr);
    Add(MakeFile("c.exe"));  // the next add attaches it again
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    EXPECT_NE(rows().IconOf(0), nullptr);
}

}  // namespace
}  // namespace rg::test
