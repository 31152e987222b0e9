// Every caption of every window fits its control on the native controls: each label, option
// button and command button of the wizard window (every page, and Next as it reads on the last
// page) and of the login prompt, with the language file and with the built-in texts, at 96 and
// at 192 dots per inch. The window moves to 192 dpi the way a window dragged to such a monitor
// does (WM_DPICHANGED): every control rectangle and font is then the renderer's own for 192 dpi.
// The text is measured with the control's own font, laid out as the control lays it out:
//   * labels (static controls) wrap at their client width (DT_WORDBREAK), left or centred;
//   * option buttons (BS_MULTILINE | BS_TOP) draw their round box, 12 * dpi / 96 + 1 pixels
//     wide, then a gap of half the width of "0", and wrap the text in what is left, with a text
//     margin of one pixel on each side;
//   * command buttons keep their text on one line inside the frame, which the label leaves two
//     pixels inside, plus the one-pixel text margin and the one-pixel ring of the default button
//     (any button is the default one while it has the focus).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>

#include "platform/win32ui/win32_window_system.h"
#include "services/language.h"
#include "startup/globals.h"
#include "startup/login_form.h"
#include "wizard/startup_main_form.h"

#include <windows.h>

#include <commctrl.h>

namespace rg::test {
namespace {

using platform::Control;
using platform::ControlKind;
using platform::win32ui::FormWindow;
using platform::win32ui::Win32WindowSystem;

// A caption that needs more room than its control gives it (pixels).
struct Misfit {
    std::string form;
    std::string control;
    std::string text;
    SIZE needed;
    SIZE available;
    std::string coveredBy;  // the control the text runs under, if that is what cuts it off
    bool operator<(const Misfit& other) const {
        return std::tie(form, control, text) < std::tie(other.form, other.control, other.text);
    }
};

std::string Describe(const std::set<Misfit>& misfits, int dpi) {
    std::ostringstream lines;
    lines << "captions cut off at " << dpi << " dpi:";
    for (const Misfit& misfit : misfits) {
        lines << "\n  " << misfit.form << '.' << misfit.control << " \"" << misfit.text
              << "\": needs " << misfit.needed.cx << " x " << misfit.needed.cy << ", has "
              << misfit.available.cx << " x " << misfit.available.cy;
        if (!misfit.coveredBy.empty()) {
            lines << " (up to " << misfit.coveredBy << ')';
        }
    }
    return lines.str();
}

// The text's extent when DrawText lays it out `width` pixels wide with `flags`.
SIZE TextExtent(HWND control, const std::string& text, int width, UINT flags) {
    HDC dc = ::GetDC(control);
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = ::SelectObject(dc, font);
    RECT rect{0, 0, width, 0};
    ::DrawTextA(dc, text.c_str(), -1, &rect, flags | DT_CALCRECT);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

int HalfZeroWidth(HWND control) {
    HDC dc = ::GetDC(control);
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = ::SelectObject(dc, font);
    INT width = 0;
    ::GetCharWidth32A(dc, '0', '0', &width);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return width / 2;
}

// The room a control gives its caption, the size the caption needs there and where the laid-out
// text lands (client coordinates of the control), in pixels.
struct Measure {
    SIZE needed;
    SIZE available;
    RECT text;
};

RECT Placed(LONG left, LONG top, SIZE size) {
    return RECT{left, top, left + size.cx, top + size.cy};
}

Measure MeasureControl(const Control& control, HWND child, int dpi) {
    RECT client{};
    ::GetClientRect(child, &client);
    const SIZE room{client.right, client.bottom};
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(child)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(child, text.data(), static_cast<int>(text.size()))));
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    switch (control.kind()) {
        case ControlKind::Label: {
            UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
            const LONG alignment = style & SS_TYPEMASK;
            flags |= alignment == SS_CENTER ? DT_CENTER : alignment == SS_RIGHT ? DT_RIGHT : 0;
            flags |= (style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0;
            const SIZE extent = TextExtent(child, text, room.cx, flags);
            const LONG left = alignment == SS_CENTER  ? (room.cx - extent.cx) / 2
                              : alignment == SS_RIGHT ? room.cx - extent.cx
                                                      : 0;
            return {extent, room, Placed(left, 0, extent)};
        }
        case ControlKind::OptionButton: {
            const int box = 12 * dpi / 96 + 1;
            const int offset = box + HalfZeroWidth(child);
            const UINT flags = (style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
            const SIZE text_ = TextExtent(child, text, room.cx - offset - 2, flags);
            return {SIZE{offset + text_.cx + 2, text_.cy + 2}, room, Placed(offset + 1, 1, text_)};
        }
        case ControlKind::CommandButton: {
            constexpr int kInset = 2 + 1 + 1;  // frame, default ring, text margin
            const SIZE text_ = TextExtent(child, text, 0, DT_SINGLELINE);
            return {SIZE{text_.cx + 2 * kInset, text_.cy + 2 * kInset}, room,
                    Placed((room.cx - text_.cx) / 2, (room.cy - text_.cy) / 2, text_)};
        }
        default:
            return {SIZE{}, SIZE{}, RECT{}};
    }
}

// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Every caption of the form's window that needs more room than its control gives it, or that
// runs on under another shown control of the same container (a list, a text box, the next
// label) that covers it. Frames are captionless: a caption on one would not be shown at all.
std::set<Misfit> Misfits(const platform::Form& form, const FormWindow& window, int& measured) {
    std::set<Misfit> misfits;
    for (const auto& control : form.controls()) {
        Measure measure;
        switch (control->kind()) {
            case ControlKind::Frame:
                measure = {SIZE{control->caption().empty() ? 0 : 1, 0}, SIZE{}, RECT{}};
                break;
            case ControlKind::Label:
            case ControlKind::OptionButton:
            case ControlKind::CommandButton: {
                HWND child = window.WindowFor(*control);
                if (child == nullptr) {
                    ADD_FAILURE() << control->name() << " has no window";
                    continue;
                }
                measure = MeasureControl(*control, child, window.dpi());
                break;
            }
            default:
                continue;
        }
        ++measured;
        if (measure.needed.cx > measure.available.cx || measure.needed.cy > measure.available.cy) {
            misfits.insert({form.name(), control->name(), control->caption(), measure.needed,
                            measure.available, ""});
        } else if (HWND child = window.WindowFor(*control);
                   child != nullptr && measure.text.right > measure.text.left) {
            // Within its own box, but running on under another shown control of the same
            // container that begins below the text's top or right of its left edge?
            const RECT box = RectInParent(child);
            RECT shown = measure.text;
            ::OffsetRect(&shown, box.left, box.top);
            for (const auto& other : form.controls()) {
                HWND otherChild = window.WindowFor(*other);
                if (other == control || other->container() != control->container() ||
                    !other->visible() || otherChild == nullptr) {
                    continue;
                }
                const RECT cover = RectInParent(otherChild);
                RECT overlap{};
                if (!::IntersectRect(&overlap, &shown, &cover) ||
                    (cover.top <= shown.top && cover.left <= shown.left)) {
                    continue;
                }
                const SIZE room =
                    cover.top > shown.top
                        ? SIZE{measure.available.cx, cover.top - box.top}
                        : SIZE{std::max<LONG>(0, cover.left - box.left), measure.available.cy};
                misfits.insert({form.name(), control->name(), control->caption(), measure.needed,
                                room, other->name()});
            }
        }
    }
    return misfits;
}

int CaptionedControls(const platform::Form& form) {
    return static_cast<int>(
        std::count_if(form.controls().begin(), form.controls().end(), [](const auto& control) {
            const ControlKind kind = control->kind();
            return kind == ControlKind::Frame || kind == ControlKind::Label ||
                   kind == ControlKind::OptionButton || kind == ControlKind::CommandButton;
        }));
}

class CaptionFitTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES;
        ::InitCommonControlsEx(&controls);
        StoredPassword.clear();
        platform::SetWindowSystem(windows_.get());
    }
    void TearDown() override {
        windows_.reset();  // the windows go before their forms
        platform::SetWindowSystem(nullptr);
    }

