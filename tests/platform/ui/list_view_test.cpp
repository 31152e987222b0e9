// The list view's content that the program list's tests do not reach: keyed rows and their
// fields, the selection and the current row, and deferred change reports. (Sorting, icons,
// header clicks and mouse releases are tested through the program list in tests/programs.)
#include "platform/ui/list_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rg::test {
namespace {

using namespace platform;
constexpr auto R = ListChange::Rows;
constexpr auto S = ListChange::Selection;

ListRow Row(const char* key, const char* text) {
    ListRow row;
    row.key = key;
    row.text = text;
    return row;
}

class ListView : public ::testing::Test {
  protected:
    std::string Keys() const {
        std::string keys;
        for (const ListRow& row : list.rows()) {
            keys += row.key + (row.selected ? "* " : " ");
        }
        return keys;
    }
    std::vector<ListChange> seen;
    ListViewContent list{[this](ListChange change) { seen.push_back(change); }};
};

TEST_F(ListView, RowsGoByUniqueKeysAndPositionsInRange) {
    EXPECT_EQ(list.Add(Row("k1", "one")), 0u);
    EXPECT_EQ(list.Add(Row("k2", "two")), 1u);
    for (const char* bad : {"k1", ""}) {
        EXPECT_THROW(list.Add(Row(bad, "again")), CollectionError) << bad;
    }
    EXPECT_THROW(list.Remove("k3"), CollectionError);
    EXPECT_THROW(list.SetSubItem(2, 1, "x"), CollectionError);
    EXPECT_THROW(list.SetSubItem(0, 0, "x"), CollectionError);  // sub-items count from 1
    EXPECT_EQ(list.IndexOfKey("K2"), -1);                        // keys compare exactly
    seen.clear();
    for (int twice = 0; twice < 2; ++twice) {
        list.SetSubItem(1, 2, "b");
        list.SetIconKey(1, "icon");
        list.SetTag(1, "tag");  // nothing shows the tag
    }
    EXPECT_EQ(seen, (std::vector<ListChange>{R, R}));
    const ListRow& row = list.rows()[1];
    EXPECT_EQ(row.subItems, (std::vector<std::string>{"", "b"}));
    EXPECT_EQ(row.subItem(2) + row.subItem(3) + row.subItem(0), "b");
    EXPECT_EQ(row.iconKey + row.tag, "icontag");
    list.Remove("k1");
    EXPECT_EQ(Keys(), "k2 ");
    list.Clear();
    list.Clear();
    EXPECT_EQ(seen, (std::vector<ListChange>{R, R, R, R, S}));
}

TEST_F(ListView, SelectionAndTheCurrentRowFollowTheirRows) {
    list.Add(Row("a", "3"));
    list.Add(Row("b", "2"));
    list.Add(Row("c", "1"));
    EXPECT_EQ(list.current(), -1);
    seen.clear();
    list.Select({0, 2}, 2);
    list.Select({2, 0}, 2);  // the same selection: nothing to tell
    EXPECT_THROW(list.Select({1, 3}, 1), CollectionError);
    EXPECT_THROW(list.Select({1}, 3), CollectionError);
    EXPECT_EQ(Keys(), "a* b c* ");
    list.SetSorted(true);
    EXPECT_EQ(Keys(), "c* b a* ");
    EXPECT_EQ(list.current(), 0);  // still row "c"
    list.SetSelected(1, true);
    list.SetSelected(1, true);
    list.SetSelected(2, false);
    EXPECT_EQ(Keys(), "c* b* a ");
    list.Remove("b");  // selected: the selection changes
    list.Remove("a");  // neither selected nor current
    list.Remove("c");  // the current row
    EXPECT_EQ(list.current(), -1);
    EXPECT_EQ(seen, (std::vector<ListChange>{S, R, S, S, R, S, R, R, S}));
    ListRow selected = Row("d", "0");
    selected.selected = true;
    list.Add(selected);
    EXPECT_EQ(seen.back(), S);
}

TEST_F(ListView, DeferredChangesAreReportedOnceEachAtTheEnd) {
    {
        const ListViewContent::DeferredNotifications outer(list);
        list.Add(Row("a", "a"));
        {
            const ListViewContent::DeferredNotifications inner(list);
            list.Select({0}, 0);
            list.Add(Row("b", "b"));
        }
        list.Remove("a");
        EXPECT_TRUE(seen.empty());
    }
    EXPECT_EQ(seen, (std::vector<ListChange>{R, S}));
    list.Remove("b");
    EXPECT_EQ(seen.size(), 3u);
}

TEST(ImageList, ImagesGoByUniqueNonEmptyKeys) {
    ImageList images;
    images.Add("a", Image{1, 1, {0xFF00FF00}});
    for (const char* bad : {"a", ""}) {
        EXPECT_THROW(images.Add(bad, Image{}), CollectionError) << bad;
    }
    EXPECT_EQ(images.Find("a")->argb, std::vector<std::uint32_t>{0xFF00FF00});
    EXPECT_EQ(images.Find("A"), nullptr);
    EXPECT_THROW(images.Remove("b"), CollectionError);
    images.Remove("a");
    EXPECT_EQ(images.Find("a"), nullptr);
}

}  // namespace
}  // namespace rg::test
