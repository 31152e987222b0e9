#include "platform/ui/form.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/ui/window_system.h"

namespace rg::platform {

// ---------------------------------------------------------------- Control

namespace {

Property ListProperty(ListChange change) {
    switch (change) {
        case ListChange::Rows:
            return Property::ListRows;
        case ListChange::Selection:
            return Property::ListSelection;
        case ListChange::Images:
            return Property::ListImages;
    }
    return Property::ListRows;
}

}  // namespace

Control::Control(Form& form, ControlKind kind, std::string name, Control* container)
    : form_(form),
      kind_(kind),
      name_(std::move(name)),
      container_(container),
      list_([this](ListChange change) { notify(ListProperty(change)); }) {}

void Control::notify(Property what) {
    form_.NotifyChanged(this, what);
}

void Control::setCaption(std::string caption) {
    if (caption_ != caption) {
        caption_ = std::move(caption);
        notify(Property::Caption);
    }
}

void Control::setText(std::string text) {
    if (text_ != text) {
        text_ = std::move(text);
        notify(Property::Text);
    }
}

void Control::setTag(std::string tag) {
    if (tag_ != tag) {
        tag_ = std::move(tag);
        notify(Property::Tag);
    }
}

void Control::setVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        notify(Property::Visible);
    }
}

void Control::setEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        notify(Property::Enabled);
    }
}

void Control::setValue(bool value) {
    if (value && kind_ == ControlKind::OptionButton) {
        deselectSiblings();
    }
    if (value_ != value) {
        value_ = value;
        notify(Property::Value);
    }
}

// Option buttons form one group per container, as on Windows.
void Control::deselectSiblings() {
    for (const auto& other : form_.controls()) {
        if (other.get() != this && other->kind_ == ControlKind::OptionButton &&
            other->container_ == container_ && other->value_) {
            other->value_ = false;
            other->notify(Property::Value);
        }
    }
}

void Control::setBounds(const Bounds& bounds) {
    if (bounds_ != bounds) {
        bounds_ = bounds;
        notify(Property::Bounds);
    }
}

void Control::setLineEnds(const LineEnds& ends) {
    if (lineEnds_ != ends) {
        lineEnds_ = ends;
        notify(Property::Bounds);
    }
}

void Control::setFont(const Font& font) {
    if (font_ != font) {
        font_ = font;
        notify(Property::Font);
    }
}

// Loading a picture notifies even when the id is unchanged: the page initialisers reload the
// page icon each time a page is shown, and a renderer may want to repaint.
void Control::setPictureId(int id) {
    pictureId_ = id;
    notify(Property::Picture);
}

void Control::setBackColor(std::uint32_t rgb) {
    if (backColor_ != rgb) {
        backColor_ = rgb;
        notify(Property::BackColor);
    }
}

void Control::setAlignment(TextAlignment alignment) {
    if (alignment_ != alignment) {
        alignment_ = alignment;
        notify(Property::Alignment);
    }
}

void Control::setColumns(std::vector<ListColumn> columns) {
    if (columns_ != columns) {
        columns_ = std::move(columns);
        notify(Property::ListColumns);
    }
}

bool Control::shownOnForm() const {
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->visible_) {
            return false;
        }
    }
    return true;
}

namespace {

// A control takes input only when it and its containers are visible and enabled.
bool TakesInput(const Control& control) {
    for (const Control* c = &control; c != nullptr; c = c->container()) {
        if (!c->visible() || !c->enabled()) {
            return false;
        }
    }
    return true;
}

void Run(const std::function<void()>& handler) {
    if (handler) {
        handler();
    }
}

}  // namespace

// ---------------------------------------------------------------- Form

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() = default;

Control& Form::AddControl(ControlKind kind, std::string name, Control* container) {
    controls_.push_back(std::make_unique<Control>(*this, kind, std::move(name), container));
    return *controls_.back();
}

Control* Form::Find(std::string_view name) const {
    for (const auto& control : controls_) {
        if (control->name() == name) {
            return control.get();
        }
    }
    return nullptr;
}

Control& Form::Get(std::string_view name) const {
    Control* control = Find(name);
    if (control == nullptr) {
        throw std::out_of_range("no control " + std::string(name) + " on " + name_);
    }
    return *control;
}

void Form::setCaption(std::string caption) {
    if (caption_ != caption) {
        caption_ = std::move(caption);
        NotifyChanged(nullptr, Property::Caption);
    }
}

void Form::setIconId(int id) {
    iconId_ = id;
    NotifyChanged(nullptr, Property::Icon);
}

void Form::setClientSize(int widthTwips, int heightTwips) {
    clientWidth_ = widthTwips;
    clientHeight_ = heightTwips;
    NotifyChanged(nullptr, Property::ClientSize);
}

void Form::setBackColor(std::uint32_t rgb) {
    backColor_ = rgb;
    NotifyChanged(nullptr, Property::BackColor);
}

// loaded_ is set before Form_Load runs, so that a Show() inside Form_Load shows the form
// instead of loading it a second time.
void Form::EnsureLoaded() {
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
}

