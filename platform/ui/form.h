// The window model the program's logic drives: a Form (one window) owning an ordered collection
// of Controls, as the program's Windows forms have them. No Qt here: the Qt layer renders a Form
// generically and routes the user's events back; tests drive it through a scripted window system.
//
// Design note for renderers
// -------------------------
// * A Form is created and fully populated by the logic's constructor; controls are never added
//   or removed afterwards (list rows and menus may change their content later). Render every
//   control of Form::controls() once, in that order: it is also the tab order.
// * Geometry is in twips (1/1440 inch); at 96 dpi 15 twips make one pixel. Each control's
//   bounds are relative to its container: the frame it sits in, or the form's client area when
//   container() is null. A Line uses lineEnds() (x1, y1, x2, y2) instead of bounds.
// * A control is shown when it and every container above it are visible.
// * Captions are code page 1252 bytes (platform/codepage.h converts); "&" marks the access key
//   and "&&" shows one "&", exactly as the Windows controls read them. Interpret them when
//   rendering; never rewrite the caption.
// * When a form is shown, the focus goes to FirstFocusable() (the first text box, button or
//   option button in tab order that takes input); report it with GotFocus like any focus.
// * Label captions wrap at the label's width (Windows labels do). Frames are borderless and
//   captionless. A text box with passwordChar() != 0 masks every character with that char.
// * Command buttons: isDefault() is pressed by Enter anywhere in the form, isCancel() by Esc
//   (call Form::Click on that button, or PressEnter()/PressEscape()).
// * Pictures show the resource named by pictureId() (0 = nothing): 1..99 are bitmaps and
//   pictures (kBannerPicture), 101..106 the program's icons, 201..203 the 16 x 16 icons of the
//   three fixed program rows of the wizard's page 5 (201 the web browser, 202 the generic host
//   process svchost.exe, 203 services.exe). Stretch the picture to the control's size.
// * backColor(): an RGB value (0xRRGGBB) or kSystemColor for the platform's dialog colour.
// * Observers receive every property change after it happened (control == nullptr: a property
//   of the form itself). Re-read the property from the model; never cache a stale copy.
// * Events the renderer routes back: Click (buttons, option buttons, menu items), TypeText
//   (every edit of a text box, with the whole new text), GotFocus (a control received the
//   keyboard focus), RequestClose (close box, system menu, Alt+F4). Esc and Enter go through
//   PressEscape()/PressEnter() or a click on the cancel/default button. The logic may answer an
//   event with further requests (focus, message boxes, modal forms) before the call returns.
// * Requests from the logic to the window system go through the WindowSystem interface below
//   (showing, modal loops, unloading, focus, selecting a text box's whole text, pop-up menus,
//   the list view's sub-item hit test, the open-file dialog).
// * List views (report view): columns() gives the header texts and widths (twips); list()
//   holds the rows in display order (text, sub-items for the further columns, the icon key into
//   the attached small-icon image list, the selection and the current row). Show the rows in
//   exactly that order: the logic sorts them itself, and the sub-item hit test answers in it.
//   ListRows, ListSelection and ListImages report the changes; re-read the whole content. The
//   renderer reports the user's selection with SelectListRows (before the mouse release that
//   made it), a header click with ColumnClick (column position from 0) and every mouse release
//   over the list with MouseUp (button 1 left, 2 right, 4 middle; position in twips relative
//   to the list control), and the keys pressed on the focused list with KeyDown (Windows
//   virtual-key code; the Menu key and Shift+F10 open the permission menus).
// * Menus (kind Menu, with their MenuItem controls as children) are never drawn on the form:
//   they only pop up when the logic asks for it (WindowSystem::PopupMenu); a chosen item is
//   reported with Click on the MenuItem. An item whose value() is true shows a check mark.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/list_view.h"

