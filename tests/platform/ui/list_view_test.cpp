// The list view part of the window model that the program list's tests do not reach: keyed
// rows, selection positions from the renderer, deferred change reports, and the collation of
// code page 1252 texts. (Sorting, icons, header clicks and mouse releases are tested through the
// program list in tests/programs.)
#include <gtest/gtest.h>

#include <vector>

#include "platform/base/text_collation.h"
#include "platform/ui/form.h"

namespace rg::platform {
namespace {

class Recorder final : public FormObserver {
  public:
    void PropertyChanged(Form&, Control*, Property what) override { seen.push_back(what); }
    std::vector<Property> seen;
};

ListRow Row(const char* key, const char* text) {
    ListRow row;
    row.key = row.tag = key;
    row.text = text;
    return row;
}

class ListView : public ::testing::Test {
  protected:
    ListView() : list(form.AddControl(ControlKind::ListView, "lvw")) {
        list.setColumns({{"A", 1500}, {"B", 750}});
        form.AddObserver(&recorder);
    }
    Form form{"frm"};
    Control& list;
    Recorder recorder;
};

TEST_F(ListView, KeysAreUniqueAndRowsGoByKey) {
    list.list().Add(Row("k1", "one"));
    EXPECT_THROW(list.list().Add(Row("k1", "again")), CollectionError);
    EXPECT_THROW(list.list().Add(Row("", "no key")), CollectionError);
    EXPECT_THROW(list.list().Remove("k2"), CollectionError);
    EXPECT_THROW(list.list().SetSubItem(1, 1, "x"), CollectionError);
    list.list().Remove("k1");
    EXPECT_EQ(list.list().count(), 0u);
    EXPECT_EQ(recorder.seen, (std::vector<Property>{Property::ListRows, Property::ListRows}));
}

TEST_F(ListView, DeferredChangesAreReportedOnceEachAtTheEnd) {
    {
        const ListViewContent::DeferredNotifications outer(list.list());
        list.list().Add(Row("a", "a"));
        {
            const ListViewContent::DeferredNotifications inner(list.list());
            list.list().Add(Row("b", "b"));
            list.list().Select({1}, 1);
        }
        list.list().Remove("a");
        EXPECT_TRUE(recorder.seen.empty());
    }
    EXPECT_EQ(recorder.seen, (std::vector<Property>{Property::ListRows, Property::ListSelection}));
}

TEST_F(ListView, SelectionFollowsItsRowsAndRefusesPositionsOutOfRange) {
    list.list().Add(Row("a", "a"));
    list.list().Add(Row("b", "b"));
    EXPECT_FALSE(form.SelectListRows(list, {0, 2}, 0));
    EXPECT_FALSE(form.SelectListRows(list, {0}, 2));
    EXPECT_FALSE(form.SelectListRows(list, {0}, -2));
    EXPECT_FALSE(list.list().HasSelection());
    ASSERT_TRUE(form.SelectListRows(list, {0, 1}, 1));
    EXPECT_EQ(list.list().current(), 1);
    list.list().Remove("a");
    EXPECT_EQ(list.list().current(), 0);  // still row "b"
    list.list().Remove("b");
    EXPECT_EQ(list.list().current(), -1);
    list.setVisible(false);
    EXPECT_FALSE(form.SelectListRows(list, {}, -1));
}

TEST(Collation, IgnoresCaseAndAccentsFirstThenOrdersThem) {
    EXPECT_LT(CollateCp1252("apple", "Banana"), 0);
    EXPECT_LT(CollateCp1252("e", "\xE9"), 0);   // e before é
    EXPECT_LT(CollateCp1252("\xE9z", "f"), 0);  // éz before f
    EXPECT_LT(CollateCp1252("abc", "ABC"), 0);  // only case differs: lower first
    EXPECT_EQ(CollateCp1252("same", "same"), 0);
    EXPECT_LT(CollateCp1252("stra\xDF"
                            "e",
                            "strasse1"),
              0);                                  // ß as "ss"
    EXPECT_GT(CollateCp1252("\xC6on", "adz"), 0);  // Æ as "ae"
    EXPECT_EQ(LowerCp1252("\xC9T\xC9 \x8A\x9F \xD7"), "\xE9t\xE9 \x9A\xFF \xD7");
}

}  // namespace
}  // namespace rg::platform
