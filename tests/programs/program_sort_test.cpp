// Sorting the list by a header click: column, direction, the comparison of the texts.
#include "tests/programs/program_list_fixture.h"

namespace rg::test {
namespace {

using platform::kLeftButton;

class ProgramSort : public ProgramListTest {
  protected:
    void Header(int column) { ASSERT_TRUE(form.ColumnClick(lvw(), column)); }
    // Sets the row's Access permission through its menu.
    void SetAccess(const std::string& name, const char* item) {
        const auto names = Names();
        const auto row =
            static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
        screen.ChooseInNextMenu(item);
        ScriptedWindowSystem::ClickCell(lvw(), row, 1, kLeftButton);
    }
    std::vector<std::string> AccessColumn() {
        std::vector<std::string> column;
        for (std::size_t i = 0; i < rows().count(); ++i) {
            column.push_back(Access(i));
        }
        return column;
    }
};

TEST_F(ProgramSort, StartsUnsortedAndTheFirstClickOnAnyHeaderSortsAscending) {
    AddFiles({"b.bin", "C.bin", "a.bin"});
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.bin", "C.bin", "a.bin"}));
    EXPECT_FALSE(rows().sorted());
    Header(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.bin", "b.bin", "C.bin"}));
    Header(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"C.bin", "b.bin", "a.bin"}));
}

TEST_F(ProgramSort, TogglesOnTheSameColumnAndStartsAscendingOnAnother) {
    AddFiles({"one.bin", "two.bin", "three.bin"});
    SetAccess("one.bin", "mnuAccessBlock");
    SetAccess("two.bin", "mnuAccessAsk");
    Header(0);
    Header(1);
    EXPECT_EQ(rows().sortKey(), 1);
    EXPECT_EQ(AccessColumn(), (std::vector<std::string>{"Allow", "Ask", "Block"}));
    Header(1);
    EXPECT_EQ(AccessColumn(), (std::vector<std::string>{"Block", "Ask", "Allow"}));
    Header(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"one.bin", "three.bin", "two.bin"}));
    Header(2);  // Server followed Access down: Allow, Ask, Block
    EXPECT_EQ(rows().sortKey(), 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"three.bin", "two.bin", "one.bin"}));
}

// Case-insensitive, with accented letters beside their base letters (code page 1252 bytes).
// The rows are listed directly: whether a path enciphered with an accented name can be stored
// depends on the bytes of the throw-away folder's random name.
TEST_F(ProgramSort, ComparesWithoutCaseAndKeepsAccentedLettersWithTheirBaseLetters) {
    for (const char* name : {"zeta.bin",
                             "\xC9"
                             "clair.bin",
                             "Eclair.bin", "edit.bin", "\xE9t\xE9.bin", "f.bin", "ETA.bin"}) {
        platform::ListRow row;
        row.key = row.tag = std::string("/listed/") + name;
        row.text = name;
        lvw().list().Add(row);
    }
    Header(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Eclair.bin",
                                                 "\xC9"
                                                 "clair.bin",
                                                 "edit.bin", "ETA.bin", "\xE9t\xE9.bin", "f.bin",
                                                 "zeta.bin"}));
}

TEST_F(ProgramSort, ProgramsAddedWhileSortedTakeTheirPlace) {
    AddFiles({"m.bin", "c.bin"});
    Header(0);
    Header(0);  // descending
    AddFiles({"x.bin", "a.bin"});
    EXPECT_EQ(Names(), (std::vector<std::string>{"x.bin", "m.bin", "c.bin", "a.bin"}));
}

TEST_F(ProgramSort, KeepsTheCurrentRowAndSelectionWithTheirRows) {
    AddFiles({"b.bin", "c.bin", "a.bin"});
    SelectRows({0, 1}, 1);  // b and c, c current
    Header(0);
    ASSERT_EQ(Names(), (std::vector<std::string>{"a.bin", "b.bin", "c.bin"}));
    EXPECT_EQ(rows().current(), 2);
    EXPECT_FALSE(rows().rows()[0].selected);
    EXPECT_TRUE(rows().rows()[1].selected);
    EXPECT_TRUE(rows().rows()[2].selected);
}

TEST_F(ProgramSort, RefusesAHeaderThatDoesNotExist) {
    AddFiles({"b.bin", "a.bin"});
    EXPECT_FALSE(form.ColumnClick(lvw(), 3));
    EXPECT_FALSE(form.ColumnClick(lvw(), -1));
    EXPECT_FALSE(rows().sorted());
}

}  // namespace
}  // namespace rg::test