namespace rg::platform {

class Form;
struct LvHitTestInfo;
struct OpenFileRequest;

enum class ControlKind {
    Frame,
    Label,
    OptionButton,
    CommandButton,
    TextBox,
    Picture,
    Line,
    ListView,
    Menu,
    MenuItem,
};

// What changed, as reported to observers.
enum class Property {
    Caption,
    Text,
    Visible,
    Enabled,
    Value,
    Bounds,
    Font,
    Picture,
    Tag,
    BackColor,
    Alignment,
    ListColumns,
    ListRows,       // list views: rows, their order, texts or icon keys
    ListSelection,  // list views: selected rows or the current row
    ListImages,     // list views: the small-icon image list was attached or detached
    Icon,           // form only
    ClientSize,     // form only
};

constexpr int kBannerPicture = 1;  // the banner at the left of every wizard page
constexpr std::uint32_t kSystemColor = 0xFFFFFFFFu;
constexpr std::uint32_t kWhite = 0xFFFFFFu;

// The screen's twips per pixel (Screen.TwipsPerPixelX and Y): 96 dpi.
constexpr int kTwipsPerPixelX = 15;
constexpr int kTwipsPerPixelY = 15;

// Mouse buttons as the mouse events report them (one bit each).
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// The shift state of mouse and key events (one bit each).
constexpr int kShiftKey = 1;
constexpr int kCtrlKey = 2;
constexpr int kAltKey = 4;

// Key codes of the key events: the Windows virtual-key codes.
constexpr int kKeyApplications = 0x5D;  // the Menu key
constexpr int kKeyF10 = 0x79;

enum class TextAlignment { Left, Right, Center };

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Bounds&) const = default;
};

struct LineEnds {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool operator==(const LineEnds&) const = default;
};

struct Font {
    std::string name = "MS Sans Serif";
    double pointSize = 8.25;
    bool bold = false;
    bool operator==(const Font&) const = default;
};

// A column of a report-style list view: fixed header text and width in twips.
struct ListColumn {
    std::string header;
    int width = 0;
    bool operator==(const ListColumn&) const = default;
};

class Control {
  public:
    Control(Form& form, ControlKind kind, std::string name, Control* container);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return form_; }
    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Control* container() const { return container_; }  // nullptr: the form itself

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& text() const { return text_; }  // text boxes
    void setText(std::string text);
    const std::string& tag() const { return tag_; }
    void setTag(std::string tag);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Option buttons: selecting one deselects the other option buttons of the same container.
    bool value() const { return value_; }
    void setValue(bool value);
    const Bounds& bounds() const { return bounds_; }
    void setBounds(const Bounds& bounds);
    const LineEnds& lineEnds() const { return lineEnds_; }
    void setLineEnds(const LineEnds& ends);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    int pictureId() const { return pictureId_; }
    void setPictureId(int id);
    std::uint32_t backColor() const { return backColor_; }
    void setBackColor(std::uint32_t rgb);
    // Labels: where the caption sits within the label's width.
    TextAlignment alignment() const { return alignment_; }
    void setAlignment(TextAlignment alignment);
    const std::vector<ListColumn>& columns() const { return columns_; }
    void setColumns(std::vector<ListColumn> columns);
    // List views: rows, selection, sort state and image list (empty for other kinds).
    ListViewContent& list() { return list_; }
    const ListViewContent& list() const { return list_; }

    // Fixed at creation (no change notification).
    char passwordChar() const { return passwordChar_; }
    void setPasswordChar(char c) { passwordChar_ = c; }
    bool isDefault() const { return isDefault_; }
    void setDefault(bool on) { isDefault_ = on; }
    bool isCancel() const { return isCancel_; }
    void setCancel(bool on) { isCancel_ = on; }

    // True when this control and every container above it are visible.
    bool shownOnForm() const;

    // Event handlers, set by the logic that owns the form (control_Event in Windows terms).
    std::function<void()> onClick;
    std::function<void()> onGotFocus;
    std::function<void()> onChange;
    // List views: a header click (column position from 0) and a mouse release (button, shift
    // state, position in twips relative to the control).
    std::function<void(int column)> onColumnClick;
    std::function<void(int button, int shift, int x, int y)> onMouseUp;
    // A key pressed while the control has the focus (key code, shift state).
    std::function<void(int keyCode, int shift)> onKeyDown;

  private:
    void notify(Property what);
    void deselectSiblings();

    Form& form_;
    ControlKind kind_;
    std::string name_;
    Control* container_;
    std::string caption_;
    std::string text_;
    std::string tag_;
    bool visible_ = true;
    bool enabled_ = true;
    bool value_ = false;
    Bounds bounds_;
    LineEnds lineEnds_;
    Font font_;
    int pictureId_ = 0;
    std::uint32_t backColor_ = kSystemColor;
    TextAlignment alignment_ = TextAlignment::Left;
    std::vector<ListColumn> columns_;
    ListViewContent list_;
    char passwordChar_ = '\0';
    bool isDefault_ = false;
    bool isCancel_ = false;
};

