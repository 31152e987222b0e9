#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/form.h"
#include "tests/support/scripted_window_system.h"

namespace rg::platform {
namespace {

using test::ScriptedWindowSystem;

struct Recorder final : FormObserver {
    std::vector<std::string> changes;
    void PropertyChanged(Form&, Control* control, Property what) override {
        changes.push_back((control ? control->name() : "form") + ":" +
                          std::to_string(static_cast<int>(what)));
    }
};

// Renderers repaint from notifications: every real change is told once, a no-op is not.
TEST(Form, ObserversHearEachRealChange) {
    Form form("f");
    Control& label = form.AddControl(ControlKind::Label, "label");
    Recorder recorder;
    form.AddObserver(&recorder);
    label.setCaption("a");
    label.setCaption("a");
    label.setVisible(false);
    form.setCaption("title");
    EXPECT_EQ(recorder.changes, (std::vector<std::string>{"label:0", "label:2", "form:0"}));
    form.RemoveObserver(&recorder);
    label.setCaption("b");
    EXPECT_EQ(recorder.changes.size(), 3u);
}

TEST(Form, OptionButtonsFormOneGroupPerContainer) {
    Form form("f");
    Control& frameA = form.AddControl(ControlKind::Frame, "a");
    Control& frameB = form.AddControl(ControlKind::Frame, "b");
    Control& a1 = form.AddControl(ControlKind::OptionButton, "a1", &frameA);
    Control& a2 = form.AddControl(ControlKind::OptionButton, "a2", &frameA);
    Control& b1 = form.AddControl(ControlKind::OptionButton, "b1", &frameB);
    a1.setValue(true);
    b1.setValue(true);
    EXPECT_TRUE(form.Click(a2));
    EXPECT_FALSE(a1.value());
    EXPECT_TRUE(a2.value());
    EXPECT_TRUE(b1.value());
}

// Hidden or disabled controls, or controls in a hidden or disabled frame, take no input.
TEST(Form, OnlyReachableControlsTakeInput) {
    Form form("f");
    Control& frame = form.AddControl(ControlKind::Frame, "frame");
    Control& button = form.AddControl(ControlKind::CommandButton, "button", &frame);
    button.setDefault(true);
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    EXPECT_TRUE(form.PressEnter());
    frame.setEnabled(false);
    EXPECT_FALSE(form.PressEnter());
    frame.setEnabled(true);
    frame.setVisible(false);
    EXPECT_FALSE(form.Click(button));
    EXPECT_EQ(clicks, 1);
}

class CountingForm final : public Form {
  public:
    CountingForm() : Form("counting") {}
    int loads = 0;
    bool refuseClose = true;

  protected:
    void Form_Load() override {
        ++loads;
        Show();  // a load step may show its own form
    }
    void Form_QueryUnload(bool& cancel) override { cancel = refuseClose; }
};

TEST(Form, LoadsOnceAndUnloadsOnlyWhenNotCancelled) {
    ScriptedWindowSystem screen;
    CountingForm form;
    form.Show();
    form.Show();
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(screen.shownModeless(), std::vector<std::string>{"counting"});
    EXPECT_FALSE(form.RequestClose());
    EXPECT_TRUE(form.loaded());
    form.refuseClose = false;
    EXPECT_TRUE(form.RequestClose());
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(screen.unloaded(), std::vector<std::string>{"counting"});
}

}  // namespace
}  // namespace rg::platform
