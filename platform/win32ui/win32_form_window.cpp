#include "platform/win32ui/win32_form_window.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/win32ui/win32_artwork.h"
#include "platform/win32ui/win32_geometry.h"
#include "platform/win32ui/win32_list_view.h"

#include <windows.h>

#include <commctrl.h>

namespace rg::platform::win32ui {
namespace {

constexpr char kFrameClass[] = "RavelgardFrame";
constexpr char kPictureClass[] = "RavelgardPicture";
constexpr char kLineClass[] = "RavelgardLine";
// Child ids start above the dialog manager's IDOK and IDCANCEL.
constexpr int kFirstChildId = 1000;

COLORREF ToColorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

FormWindow* FormWindowOf(HWND window) {
    HWND root = ::GetAncestor(window, GA_ROOT);
    return root != nullptr ? reinterpret_cast<FormWindow*>(::GetWindowLongPtrA(root, DWLP_USER))
                           : nullptr;
}

// Frames hold controls: what their controls tell their parent goes on to the form's window.
LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow* owner = FormWindowOf(frame);
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CONTEXTMENU:
            if (owner != nullptr) {
                LRESULT result = 0;
                if (owner->HandleMessage(message, wParam, lParam, result)) {
                    return result;
                }
            }
            break;
        case WM_ERASEBKGND:
            if (owner != nullptr) {
                RECT area{};
                ::GetClientRect(frame, &area);
                HBRUSH brush = ::CreateSolidBrush(owner->BackgroundOf(owner->ControlFor(frame)));
                ::FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
                ::DeleteObject(brush);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return ::DefWindowProcA(frame, message, wParam, lParam);
}

LRESULT CALLBACK PictureProc(HWND picture, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(picture, &paint);
        RECT area{};
        ::GetClientRect(picture, &area);
        FormWindow* owner = FormWindowOf(picture);
        const Control* control = owner != nullptr ? owner->ControlFor(picture) : nullptr;
        if (control != nullptr) {
            HBRUSH brush = ::CreateSolidBrush(owner->BackgroundOf(control));
            ::FillRect(dc, &area, brush);
            ::DeleteObject(brush);
            DrawArtwork(dc, control->pictureId(), area);
        }
        ::EndPaint(picture, &paint);
        return 0;
    }
    return ::DefWindowProcA(picture, message, wParam, lParam);
}

// A separator line: a window one pixel high filled with the line's colour.
LRESULT CALLBACK LineProc(HWND line, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT area{};
        ::GetClientRect(line, &area);
        FormWindow* owner = FormWindowOf(line);
        const Control* control = owner != nullptr ? owner->ControlFor(line) : nullptr;
        const COLORREF colour = control != nullptr && control->backColor() != kSystemColor
                                    ? ToColorRef(control->backColor())
                                    : ::GetSysColor(COLOR_BTNSHADOW);
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
        ::DeleteObject(brush);
        return TRUE;
    }
    return ::DefWindowProcA(line, message, wParam, lParam);
}

void RegisterClasses() {
    static const bool registered = [] {
        HINSTANCE module = ::GetModuleHandleA(nullptr);
        const std::array<std::pair<const char*, WNDPROC>, 3> classes = {
            {{kFrameClass, &FrameProc}, {kPictureClass, &PictureProc}, {kLineClass, &LineProc}}};
        for (const auto& [name, procedure] : classes) {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = procedure;
            windowClass.hInstance = module;
            windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
            windowClass.lpszClassName = name;
            ::RegisterClassA(&windowClass);
        }
        return true;
    }();
    (void)registered;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return FALSE;  // the window system gives the focus once the form is shown
    }
    auto* owner = reinterpret_cast<FormWindow*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    LRESULT result = 0;
    if (owner != nullptr && owner->HandleMessage(message, wParam, lParam, result)) {
        ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
        return message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORDLG ||
                       message == WM_CTLCOLORBTN || message == WM_CTLCOLOREDIT
                   ? static_cast<INT_PTR>(result)
                   : TRUE;
    }
    return FALSE;
}

// An empty dialog template: the controls are created from the form.
struct EmptyDialog {
    DLGTEMPLATE header;
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
};

