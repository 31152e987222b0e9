// The window model: which controls take input, and the list view's content: keyed rows and
// their fields, the selection and the current row, change reports. Change notifications are
// tested through the Qt renderer (tests/platform/qt), option groups and the load-show-unload
// cycle through the wizard (tests/wizard), sorting, icons, header clicks and mouse releases
// through the program list (tests/programs).
#include "platform/ui/form.h"

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

// Hidden or disabled controls, or controls in a hidden or disabled frame, take no input.
TEST(Form, OnlyReachableControlsTakeInput) {
    Form form("f");
    Control& frame = form.AddControl(ControlKind::Frame, "frame");
    Control& label = form.AddControl(ControlKind::Label, "label", &frame);
    Control& text = form.AddControl(ControlKind::TextBox, "text", &frame);
    Control& ok = form.AddControl(ControlKind::CommandButton, "ok", &frame);
    Control& list = form.AddControl(ControlKind::ListView, "list", &frame);
    ok.setCancel(true);
    list.setColumns({{"A", 100}, {"B", 100}});
    list.list().Add(Row("k", ""));
    int clicks = 0;
    ok.onClick = [&] { ++clicks; };
    const auto everyEvent = [&] {
        return std::vector<bool>{form.PressEscape(),
                                 form.Click(ok),
                                 form.TypeText(text, "x"),
                                 form.GotFocus(text),
                                 form.ColumnClick(list, 1),
                                 form.MouseUp(list, 2, 1, 3, 4),
                                 form.SelectListRows(list, {0}, 0)};
    };
    frame.setEnabled(false);
    EXPECT_EQ(everyEvent(), std::vector<bool>(7, false));
    frame.setEnabled(true);
    frame.setVisible(false);
    EXPECT_EQ(everyEvent(), std::vector<bool>(7, false));
    frame.setVisible(true);
    EXPECT_EQ(everyEvent(), std::vector<bool>(7, true));
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(list.list().HasSelection());
    // Events a control cannot take, positions out of range, no default button.
    EXPECT_EQ((std::vector<bool>{
                  form.TypeText(label, "x"), form.ColumnClick(list, 2), form.ColumnClick(list, -1),
                  form.ColumnClick(label, 0), form.SelectListRows(label, {}, -1),
                  form.SelectListRows(list, {0, 1}, 0), form.SelectListRows(list, {0}, 1),
                  form.SelectListRows(list, {0}, -2), form.PressEnter()}),
              std::vector<bool>(9, false));
    EXPECT_TRUE(form.SelectListRows(list, {}, -1));
    EXPECT_FALSE(list.list().HasSelection());
}

class ListView : public ::testing::Test {
  protected:
    std::vector<ListChange> seen;
    ListViewContent list{[this](ListChange change) { seen.push_back(change); }};
};

// Rows go by unique keys and positions in range; a change is told once, a no-op not at all;
// the selection and the current row follow their rows.
TEST_F(ListView, RowsGoByKeyAndChangesAreToldOnce) {
    EXPECT_EQ(list.Add(Row("a", "3")), 0u);
    EXPECT_EQ(list.Add(Row("b", "2")), 1u);
    for (const char* bad : {"a", ""}) {
        EXPECT_THROW(list.Add(Row(bad, "again")), CollectionError) << bad;
    }
    EXPECT_THROW(list.Remove("k3"), CollectionError);
    EXPECT_THROW(list.SetSubItem(2, 1, "x"), CollectionError);
    EXPECT_THROW(list.SetSubItem(0, 0, "x"), CollectionError);  // sub-items count from 1
    EXPECT_THROW(list.Select({1}, 2), CollectionError);
    seen.clear();
    for (int twice = 0; twice < 2; ++twice) {
        list.SetSubItem(1, 2, "b");
        list.SetIconKey(1, "icon");
        list.SetTag(1, "tag");  // nothing shows the tag
        list.Select({0}, 0);
    }
    const ListRow& row = list.rows()[1];
    EXPECT_EQ(row.subItem(2) + row.subItem(3) + row.subItem(0), "b");
    list.SetSorted(true);
    EXPECT_EQ(list.current(), 1);            // still row "a", now after "b"
    EXPECT_EQ(list.Add(Row("c", "1")), 0u);  // a sorted list adds in order
    list.SetSelected(1, true);
    list.SetSelected(2, false);
    list.Remove("b");  // selected: the selection changes
    list.Remove("c");  // neither selected nor current
    list.Remove("a");  // the current row
    EXPECT_EQ(list.current(), -1);
    list.Clear();
    ListRow selected = Row("d", "0");
    selected.selected = true;
    list.Add(selected);
    list.Clear();
    EXPECT_EQ(seen, (std::vector<ListChange>{R, R, S, R, R, S, S, R, S, R, R, S, R, S, R, S}));
}

}  // namespace
}  // namespace rg::test
