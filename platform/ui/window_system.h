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
// * PopupMenu: show the menu's items at (x, y) twips relative to the anchor control and wait
//   for the user; a chosen item is reported with Form::Click on it before the call returns.
// * SubItemHitTest: answer LVM_SUBITEMHITTEST for the list as it is on screen: info.pt in
//   pixels relative to the list's client area (the header included); fill iItem (row position
//   in display order, -1 for none), iSubItem (column position) and flags.
// * ListCellOrigin: the top left corner of a cell of the list as it is drawn, in twips
//   relative to the list control; false when the row is not shown.
// * ShowOpenFileDialog: a modal open-file dialog with the request's title and filter ("text|
//   patterns" pairs joined by "|", patterns separated by ";"); the chosen file's full path in
//   code page 1252, or nothing when the user cancelled.
// These have defaults that show nothing: no menu, no hit, no cell, a cancelled dialog.
#pragma once

#include <optional>
#include <string>

namespace rg::platform {

class Form;
class Control;

// LVHITTESTINFO of the sub-item hit test: five 32-bit fields.
struct LvHitTestInfo {
    int x = 0;  // pt.x, pixels
    int y = 0;  // pt.y, pixels
    unsigned flags = 0;
    int iItem = -1;
    int iSubItem = -1;
};
constexpr unsigned LVM_SUBITEMHITTEST = 0x1039;
constexpr unsigned LVHT_NOWHERE = 0x1;
constexpr unsigned LVHT_ONITEMICON = 0x2;
constexpr unsigned LVHT_ONITEMLABEL = 0x4;
constexpr unsigned LVHT_ONITEMSTATEICON = 0x8;
constexpr unsigned LVHT_ONITEM = 0xE;

struct OpenFileRequest {
    std::string title;
    std::string filter;
};

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    virtual void ShowModeless(Form& form) = 0;
    virtual void RunModal(Form& form) = 0;
    virtual void FormUnloaded(Form& form) = 0;
    virtual void SetFocus(Form& form, Control& control) = 0;
    virtual void SelectAllText(Form& form, Control& textBox) = 0;
    virtual void PopupMenu(Form& form, Control& menu, const Control& anchor, int x, int y);
    virtual void SubItemHitTest(Form& form, const Control& list, LvHitTestInfo& info);
    virtual bool ListCellOrigin(Form& form, const Control& list, int row, int column, int& x,
                                int& y);
    virtual std::optional<std::string> ShowOpenFileDialog(Form& form,
                                                          const OpenFileRequest& request);
};

// Installs the window system and returns the previous one (nullptr: none). Not owned.
WindowSystem* SetWindowSystem(WindowSystem* windowSystem);

// The installed window system, or a headless one that shows nothing, returns from modal
// loops at once and focuses controls directly.
WindowSystem& CurrentWindowSystem();

}  // namespace rg::platform
