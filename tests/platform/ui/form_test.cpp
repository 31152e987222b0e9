// The window model: change notifications, option groups, which controls take input, and what
// happens without a front end (no window, default answers). The load-show-unload cycle is
// tested through the wizard and its login prompt in tests/wizard.
#include "platform/ui/form.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ui/message_box.h"
#include "platform/ui/window_system.h"

namespace rg::test {
namespace {

using namespace platform;
using Change = std::pair<const Control*, Property>;

struct Recorder final : FormObserver {
    std::vector<Change> changes;
    void PropertyChanged(Form&, Control* control, Property what) override {
        changes.emplace_back(control, what);
    }
};

// Renderers repaint from notifications: every real change is told once, a no-op is not. Option
// buttons form one group per container.
TEST(Form, ObserversHearEachRealChangeOnceAndOptionButtonsGroupPerContainer) {
    Form form("f");
    Control& frameA = form.AddControl(ControlKind::Frame, "a");
    Control& a1 = form.AddControl(ControlKind::OptionButton, "a1", &frameA);
    Control& a2 = form.AddControl(ControlKind::OptionButton, "a2", &frameA);
    Control& b1 = form.AddControl(ControlKind::OptionButton, "b1");
    Control& label = form.AddControl(ControlKind::Label, "label", &frameA);
    a1.setValue(true);
    b1.setValue(true);
    label.setValue(true);
    Recorder recorder;
    form.AddObserver(&recorder);
    form.AddObserver(&recorder);
    for (int twice = 0; twice < 2; ++twice) {
        label.setText("t");
        label.setPictureId(3);  // reloading a picture is told every time
        form.setCaption("title");
        EXPECT_TRUE(form.Click(a2));
    }
    EXPECT_EQ(recorder.changes, (std::vector<Change>{{&label, Property::Text},
                                                     {&label, Property::Picture},
                                                     {nullptr, Property::Caption},
                                                     {&a1, Property::Value},
                                                     {&a2, Property::Value},
                                                     {&label, Property::Picture}}));
    EXPECT_EQ(std::vector<bool>({a1.value(), a2.value(), b1.value(), label.value()}),
              std::vector<bool>({false, true, true, true}));
    form.RemoveObserver(&recorder);
    label.setText("b");
    EXPECT_EQ(recorder.changes.size(), 6u);
    EXPECT_THROW(form.Get("none"), std::out_of_range);
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
    ListRow row;
    row.key = "k";
    list.list().Add(row);
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
    EXPECT_EQ(form.FirstFocusable(), nullptr);
    frame.setEnabled(true);
    frame.setVisible(false);
    EXPECT_EQ(everyEvent(), std::vector<bool>(7, false));
    EXPECT_FALSE(label.shownOnForm());
    frame.setVisible(true);
    EXPECT_EQ(everyEvent(), std::vector<bool>(7, true));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(text.text(), "x");
    EXPECT_EQ(form.focused(), &text);
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
    text.setVisible(false);
    EXPECT_EQ(form.FirstFocusable(), &ok);
}

TEST(Form, WithoutAFrontEndNothingShowsAndBoxesGiveTheirDefaultButton) {
    Form form("f");
    Control& text = form.AddControl(ControlKind::TextBox, "text");
    form.ShowModal();  // returns at once
    form.SetFocus(text);
    EXPECT_EQ(form.focused(), &text);
    LvHitTestInfo info{5, 5, 0, 3, 3};
    form.SubItemHitTest(text, info);
    EXPECT_EQ(std::tuple(info.flags, info.iItem, info.iSubItem), std::tuple(LVHT_NOWHERE, -1, -1));
    EXPECT_EQ(form.ShowOpenFileDialog({"Open", "All|*.*"}), std::nullopt);
    const MessageBoxHandler previous = SetMessageBoxHandler(nullptr);
    EXPECT_EQ((std::vector<int>{MessageBoxA("t", "", MB_OK | MB_DEFBUTTON2),
                                MessageBoxA("t", "", MB_OKCANCEL),
                                MessageBoxA("t", "", MB_OKCANCEL | MB_DEFBUTTON2),
                                MessageBoxA("t", "", MB_YESNO | MB_ICONQUESTION),
                                MessageBoxA("t", "", MB_YESNO | MB_DEFBUTTON2 | MB_ICONHAND)}),
              (std::vector<int>{IDOK, IDOK, IDCANCEL, IDYES, IDNO}));
    SetMessageBoxHandler(previous);
}

}  // namespace
}  // namespace rg::test
