// Removing the selected programs: the question, the answer, the image list.
#include "tests/programs/program_list_fixture.h"

namespace rg::test {
namespace {

std::string Prog(std::size_t i) {
    return "prog" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".exe";
}

// The question names the first sixteen selected rows, the sixteenth followed by " .....". The
// image list stays attached while images are left, every row's icon its own, and is attached
// again by the next add.
TEST_F(ProgramListTest, RemovalAsksForTheSelectedRowsAndRemovesThemOnYes) {
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < 24; ++i) {
        AddFiles({Prog(i)});
        if (i >= 2 && i < 22) {
            selected.push_back(i);
        }
    }
    const auto remove = [this](int answer) {
        screen.AnswerNextBox(answer);
        ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    };
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    Select({}, 0);  // a current row that is not selected names nothing
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    EXPECT_TRUE(screen.boxes().empty());
    Select(selected, 5);
    remove(platform::IDNO);
    EXPECT_EQ(rows().count() + programs->images().count(), 48u);
    remove(platform::IDYES);
    std::string question = "Do you want to remove following application(s)?\r\n";
    for (std::size_t i = 2; i < 17; ++i) {
        question += Prog(i) + "\r\n";
    }
    ASSERT_EQ(screen.boxes().size(), 2u);
    EXPECT_EQ(screen.boxes()[1].text, question + "prog17.exe .....\r\n");
    EXPECT_EQ(screen.boxes()[1].title, "Ravelgard Startup Wizard");
    EXPECT_EQ(screen.boxes()[1].style,
              platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON1);
    EXPECT_EQ(Names(), (std::vector<std::string>{Prog(0), Prog(1), Prog(22), Prog(23)}));
    for (std::size_t i = 0; i < rows().count(); ++i) {
        EXPECT_EQ(rows().IconOf(i), programs->images().Find(rows().rows()[i].tag));
    }
    Select({0, 1, 3}, 3);
    remove(platform::IDYES);
    EXPECT_EQ(screen.boxes()[2].text, "Do you want to remove following application(s)?\r\n" +
                                          Prog(0) + "\r\n" + Prog(1) + "\r\n" + Prog(23) + "\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{Prog(22)});  // and its image list with it
    EXPECT_EQ(programs->images().count(), 1u);
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    EXPECT_NE(rows().IconOf(0), nullptr);
    Select({0}, 0);
    remove(platform::IDYES);
    EXPECT_EQ(rows().count() + programs->images().count(), 0u);
    EXPECT_EQ(rows().smallIcons(), nullptr);
    Add(MakeFile("c.exe"));  // the next add attaches it again
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    EXPECT_NE(rows().IconOf(0), nullptr);
    EXPECT_EQ(ErrorLog(), "");
}

}  // namespace
}  // namespace rg::test