bool IsOptionAfterOption(const Form& form, std::size_t index) {
    const auto& controls = form.controls();
    if (controls[index]->kind() != ControlKind::OptionButton) {
        return false;
    }
    for (std::size_t i = index; i-- > 0;) {
        if (controls[i]->container() == controls[index]->container()) {
            return controls[i]->kind() == ControlKind::OptionButton;
        }
    }
    return false;
}

}  // namespace

FormWindow::FormWindow(Form& form, HWND owner) : form_(form) {
    RegisterClasses();
    CreateWindowAndControls(owner);
    form_.AddObserver(this);
}

FormWindow::~FormWindow() {
    if (!unloaded_) {
        form_.RemoveObserver(this);
    }
    if (window_ != nullptr) {
        ::SetWindowLongPtrA(window_, DWLP_USER, 0);
        ::DestroyWindow(window_);
    }
    for (const auto& [key, font] : fonts_) {
        ::DeleteObject(font);
    }
    for (const auto& [colour, brush] : brushes_) {
        ::DeleteObject(brush);
    }
}

void FormWindow::CreateWindowAndControls(HWND owner) {
    EmptyDialog dialog{};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
    dialog.header.dwExtendedStyle = WS_EX_CONTROLPARENT;
    window_ = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), &dialog.header, owner,
                                           &DialogProc, reinterpret_cast<LPARAM>(this));
    dpi_ = DpiOf(window_);
    ++applying_;
    for (const auto& control : form_.controls()) {
        CreateChild(*control);
    }
    for (const auto& control : form_.controls()) {
        ApplyAll(*control);
    }
    for (const Property what :
         {Property::Caption, Property::Icon, Property::ClientSize, Property::BackColor}) {
        ApplyFormProperty(what);
    }
    ApplyDefaultButton();
    --applying_;
}

