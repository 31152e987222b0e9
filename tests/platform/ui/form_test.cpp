// The window model: change notifications, option groups, which controls take input, the
// load-show-unload cycle, and what happens without a front end (no window, default answers).
#include "platform/ui/form.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ui/message_box.h"
#include "platform/ui/window_system.h"
#include "tests/support/scripted_window_system.h"

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

// Renderers repaint from notifications: every real change is told once, a no-op is not (the
// Qt renderer's tests show the properties it draws following their changes).
TEST(Form, ObserversHearEachRealChangeOnce) {
    Form form("f");
    Control& c = form.AddControl(ControlKind::Label, "c");
    Recorder recorder;
    form.AddObserver(&recorder);
    form.AddObserver(&recorder);
    for (int twice = 0; twice < 2; ++twice) {
        c.setText("t");
        c.setTag("g");
        c.setValue(true);
        c.setPictureId(3);  // reloading a picture is told every time
        form.setCaption("title");
    }
    EXPECT_EQ(recorder.changes, (std::vector<Change>{{&c, Property::Text},
                                                     {&c, Property::Tag},
                                                     {&c, Property::Value},
                                                     {&c, Property::Picture},
                                                     {nullptr, Property::Caption},
                                                     {&c, Property::Picture}}));
    form.RemoveObserver(&recorder);
    c.setText("b");
    EXPECT_EQ(recorder.changes.size(), 6u);
    EXPECT_EQ(&form.Get("c"), &c);
    EXPECT_THROW(form.Get("none"), std::out_of_range);
}

TEST(Form, OptionButtonsFormOneGroupPerContainer) {
    Form form("f");
    Control& frameA = form.AddControl(ControlKind::Frame, "a");
    Control& frameB = form.AddControl(ControlKind::Frame, "b");
    Control& a1 = form.AddControl(ControlKind::OptionButton, "a1", &frameA);
    Control& a2 = form.AddControl(ControlKind::OptionButton, "a2", &frameA);
    Control& b1 = form.AddControl(ControlKind::OptionButton, "b1", &frameB);
    Control& check = form.AddControl(ControlKind::Label, "label", &frameA);
    a1.setValue(true);
    b1.setValue(true);
    check.setValue(true);
    Recorder recorder;
    form.AddObserver(&recorder);
    EXPECT_TRUE(form.Click(a2));
    EXPECT_EQ(std::vector<bool>({a1.value(), a2.value(), b1.value(), check.value()}),
              std::vector<bool>({false, true, true, true}));
    EXPECT_EQ(recorder.changes,
              (std::vector<Change>{{&a1, Property::Value}, {&a2, Property::Value}}));
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
    EXPECT_EQ(clicks, 0);
    frame.setVisible(true);
    EXPECT_TRUE(label.shownOnForm());
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
    EXPECT_EQ(form.FirstFocusable(), &text);
    text.setVisible(false);
    EXPECT_EQ(form.FirstFocusable(), &ok);
}

class CountingForm final : public Form {
  public:
    CountingForm() : Form("counting") {}
    int loads = 0;
    int unloads = 0;
    bool refuseClose = true;

  protected:
    void Form_Load() override {
        ++loads;
        Show();  // a load step may show its own form
    }
    void Form_QueryUnload(bool& cancel) override { cancel = refuseClose; }
    void Form_Unload() override { ++unloads; }
};

TEST(Form, LoadsOnceAndUnloadsOnlyWhenNotCancelled) {
    ScriptedWindowSystem screen;
    CountingForm form;
    EXPECT_TRUE(form.Unload());  // not loaded: nothing to ask
    form.Show();
    form.Show();
    EXPECT_EQ(form.loads, 1);
    EXPECT_TRUE(form.shown());
    EXPECT_EQ(screen.shownModeless(), std::vector<std::string>{"counting"});
    EXPECT_FALSE(form.RequestClose());
    EXPECT_TRUE(form.loaded());
    form.refuseClose = false;
    EXPECT_TRUE(form.RequestClose());
    EXPECT_FALSE(form.loaded() || form.shown());
    EXPECT_EQ(form.unloads, 1);
    screen.ScriptNextModal([](Form& modal) {
        EXPECT_TRUE(modal.modal());
        modal.Unload();
    });
    form.ShowModal();
    EXPECT_FALSE(form.modal());
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(screen.unloaded(), (std::vector<std::string>{"counting", "counting"}));
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
    EXPECT_TRUE(form.Unload());  // nothing asks to keep it
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