void Form::Show() {
    EnsureLoaded();
    if (loaded_ && !shown_) {
        shown_ = true;
        CurrentWindowSystem().ShowModeless(*this);
    }
}

void Form::ShowModal() {
    EnsureLoaded();
    if (!loaded_) {
        return;  // Form_Load unloaded the form again
    }
    shown_ = true;
    modal_ = true;
    CurrentWindowSystem().RunModal(*this);
    modal_ = false;
}

bool Form::Unload() {
    if (!loaded_) {
        return true;
    }
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        return false;
    }
    Form_Unload();
    loaded_ = false;
    shown_ = false;
    focused_ = nullptr;
    CurrentWindowSystem().FormUnloaded(*this);
    return true;
}

void Form::SetFocus(Control& control) {
    CurrentWindowSystem().SetFocus(*this, control);
}

void Form::SelectAllText(Control& textBox) {
    CurrentWindowSystem().SelectAllText(*this, textBox);
}

void Form::PopupMenu(Control& menu, const Control& anchor, int x, int y) {
    CurrentWindowSystem().PopupMenu(*this, menu, anchor, x, y);
}

bool Form::ListCellOrigin(const Control& list, int row, int column, int& x, int& y) {
    return CurrentWindowSystem().ListCellOrigin(*this, list, row, column, x, y);
}

void Form::SubItemHitTest(const Control& list, LvHitTestInfo& info) {
    CurrentWindowSystem().SubItemHitTest(*this, list, info);
}

std::optional<std::string> Form::ShowOpenFileDialog(const OpenFileRequest& request) {
    return CurrentWindowSystem().ShowOpenFileDialog(*this, request);
}

bool Form::SelectListRows(Control& list, const std::vector<std::size_t>& selected, int current) {
    if (list.kind() != ControlKind::ListView || !TakesInput(list)) {
        return false;
    }
    const std::size_t count = list.list().count();
    const bool inRange =
        current < static_cast<int>(count) &&
        std::all_of(selected.begin(), selected.end(), [count](std::size_t i) { return i < count; });
    if (!inRange || current < -1) {
        return false;
    }
    list.list().Select(selected, current);
    return true;
}

bool Form::ColumnClick(Control& list, int column) {
    if (list.kind() != ControlKind::ListView || !TakesInput(list) || column < 0 ||
        column >= static_cast<int>(list.columns().size())) {
        return false;
    }
    if (list.onColumnClick) {
        list.onColumnClick(column);
    }
    return true;
}

bool Form::MouseUp(Control& control, int button, int shift, int x, int y) {
    if (!TakesInput(control)) {
        return false;
    }
    if (control.onMouseUp) {
        control.onMouseUp(button, shift, x, y);
    }
    return true;
}

bool Form::KeyDown(Control& control, int keyCode, int shift) {
    if (!TakesInput(control)) {
        return false;
    }
    if (control.onKeyDown) {
        control.onKeyDown(keyCode, shift);
    }
    return true;
}

bool Form::Click(Control& control) {
    if (!TakesInput(control)) {
        return false;
    }
    if (control.kind() == ControlKind::OptionButton) {
        control.setValue(true);
    }
    Run(control.onClick);
    return true;
}

bool Form::TypeText(Control& textBox, std::string text) {
    if (textBox.kind() != ControlKind::TextBox || !TakesInput(textBox)) {
        return false;
    }
    textBox.setText(std::move(text));
    Run(textBox.onChange);
    return true;
}

bool Form::GotFocus(Control& control) {
    if (!TakesInput(control)) {
        return false;
    }
    focused_ = &control;
    Run(control.onGotFocus);
    return true;
}

Control* Form::FirstFocusable() const {
    for (const auto& control : controls_) {
        const ControlKind kind = control->kind();
        const bool focusable = kind == ControlKind::TextBox || kind == ControlKind::CommandButton ||
                               kind == ControlKind::OptionButton || kind == ControlKind::ListView;
        if (focusable && TakesInput(*control)) {
            return control.get();
        }
    }
    return nullptr;
}

Control* Form::FindButton(bool defaultRole) const {
    for (const auto& control : controls_) {
        if (control->kind() == ControlKind::CommandButton &&
            (defaultRole ? control->isDefault() : control->isCancel())) {
            return control.get();
        }
    }
    return nullptr;
}

bool Form::PressEnter() {
    Control* button = FindButton(true);
    return button != nullptr && Click(*button);
}

bool Form::PressEscape() {
    Control* button = FindButton(false);
    return button != nullptr && Click(*button);
}

bool Form::RequestClose() {
    return Unload();
}

void Form::AddObserver(FormObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void Form::RemoveObserver(FormObserver* observer) {
    std::erase(observers_, observer);
}

// A copy, so that an observer may remove itself while being told.
void Form::NotifyChanged(Control* control, Property what) {
    const std::vector<FormObserver*> observers = observers_;
    for (FormObserver* observer : observers) {
        observer->PropertyChanged(*this, control, what);
    }
}

}  // namespace rg::platform