// Creation order is the tab order; a group of option buttons runs from the first one to the
// next control of another kind in the same container, as the dialog manager reads WS_GROUP.
void FormWindow::CreateChild(Control& control) {
    HWND parent = window_;
    if (control.container() != nullptr) {
        parent = WindowFor(*control.container());
        if (parent == nullptr) {
            return;  // inside a menu
        }
    }
    const auto& controls = form_.controls();
    const auto index = static_cast<std::size_t>(
        std::find_if(controls.begin(), controls.end(),
                     [&](const auto& other) { return other.get() == &control; }) -
        controls.begin());
    const int id = kFirstChildId + static_cast<int>(index);
    const DWORD group = IsOptionAfterOption(form_, index) ? 0 : WS_GROUP;
    const char* windowClass = nullptr;
    DWORD style = WS_CHILD | group;
    DWORD extended = 0;
    switch (control.kind()) {
        case ControlKind::Frame:
            windowClass = kFrameClass;
            style |= WS_CLIPSIBLINGS;
            extended = WS_EX_CONTROLPARENT;
            break;
        case ControlKind::Label:
            windowClass = "STATIC";
            break;
        case ControlKind::OptionButton:
            windowClass = "BUTTON";
            style |= BS_RADIOBUTTON | BS_NOTIFY | BS_MULTILINE | BS_TOP;
            break;
        case ControlKind::CommandButton:
            windowClass = "BUTTON";
            style |= BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP;
            break;
        case ControlKind::TextBox:
            windowClass = "EDIT";
            style |=
                ES_AUTOHSCROLL | WS_TABSTOP | (control.passwordChar() != '\0' ? ES_PASSWORD : 0);
            extended = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Picture:
            windowClass = kPictureClass;
            break;
        case ControlKind::Line:
            windowClass = kLineClass;
            break;
        case ControlKind::ListView: {
            HWND list = CreateListView(control, parent, id);
            windows_[&control] = list;
            controls_[list] = &control;
            return;
        }
        case ControlKind::Menu:
        case ControlKind::MenuItem:
            return;
    }
    HWND child = ::CreateWindowExA(extended, windowClass, "", style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    if (control.kind() == ControlKind::TextBox && control.passwordChar() != '\0') {
        ::SendMessageA(child, EM_SETPASSWORDCHAR,
                       static_cast<unsigned char>(control.passwordChar()), 0);
    }
    windows_[&control] = child;
    controls_[child] = &control;
}

HWND FormWindow::WindowFor(const Control& control) const {
    const auto found = windows_.find(&control);
    return found == windows_.end() ? nullptr : found->second;
}

Control* FormWindow::ControlFor(HWND child) const {
    const auto found = controls_.find(child);
    return found == controls_.end() ? nullptr : found->second;
}

void FormWindow::CloseAfterUnload() {
    unloaded_ = true;
    form_.RemoveObserver(this);
    ::ShowWindow(window_, SW_HIDE);
}

void FormWindow::ApplyAll(Control& control) {
    for (const Property what :
         {Property::Font, Property::Bounds, Property::BackColor, Property::Alignment,
          Property::Caption, Property::Text, Property::Value, Property::Picture,
          Property::ListColumns, Property::ListRows, Property::Enabled, Property::Visible}) {
        ApplyControlProperty(control, what);
    }
}

void FormWindow::PropertyChanged(Form&, Control* control, Property what) {
    ++applying_;
    if (control == nullptr) {
        ApplyFormProperty(what);
    } else {
        ApplyControlProperty(*control, what);
    }
    --applying_;
}

void FormWindow::ApplyFormProperty(Property what) {
    switch (what) {
        case Property::Caption:
            ::SetWindowTextA(window_, form_.caption().c_str());
            break;
        case Property::Icon: {
            const int small = ::GetSystemMetrics(SM_CXSMICON) * dpi_ / kBaseDpi;
            const int large = ::GetSystemMetrics(SM_CXICON) * dpi_ / kBaseDpi;
            for (const auto& [kind, size] : {std::pair{ICON_SMALL, small}, {ICON_BIG, large}}) {
                HICON icon = LoadArtworkIcon(form_.iconId(), size);
                const auto old = reinterpret_cast<HICON>(
                    ::SendMessageA(window_, WM_SETICON, static_cast<WPARAM>(kind),
                                   reinterpret_cast<LPARAM>(icon)));
                if (old != nullptr) {
                    ::DestroyIcon(old);
                }
            }
            break;
        }
        case Property::ClientSize: {
            RECT frame{0, 0, TwipsToPixels(form_.clientWidth(), dpi_),
                       TwipsToPixels(form_.clientHeight(), dpi_)};
            ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongA(window_, GWL_STYLE)),
                                 FALSE, static_cast<DWORD>(::GetWindowLongA(window_, GWL_EXSTYLE)));
            ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                           frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case Property::BackColor:
            ::InvalidateRect(window_, nullptr, TRUE);
            break;
        default:
            break;
    }
}

