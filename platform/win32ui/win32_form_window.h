// One form of the logic on screen: a dialog window (so that the dialog manager gives Tab, the
// arrow keys within option groups, access keys, Enter for the default button and Esc for
// Cancel) whose child windows mirror the form's controls. It watches the form for property
// changes and routes the user's clicks, typing, focus, list events and the close box back to
// the form; it decides nothing itself.
#pragma once

#include <map>
#include <unordered_map>
#include <utility>

#include "platform/ui/form.h"

#include <windows.h>

namespace rg::platform::win32ui {

class FormWindow final : public FormObserver {
  public:
    FormWindow(Form& form, HWND owner);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    Form& form() const { return form_; }
    HWND window() const { return window_; }
    int dpi() const { return dpi_; }
    // The child window of the control; nullptr for menus and items.
    HWND WindowFor(const Control& control) const;
    // The control a child window shows, or nullptr.
    Control* ControlFor(HWND child) const;

    // The form has been unloaded: the window goes without asking the form again.
    void CloseAfterUnload();

    void PropertyChanged(Form& form, Control* control, Property what) override;

    // The dialog procedure's work, also for the messages the frames pass up. Returns true when
    // the message was handled; `result` is then the answer.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The colour a control (or the form, for nullptr) is painted with, as a Windows COLORREF.
    COLORREF BackgroundOf(const Control* control) const;

  private:
    void CreateWindowAndControls(HWND owner);
    void CreateChild(Control& control);
    void ApplyAll(Control& control);
    void ApplyFormProperty(Property what);
    void ApplyControlProperty(Control& control, Property what);
    void ApplyGeometry(Control& control);
    void ApplyFont(Control& control);
    void ApplyValue(Control& control);
    void ApplyDefaultButton();
    void Relayout(int dpi);
    void OnCommand(HWND child, int code);
    bool OnNotify(const NMHDR& header);
    HBRUSH BrushFor(COLORREF colour);
    HFONT FontFor(const Font& font);

    Form& form_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    bool unloaded_ = false;
    // Set while the window shows the model, so that the notifications this causes are not
    // taken for the user's doing.
    int applying_ = 0;
    std::unordered_map<const Control*, HWND> windows_;
    std::unordered_map<HWND, Control*> controls_;
    std::map<std::pair<double, bool>, HFONT> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace rg::platform::win32ui