    // Opens the form and moves its window to the test's resolution.
    template <typename F>
    F& Open(const char* languageFile) {
        LangFilePath = languageFile;
        auto form = std::make_unique<F>();
        F& shown = *form;
        form_ = std::move(form);
        shown.Show();
        FormWindow* window = windows_->WindowFor(shown);
        if (window == nullptr) {
            ADD_FAILURE() << shown.name() << " has no window";
            return shown;
        }
        const int dpi = GetParam();
        if (window->dpi() != dpi) {
            RECT frame{};
            ::GetWindowRect(window->window(), &frame);
            ::SendMessageA(window->window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                           reinterpret_cast<LPARAM>(&frame));
        }
        EXPECT_EQ(window->dpi(), dpi);
        return shown;
    }

    const FormWindow& WindowOf(const platform::Form& form) const {
        const FormWindow* window = windows_->WindowFor(form);
        if (window == nullptr) {
            throw std::logic_error(form.name() + " has no window");
        }
        return *window;
    }

    // The wizard window as it opens, then with its last page shown (Next reads "Finish" there).
    void ExpectWizardCaptionsFit(const char* languageFile) {
        auto& wizard = Open<StartupMainForm>(languageFile);
        int measured = 0;
        std::set<Misfit> misfits = Misfits(wizard, WindowOf(wizard), measured);
        wizard.ShowPage9();
        misfits.merge(Misfits(wizard, WindowOf(wizard), measured));
        EXPECT_EQ(measured, 2 * CaptionedControls(wizard));
        EXPECT_TRUE(misfits.empty()) << Describe(misfits, GetParam());
    }