void FormWindow::ApplyControlProperty(Control& control, Property what) {
    HWND child = WindowFor(control);
    if (child == nullptr) {
        return;
    }
    switch (what) {
        case Property::Caption:
            if (control.kind() != ControlKind::TextBox) {
                ::SetWindowTextA(child, control.caption().c_str());
            }
            break;
        case Property::Text:
            if (control.kind() == ControlKind::TextBox) {
                char current[4096] = {};
                ::GetWindowTextA(child, current, sizeof current);
                if (control.text() != current) {  // an echo must not move the caret
                    ::SetWindowTextA(child, control.text().c_str());
                }
            }
            break;
        case Property::Visible:
            if (!control.visible() && ::IsChild(child, ::GetFocus())) {
                // Windows leaves no control of a hidden page focused, so Enter reaches the
                // default button.
                ::SetFocus(window_);
            }
            ::ShowWindow(child, control.visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case Property::Enabled:
            ::EnableWindow(child, control.enabled() ? TRUE : FALSE);
            break;
        case Property::Value:
            ApplyValue(control);
            break;
        case Property::Bounds:
            ApplyGeometry(control);
            break;
        case Property::Font:
            ApplyFont(control);
            break;
        case Property::Picture:
        case Property::BackColor:
            ::InvalidateRect(child, nullptr, TRUE);
            break;
        case Property::Alignment:
            if (control.kind() == ControlKind::Label) {
                const LONG kept =
                    ::GetWindowLongA(child, GWL_STYLE) & ~(SS_LEFT | SS_CENTER | SS_RIGHT);
                const LONG alignment = control.alignment() == TextAlignment::Center  ? SS_CENTER
                                       : control.alignment() == TextAlignment::Right ? SS_RIGHT
                                                                                     : SS_LEFT;
                ::SetWindowLongA(child, GWL_STYLE, kept | alignment);
                ::InvalidateRect(child, nullptr, TRUE);
            }
            break;
        case Property::ListColumns:
            ShowListColumns(control, child, dpi_);
            break;
        case Property::ListRows:
        case Property::ListImages:
            ShowListRows(control, child, dpi_);
            break;
        case Property::ListSelection:
            ShowListSelection(control, child);
            break;
        case Property::Tag:
        case Property::Icon:
        case Property::ClientSize:
            break;
    }
}

// The width a label starting at `left` keeps inside its container; a label wider than its
// container wraps at the container's edge instead of beyond it, where it would be cut off.
void FormWindow::ApplyGeometry(Control& control) {
    HWND child = WindowFor(control);
    if (control.kind() == ControlKind::Line) {
        const LineEnds& ends = control.lineEnds();
        const int x1 = TwipsToPixels(std::min(ends.x1, ends.x2), dpi_);
        const int x2 = TwipsToPixels(std::max(ends.x1, ends.x2), dpi_);
        const int y1 = TwipsToPixels(std::min(ends.y1, ends.y2), dpi_);
        const int y2 = TwipsToPixels(std::max(ends.y1, ends.y2), dpi_);
        ::MoveWindow(child, x1, y1, std::max(1, x2 - x1), std::max(1, y2 - y1), TRUE);
        return;
    }
    RECT rect = PixelRect(control.bounds(), dpi_);
    if (control.kind() == ControlKind::Label) {
        const int containerWidth = control.container() != nullptr
                                       ? control.container()->bounds().width
                                       : form_.clientWidth();
        if (containerWidth > 0) {
            rect.right = std::min<LONG>(rect.right, TwipsToPixels(containerWidth, dpi_));
        }
    }
    ::MoveWindow(child, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void FormWindow::ApplyFont(Control& control) {
    ::SendMessageA(WindowFor(control), WM_SETFONT,
                   reinterpret_cast<WPARAM>(FontFor(control.font())), TRUE);
}

// The model decides which option is selected. Only the selected option of a group is a tab
// stop, so that Tab enters a group at its choice and the arrow keys move within it.
void FormWindow::ApplyValue(Control& control) {
    if (control.kind() != ControlKind::OptionButton) {
        return;
    }
    HWND child = WindowFor(control);
    ::SendMessageA(child, BM_SETCHECK, control.value() ? BST_CHECKED : BST_UNCHECKED, 0);
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    ::SetWindowLongA(child, GWL_STYLE,
                     control.value() ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void FormWindow::ApplyDefaultButton() {
    for (const auto& control : form_.controls()) {
        if (control->kind() == ControlKind::CommandButton && control->isDefault()) {
            ::SendMessageA(window_, DM_SETDEFID,
                           static_cast<WPARAM>(::GetDlgCtrlID(WindowFor(*control))), 0);
        }
    }
}

// A new resolution (the window moved to another monitor): every position and font anew.
void FormWindow::Relayout(int dpi) {
    dpi_ = dpi;
    for (const auto& [key, font] : fonts_) {
        ::DeleteObject(font);
    }
    fonts_.clear();
    ++applying_;
    for (const auto& control : form_.controls()) {
        for (const Property what :
             {Property::Font, Property::Bounds, Property::ListColumns, Property::ListRows}) {
            ApplyControlProperty(*control, what);
        }
    }
    ApplyFormProperty(Property::ClientSize);
    ApplyFormProperty(Property::Icon);
    --applying_;
}

HFONT FormWindow::FontFor(const Font& font) {
    const auto key = std::make_pair(font.pointSize, font.bold);
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        found = fonts_.emplace(key, CreateControlFont(font, dpi_)).first;
    }
    return found->second;
}

HBRUSH FormWindow::BrushFor(COLORREF colour) {
    auto found = brushes_.find(colour);
    if (found == brushes_.end()) {
        found = brushes_.emplace(colour, ::CreateSolidBrush(colour)).first;
    }
    return found->second;
}

COLORREF FormWindow::BackgroundOf(const Control* control) const {
    for (const Control* at = control; at != nullptr; at = at->container()) {
        if (at->backColor() != kSystemColor && at->kind() != ControlKind::CommandButton) {
            return ToColorRef(at->backColor());
        }
    }
    return form_.backColor() != kSystemColor ? ToColorRef(form_.backColor())
                                             : ::GetSysColor(COLOR_BTNFACE);
}

void FormWindow::OnCommand(HWND child, int code) {
    Control* control = ControlFor(child);
    if (control == nullptr || unloaded_) {
        return;
    }
    switch (code) {
        case BN_CLICKED:
            if (control->kind() == ControlKind::CommandButton ||
                control->kind() == ControlKind::OptionButton) {
                form_.Click(*control);
                if (control->kind() == ControlKind::OptionButton && !unloaded_) {
                    ++applying_;
                    ApplyValue(*control);  // the model's choice wins, also over a refusal
                    --applying_;
                }
            }
            break;
        case BN_SETFOCUS:
        case EN_SETFOCUS:
            form_.GotFocus(*control);
            break;
        case EN_CHANGE: {
            std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(child)) + 1, '\0');
            text.resize(static_cast<std::size_t>(
                ::GetWindowTextA(child, text.data(), static_cast<int>(text.size()))));
            if (!form_.TypeText(*control, text)) {
                ++applying_;
                ::SetWindowTextA(child, control->text().c_str());
                --applying_;
            }
            break;
        }
        default:
            break;
    }
}

bool FormWindow::OnNotify(const NMHDR& header) {
    Control* control = ControlFor(header.hwndFrom);
    if (control == nullptr || control->kind() != ControlKind::ListView || unloaded_) {
        return false;
    }
    if (header.code == NM_SETFOCUS) {
        form_.GotFocus(*control);
        return true;
    }
    return HandleListNotify(*control, header.hwndFrom, header);
}

bool FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDCANCEL && lParam == 0) {
                if (!unloaded_) {
                    form_.PressEscape();  // Esc, through the dialog manager
                }
                return true;
            }
            if (id == IDOK && lParam == 0) {
                if (!unloaded_) {
                    form_.PressEnter();
                }
                return true;
            }
            if (applying_ == 0) {
                OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            }
            return true;
        }
        case WM_NOTIFY:
            return applying_ == 0 && OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORDLG: {
            const Control* control =
                message == WM_CTLCOLORDLG ? nullptr : ControlFor(reinterpret_cast<HWND>(lParam));
            const COLORREF colour = BackgroundOf(control);
            ::SetBkColor(reinterpret_cast<HDC>(wParam), colour);
            result = reinterpret_cast<LRESULT>(BrushFor(colour));
            return true;
        }
        case WM_CONTEXTMENU: {
            // The Menu key or Shift+F10 on the focused list (a context-menu request from the
            // keyboard: no mouse position) reaches the form as that key pressed on the list.
            Control* control = ControlFor(reinterpret_cast<HWND>(wParam));
            if (static_cast<DWORD>(lParam) != 0xFFFFFFFF || control == nullptr ||
                control->kind() != ControlKind::ListView || unloaded_) {
                return false;
            }
            const auto down = [](int key) { return (::GetKeyState(key) & 0x8000) != 0; };
            const int shift = (down(VK_SHIFT) ? kShiftKey : 0) | (down(VK_CONTROL) ? kCtrlKey : 0) |
                              (down(VK_MENU) ? kAltKey : 0);
            form_.KeyDown(*control, down(VK_F10) ? kKeyF10 : kKeyApplications, shift);
            return true;
        }
        case WM_CLOSE:
            if (!unloaded_) {
                form_.RequestClose();  // the form may refuse (the exit confirmation)
            }
            return true;
        case WM_DPICHANGED: {
            Relayout(HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                           suggested->right - suggested->left, suggested->bottom - suggested->top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace rg::platform::win32ui
