#include "platform/qt/qt_form_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt/qt_artwork.h"
#include "platform/qt/qt_control_view.h"
#include "platform/qt/qt_list_view.h"
#include "platform/qt/qt_text.h"

namespace rg::platform::qt {

FormWindow::FormWindow(Form& form) : form_(form) {
    setObjectName(QString::fromStdString(form.name()));
    // A fixed-size dialog without the "what's this" button; closing goes through the form.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    BuildControls();
    AssignLabelBuddies();
    for (const auto& control : form_.controls()) {
        if (QWidget* widget = WidgetFor(*control)) {
            ApplyAllControlProperties(*control, *widget);
        }
    }
    for (const Property what :
         {Property::Caption, Property::Icon, Property::ClientSize, Property::BackColor}) {
        ApplyFormProperty(what);
    }
    form_.AddObserver(this);
}

// After an unload the form may be gone before this window is deleted: do not touch it then.
FormWindow::~FormWindow() {
    if (!unloaded_) {
        form_.RemoveObserver(this);
    }
}

QWidget* FormWindow::WidgetFor(const Control& control) const {
    const auto found = widgets_.find(&control);
    return found == widgets_.end() ? nullptr : found->second;
}

void FormWindow::CloseAfterUnload() {
    unloaded_ = true;
    form_.RemoveObserver(this);
    hide();
}

// Controls come in creation order, containers before what they hold; creating the widgets in
// that order also makes Qt's focus chain the form's tab order.
void FormWindow::BuildControls() {
    for (const auto& control : form_.controls()) {
        QWidget* parent = this;
        if (control->container() != nullptr) {
            parent = WidgetFor(*control->container());
        }
        if (parent == nullptr) {
            continue;  // inside a control that has no widget
        }
        QWidget* widget = CreateControlWidget(*control, parent);
        if (widget == nullptr) {
            continue;
        }
        widgets_[control.get()] = widget;
        controlsByWidget_[widget] = control.get();
        ConnectEvents(*control, *widget);
    }
}

// A Windows label's access key moves the focus to the next control in tab order that can take
// it; Qt calls that control the label's buddy.
void FormWindow::AssignLabelBuddies() {
    const auto& controls = form_.controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        // Every label gets its buddy: the language file may give it an access key later.
        auto* label = qobject_cast<QLabel*>(WidgetFor(*controls[i]));
        if (label == nullptr) {
            continue;
        }
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            QWidget* next = WidgetFor(*controls[j]);
            if (next != nullptr && TakesFocus(controls[j]->kind())) {
                label->setBuddy(next);
                break;
            }
        }
    }
}

void FormWindow::ConnectEvents(Control& control, QWidget& widget) {
    Form* form = &form_;
    Control* target = &control;
    if (auto* option = qobject_cast<QRadioButton*>(&widget)) {
        connect(option, &QRadioButton::clicked, this, [form, target, option] {
            form->Click(*target);
            // The model's selection wins, also when it refused the click.
            ApplyControlProperty(*target, *option, Property::Value);
        });
    } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        button->setAutoDefault(true);
        button->setDefault(control.isDefault());
        connect(button, &QPushButton::clicked, this, [form, target] { form->Click(*target); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        connect(edit, &QLineEdit::textEdited, this, [form, target, edit](const QString& text) {
            const std::optional<std::string> bytes = ToCp1252(text);
            if (!bytes || !form->TypeText(*target, *bytes)) {
                ApplyControlProperty(*target, *edit, Property::Text);
            }
        });
    } else if (auto* list = qobject_cast<QTreeWidget*>(&widget)) {
        ConnectListEvents(control, *list);
    }
    if (TakesFocus(control.kind())) {
        widget.installEventFilter(this);
    }
}

// The focus handlers of the logic run when a control has received the focus, however it came.
bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && !unloaded_) {
        const auto found = controlsByWidget_.find(watched);
        if (found != controlsByWidget_.end()) {
            form_.GotFocus(*found->second);
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Enter presses the default button and Esc the cancel button, wherever the focus is; a focused
// button takes Enter itself before it gets here, as on Windows.
void FormWindow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                form_.PressEnter();
                return;
            case Qt::Key_Escape:
                form_.PressEscape();
                return;
            default:
                break;
        }
    }
    QDialog::keyPressEvent(event);
}

// The close box, the system menu and Alt+F4 ask the form, which may refuse (exit confirmation).
// The window goes only when the form has been unloaded.
void FormWindow::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    event->ignore();
    form_.RequestClose();
}

// QDialog would hide itself on Esc or a close request; the form decides instead (see above).
void FormWindow::reject() {}

void FormWindow::PropertyChanged(Form&, Control* control, Property what) {
    if (control == nullptr) {
        ApplyFormProperty(what);
        return;
    }
    QWidget* widget = WidgetFor(*control);
    if (widget == nullptr) {
        return;
    }
    if (what == Property::Visible && !control->visible()) {
        KeepFocusOffHiddenWidget(*widget);
    }
    ApplyControlProperty(*control, *widget, what);
}

// Qt would pass the focus of a widget that is being hidden on to the next one in the chain
// (after a page switch often Back, which would then take Enter). Windows leaves no control
// focused, so that Enter reaches the default button; the window itself holds the focus here.
void FormWindow::KeepFocusOffHiddenWidget(QWidget& widget) {
    QWidget* focused = focusWidget();
    if (focused != nullptr && (focused == &widget || widget.isAncestorOf(focused))) {
        setFocus(Qt::OtherFocusReason);
    }
}

void FormWindow::ApplyFormProperty(Property what) {
    switch (what) {
        case Property::Caption:
            setWindowTitle(ToQString(form_.caption()));
            break;
        case Property::Icon:
            setWindowIcon(ArtworkIcon(form_.iconId()));
            break;
        case Property::ClientSize:
            if (form_.clientWidth() > 0 && form_.clientHeight() > 0) {
                setFixedSize(TwipsToPixels(form_.clientWidth()),
                             TwipsToPixels(form_.clientHeight()));
            }
            break;
        case Property::BackColor:
            ApplyBackColor(*this, form_.backColor());
            break;
        default:
            break;
    }
}

}  // namespace rg::platform::qt
