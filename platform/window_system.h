// The window system as the logic sees it: the requests a Form forwards (show, modal loop,
// unload, focus, select-all) go to the one installed WindowSystem. The Qt front end installs
// its own; tests install a scripted one (tests/support). Message boxes have their own seam
// (platform/message_box.h) and ending the program is platform/process.h.
//
// Contract for implementations:
// * ShowModeless: make the form's window visible; return at once.
// * RunModal: make the form's window visible and modal, and return only once FormUnloaded has
//   been called for it (a nested event loop in Qt; a scripted stand-in runs its script).
// * FormUnloaded: the form has been unloaded: hide and forget its window; end its modal loop.
//   When the last form is unloaded the program's event loop ends and the program returns.
// * SetFocus: give the keyboard focus to the control; report it back with Form::GotFocus once
//   the control holds it (this is what runs the control's focus handler).
// * SelectAllText: put the caret at the start of the focused text box and extend the selection
//   to the end (the key strokes Home, Shift+End).
// Later additions (the open-file dialog, pop-up menus) come as further virtual functions here.
#pragma once

namespace rg::platform {

class Form;
class Control;

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    virtual void ShowModeless(Form& form) = 0;
    virtual void RunModal(Form& form) = 0;
    virtual void FormUnloaded(Form& form) = 0;
    virtual void SetFocus(Form& form, Control& control) = 0;
    virtual void SelectAllText(Form& form, Control& textBox) = 0;
};

// Installs the window system and returns the previous one (nullptr: none). Not owned.
WindowSystem* SetWindowSystem(WindowSystem* windowSystem);

// The installed window system, or a headless one that shows nothing, returns from modal
// loops at once and focuses controls directly.
WindowSystem& CurrentWindowSystem();

}  // namespace rg::platform
