// Every caption of every window fits its control on the native controls: the wizard window as it
// opens and on its last page (Next reads "Finish" there), with the language file and with the
// built-in texts, and the login prompt, at 96 and at 192 dots per inch. The window moves to
// 192 dpi the way a window dragged to such a monitor does (WM_DPICHANGED). The text is measured
// with the control's own font, laid out as the control lays it out:
//   * labels (static controls) wrap at their client width (DT_WORDBREAK), left or centred;
//   * option buttons (BS_MULTILINE | BS_TOP) draw their round box, 12 * dpi / 96 + 1 pixels
//     wide, then a gap of half the width of "0", and wrap the text in what is left, with a text
//     margin of one pixel on each side;
//   * command buttons keep their text on one line inside the frame, which the label leaves two
//     pixels inside, plus the one-pixel text margin and the one-pixel ring of the default button
//     (any button is the default one while it has the focus).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/win32ui/win32_window_system.h"
#include "startup/globals.h"
#include "startup/login_form.h"
#include "tests/support/caption_check.h"
#include "wizard/startup_main_form.h"

#include <windows.h>

#include <commctrl.h>

namespace rg::test {
namespace {

using platform::Control;
using platform::ControlKind;
using platform::win32ui::FormWindow;

// The text's extent when DrawText lays it out `width` pixels wide with `flags`, in the
// control's font.
SIZE TextExtent(HWND control, const std::string& text, int width, UINT flags) {
    HDC dc = ::GetDC(control);
    HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    ::DrawTextA(dc, text.c_str(), -1, &rect, flags | DT_CALCRECT);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

class CaptionFitTest : public ::testing::TestWithParam<int>, public CaptionRenderer {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        StoredPassword.clear();
    }
    void TearDown() override {
        windows_.reset();  // the windows go before their forms
        platform::SetWindowSystem(nullptr);
    }

    // Opens the form in a new window system and moves its window to the test's resolution.
    template <typename F>
    F& Open(const char* languageFile) {
        windows_ = std::make_unique<platform::win32ui::Win32WindowSystem>();
        platform::SetWindowSystem(windows_.get());
        LangFilePath = languageFile;
        form_ = std::make_unique<F>();
        form_->Show();
        FormWindow* window = windows_->WindowFor(*form_);
        if (window != nullptr && window->dpi() != GetParam()) {
            RECT frame{};
            ::GetWindowRect(window->window(), &frame);
            ::SendMessageA(window->window(), WM_DPICHANGED, MAKEWPARAM(GetParam(), GetParam()),
                           reinterpret_cast<LPARAM>(&frame));
        }
        EXPECT_EQ(window != nullptr ? window->dpi() : 0, GetParam());
        return static_cast<F&>(*form_);
    }

    HWND WindowOf(const Control& control) const {
        const FormWindow* window = windows_->WindowFor(control.form());
        return window != nullptr ? window->WindowFor(control) : nullptr;
    }

    std::optional<PixelBox> Box(const Control& control) const override {
        HWND child = WindowOf(control);
        if (child == nullptr) {
            return std::nullopt;
        }
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
        return PixelBox{rect.left, rect.top, rect.right, rect.bottom};
    }

    std::optional<CaptionLayout> Layout(const Control& control) const override {
        const std::optional<PixelBox> box = Box(control);
        if (!box) {
            return std::nullopt;
        }
        HWND child = WindowOf(control);
        RECT client{};
        ::GetClientRect(child, &client);
        const std::string& text = control.caption();
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        SIZE extent{};
        POINT at{};    // where the text begins in the control
        SIZE frame{};  // the room the control needs besides the text
        if (control.kind() == ControlKind::Label) {
            const LONG alignment = style & SS_TYPEMASK;
            extent =
                TextExtent(child, text, client.right,
                           DT_WORDBREAK | DT_EXPANDTABS | (alignment == SS_CENTER ? DT_CENTER : 0) |
                               (alignment == SS_RIGHT ? DT_RIGHT : 0) |
                               ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0));
            at.x = alignment == SS_CENTER  ? (client.right - extent.cx) / 2
                   : alignment == SS_RIGHT ? client.right - extent.cx
                                           : 0;
        } else if (control.kind() == ControlKind::OptionButton) {
            const int offset =
                12 * GetParam() / 96 + 1 + TextExtent(child, "0", 0, DT_SINGLELINE).cx / 2;
            extent = TextExtent(child, text, client.right - offset - 2,
                                (style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE);
            at = {offset + 1, 1};
            frame = {offset + 2, 2};
        } else {
            constexpr int kInset = 2 + 1 + 1;  // frame, default ring, text margin
            extent = TextExtent(child, text, 0, DT_SINGLELINE);
            at = {(client.right - extent.cx) / 2, (client.bottom - extent.cy) / 2};
            frame = {2 * kInset, 2 * kInset};
        }
        const PixelBox shown{box->left + at.x, box->top + at.y, box->left + at.x + extent.cx,
                             box->top + at.y + extent.cy};
        return CaptionLayout{
            {extent.cx + frame.cx, extent.cy + frame.cy}, {client.right, client.bottom}, shown};
    }

    std::unique_ptr<platform::Form> form_;
    std::unique_ptr<platform::win32ui::Win32WindowSystem> windows_;
};

TEST_P(CaptionFitTest, EveryCaptionFitsAndASqueezedOneIsReported) {
    std::string cutOff;
    for (const char* languageFile : {RG_LANGUAGE_FILE, RG_MISSING_LANGUAGE_FILE}) {
        auto& wizard = Open<StartupMainForm>(languageFile);
        cutOff += CutOffCaptions(wizard, *this);
        wizard.ShowPage9();
        cutOff += CutOffCaptions(wizard, *this);
    }
    cutOff += CutOffCaptions(Open<LoginForm>(RG_LANGUAGE_FILE), *this);
    EXPECT_EQ(cutOff, "") << "at " << GetParam() << " dpi";
    EXPECT_EQ(SqueezedWizardCaptions(Open<StartupMainForm>(RG_LANGUAGE_FILE), *this),
              "cmdAdd, lbPage1Desc under lbPage1Desc1, lbPage3Header2, optAlertDoNot");
}

INSTANTIATE_TEST_SUITE_P(Resolutions, CaptionFitTest, ::testing::Values(96, 192),
                         [](const ::testing::TestParamInfo<int>& resolution) {
                             return std::to_string(resolution.param) + "dpi";
                         });

}  // namespace
}  // namespace rg::test