class FormObserver {
  public:
    virtual ~FormObserver() = default;
    // control == nullptr: a property of the form itself changed.
    virtual void PropertyChanged(Form& form, Control* control, Property what) = 0;
};

class Form {
  public:
    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }

    // ---- building (by the logic's constructor) ----
    Control& AddControl(ControlKind kind, std::string name, Control* container = nullptr);

    // ---- the collection, in creation (= tab) order ----
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    Control* Find(std::string_view name) const;
    Control& Get(std::string_view name) const;  // throws std::out_of_range when missing

    // ---- form properties ----
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& tag() const { return tag_; }
    void setTag(std::string tag) { tag_ = std::move(tag); }
    int iconId() const { return iconId_; }
    void setIconId(int id);
    int clientWidth() const { return clientWidth_; }    // twips
    int clientHeight() const { return clientHeight_; }  // twips
    void setClientSize(int widthTwips, int heightTwips);
    std::uint32_t backColor() const { return backColor_; }
    void setBackColor(std::uint32_t rgb);

    bool loaded() const { return loaded_; }
    bool shown() const { return shown_; }
    bool modal() const { return modal_; }
    Control* focused() const { return focused_; }
    // The control that receives the focus when the form is shown (nullptr: none).
    Control* FirstFocusable() const;

    // ---- requests of the logic (forwarded to the window system) ----
    // Loads the form when needed (Form_Load runs once; it may call Show itself) and shows it.
    void Show();
    // Loads the form when needed and runs a modal loop until the form is unloaded.
    void ShowModal();
    // Asks Form_QueryUnload; when not cancelled, runs Form_Unload, hides the form and tells
    // the window system (a modal loop on it ends). Returns true when the form was unloaded.
    bool Unload();
    void SetFocus(Control& control);
    void SelectAllText(Control& textBox);  // the key strokes "{Home}+{End}"
    // Pops the menu up at (x, y) twips relative to `anchor`; a chosen item is clicked before
    // the call returns.
    void PopupMenu(Control& menu, const Control& anchor, int x, int y);
    // LVM_SUBITEMHITTEST sent to the list: fills iItem, iSubItem and flags for info's pixel point.
    void SubItemHitTest(const Control& list, LvHitTestInfo& info);
    // Where a cell of the list is drawn: its top left corner in twips relative to the list;
    // false when the window system cannot tell (the row is not shown, or no window).
    bool ListCellOrigin(const Control& list, int row, int column, int& x, int& y);
    // The open-file dialog: the chosen full path, or nothing for a cancel.
    std::optional<std::string> ShowOpenFileDialog(const OpenFileRequest& request);

    // ---- events (called by the renderer or a test) ----
    // Each returns false when the control could not take the event (hidden or disabled).
    bool Click(Control& control);
    bool TypeText(Control& textBox, std::string text);
    bool GotFocus(Control& control);
    bool PressEnter();    // the enabled default button, if any
    bool PressEscape();   // the enabled cancel button, if any
    bool RequestClose();  // close box, system menu: same as Unload()
    // List views: the user's selection (positions in display order; current -1: none), a
    // header click and a mouse release. Positions and columns out of range are refused (false).
    bool SelectListRows(Control& list, const std::vector<std::size_t>& selected, int current);
    bool ColumnClick(Control& list, int column);
    bool MouseUp(Control& control, int button, int shift, int x, int y);
    bool KeyDown(Control& control, int keyCode, int shift);

    // ---- observers ----
    void AddObserver(FormObserver* observer);
    void RemoveObserver(FormObserver* observer);
    void NotifyChanged(Control* control, Property what);

  protected:
    // Form_Load, Form_QueryUnload (set cancel to keep the form), Form_Unload.
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(bool& /*cancel*/) {}
    virtual void Form_Unload() {}

  private:
    void EnsureLoaded();
    Control* FindButton(bool defaultRole) const;

    std::string name_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<FormObserver*> observers_;
    std::string caption_;
    std::string tag_;
    int iconId_ = 0;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    std::uint32_t backColor_ = kSystemColor;
    bool loaded_ = false;
    bool shown_ = false;
    bool modal_ = false;
    Control* focused_ = nullptr;
};

}  // namespace rg::platform