    std::unique_ptr<platform::Form> form_;
    std::unique_ptr<Win32WindowSystem> windows_ = std::make_unique<Win32WindowSystem>();
};

TEST_P(CaptionFitTest, TheWizardsCaptionsFitWithTheLanguageFile) {
    ExpectWizardCaptionsFit(RG_LANGUAGE_FILE);
}

TEST_P(CaptionFitTest, TheWizardsBuiltInCaptionsFit) {
    ExpectWizardCaptionsFit(RG_MISSING_LANGUAGE_FILE);
}

TEST_P(CaptionFitTest, TheLoginPromptsCaptionsFit) {
    auto& prompt = Open<LoginForm>(RG_LANGUAGE_FILE);
    int measured = 0;
    const std::set<Misfit> misfits = Misfits(prompt, WindowOf(prompt), measured);
    EXPECT_EQ(measured, 3);
    EXPECT_TRUE(misfits.empty()) << Describe(misfits, GetParam());
}

// A label one line too short, a button too narrow for its text, an option whose text needs more
// lines than its box has, a label whose text runs on under the next label: each is reported with
// what it needs and what it has.
TEST_P(CaptionFitTest, ABoxTooSmallForItsCaptionIsReported) {
    auto& wizard = Open<StartupMainForm>(RG_LANGUAGE_FILE);
    wizard.Get("lbPage3Header2").setBounds({120, 600, 5205, 240});  // two lines' text in one line
    wizard.Get("cmdAdd").setBounds({4290, 1230, 300, 315});         // "Add" in 20 pixels
    wizard.Get("optAlertDoNot").setBounds({120, 1590, 1500, 255});  // needs three lines here
    wizard.Get("lbPage1Desc1").setBounds({120, 1290, 5505, 705});   // over lbPage1Desc's text
    int measured = 0;
    const std::set<Misfit> misfits = Misfits(wizard, WindowOf(wizard), measured);
    std::set<std::string> names;
    for (const Misfit& misfit : misfits) {
        names.insert(misfit.control);
        EXPECT_TRUE(misfit.needed.cx > misfit.available.cx ||
                    misfit.needed.cy > misfit.available.cy);
    }
    EXPECT_EQ(names,
              (std::set<std::string>{"cmdAdd", "lbPage1Desc", "lbPage3Header2", "optAlertDoNot"}));
    const auto covered = std::find_if(misfits.begin(), misfits.end(), [](const Misfit& misfit) {
        return misfit.control == "lbPage1Desc";
    });
    ASSERT_NE(covered, misfits.end());
    EXPECT_EQ(covered->coveredBy, "lbPage1Desc1");
    EXPECT_EQ(covered->available.cy,
              ::MulDiv(1290, GetParam(), 1440) - ::MulDiv(1080, GetParam(), 1440));
    const auto header = std::find_if(misfits.begin(), misfits.end(), [](const Misfit& misfit) {
        return misfit.control == "lbPage3Header2";
    });
    ASSERT_NE(header, misfits.end());
    EXPECT_EQ(header->form, "frmStartupMain");
    EXPECT_EQ(header->text, GetLangString("5302", ""));
    EXPECT_EQ(header->available.cy,
              ::MulDiv(600 + 240, GetParam(), 1440) - ::MulDiv(600, GetParam(), 1440));
    TEXTMETRICA metrics{};
    HWND label = WindowOf(wizard).WindowFor(wizard.Get("lbPage3Header2"));
    HDC dc = ::GetDC(label);
    HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)));
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(label, dc);
    EXPECT_GE(header->needed.cy, 2 * metrics.tmHeight);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, CaptionFitTest, ::testing::Values(96, 192),
                         [](const ::testing::TestParamInfo<int>& resolution) {
                             return std::to_string(resolution.param) + "dpi";
                         });

}  // namespace
}  // namespace rg::test
