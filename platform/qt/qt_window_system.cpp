#include "platform/qt/qt_window_system.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <utility>

#include "platform/os/file_system.h"
#include "platform/qt/qt_file_dialog_filter.h"
#include "platform/qt/qt_list_view.h"
#include "platform/qt/qt_text.h"

namespace rg::platform::qt {

QtWindowSystem::QtWindowSystem(std::function<void()> onLastFormUnloaded)
    : onLastFormUnloaded_(std::move(onLastFormUnloaded)) {}

QtWindowSystem::~QtWindowSystem() {
    for (auto& [form, window] : windows_) {
        delete window.data();
    }
}

namespace {

// A new window opens in the middle of the screen, as the program's windows do on Windows.
void CenterOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), window.size());
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

}  // namespace

FormWindow& QtWindowSystem::EnsureWindow(Form& form) {
    QPointer<FormWindow>& window = windows_[&form];
    if (window.isNull()) {
        window = new FormWindow(form);
        CenterOnScreen(*window);
    }
    return *window;
}

FormWindow* QtWindowSystem::WindowFor(const Form& form) const {
    const auto found = windows_.find(&form);
    return found == windows_.end() ? nullptr : found->second.data();
}

bool QtWindowSystem::HasOpenWindows() const {
    for (const auto& [form, window] : windows_) {
        if (!window.isNull()) {
            return true;
        }
    }
    return false;
}

void QtWindowSystem::ShowModeless(Form& form) {
    FormWindow& window = EnsureWindow(form);
    window.setWindowModality(Qt::NonModal);
    window.show();
    window.raise();
    window.activateWindow();
    FocusFirstControl(form, window);
}

// A shown form gives the focus to its first control that takes it, as Windows forms do.
void QtWindowSystem::FocusFirstControl(Form& form, FormWindow& window) {
    if (Control* first = form.FirstFocusable()) {
        if (QWidget* widget = window.WidgetFor(*first)) {
            widget->setFocus(Qt::OtherFocusReason);
        }
    }
}

// The other windows stay visible but take no input until the form is unloaded.
void QtWindowSystem::RunModal(Form& form) {
    FormWindow& window = EnsureWindow(form);
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    window.raise();
    window.activateWindow();
    FocusFirstControl(form, window);
    if (!form.loaded()) {
        return;  // unloaded while it was being shown
    }
    QEventLoop loop;
    modalLoops_[&form] = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoops_.erase(&form);
}

void QtWindowSystem::FormUnloaded(Form& form) {
    const auto found = windows_.find(&form);
    if (found != windows_.end()) {
        if (FormWindow* window = found->second.data()) {
            window->CloseAfterUnload();
            window->deleteLater();  // the unload may run inside one of its own handlers
        }
        windows_.erase(found);
    }
    if (const auto loop = modalLoops_.find(&form); loop != modalLoops_.end()) {
        loop->second->quit();
    }
    if (!HasOpenWindows() && onLastFormUnloaded_) {
        onLastFormUnloaded_();
    }
}

// Qt reports the focus back through the window's focus-in filter, which runs the control's
// focus handler; a window that is not active yet reports it when it becomes active.
void QtWindowSystem::SetFocus(Form& form, Control& control) {
    FormWindow* window = WindowFor(form);
    QWidget* widget = window != nullptr ? window->WidgetFor(control) : nullptr;
    if (widget != nullptr) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

// The key strokes Home, Shift+End. Windows delivers sent key strokes after the event at hand, so
// a click that put the focus into the box has placed its caret before the selection is made.
void QtWindowSystem::SelectAllText(Form& form, Control& textBox) {
    FormWindow* window = WindowFor(form);
    auto* edit = qobject_cast<QLineEdit*>(window != nullptr ? window->WidgetFor(textBox) : nullptr);
    if (edit != nullptr) {
        QTimer::singleShot(0, edit, [edit] {
            edit->home(false);
            edit->end(true);
        });
    }
}

}  // namespace rg::platform::qt

namespace rg::platform::qt {

// The menu's items are the MenuItem controls inside it, in their order; hidden ones are left
// out. The chosen item is clicked before the call returns.
void QtWindowSystem::PopupMenu(Form& form, Control& menu, const Control& anchor, int x, int y) {
    FormWindow* window = WindowFor(form);
    QWidget* anchorWidget = window != nullptr ? window->WidgetFor(anchor) : nullptr;
    if (anchorWidget == nullptr) {
        return;
    }
    QMenu popup(window);
    std::unordered_map<const QAction*, Control*> items;
    for (const auto& control : form.controls()) {
        if (control->container() == &menu && control->kind() == ControlKind::MenuItem &&
            control->visible()) {
            QAction* action = popup.addAction(ToQString(control->caption()));
            action->setEnabled(control->enabled());
            action->setCheckable(control->value());
            action->setChecked(control->value());
            items[action] = control.get();
        }
    }
    const QPoint at = anchorWidget->mapToGlobal(QPoint(TwipsToPixels(x), TwipsToPixels(y)));
    if (const QAction* chosen = popup.exec(at)) {
        form.Click(*items.at(chosen));
    }
}

void QtWindowSystem::SubItemHitTest(Form& form, const Control& list, LvHitTestInfo& info) {
    FormWindow* window = WindowFor(form);
    auto* tree = qobject_cast<QTreeWidget*>(window != nullptr ? window->WidgetFor(list) : nullptr);
    if (tree == nullptr) {
        info.iItem = -1;
        info.iSubItem = -1;
        info.flags = LVHT_NOWHERE;
        return;
    }
    HitTestList(*tree, info);
}

bool QtWindowSystem::ListCellOrigin(Form& form, const Control& list, int row, int column, int& x,
                                    int& y) {
    FormWindow* window = WindowFor(form);
    auto* tree = qobject_cast<QTreeWidget*>(window != nullptr ? window->WidgetFor(list) : nullptr);
    return tree != nullptr && qt::ListCellOrigin(*tree, row, column, x, y);
}

// The chosen path as the program names files: code page 1252, with one "?" for a character the
// code page lacks (the program refuses to list such a program, since its settings could not
// keep the path); the platform keeps the path's native form for reading the file.
std::optional<std::string> QtWindowSystem::ShowOpenFileDialog(Form& form,
                                                              const OpenFileRequest& request) {
    const QString chosen = QFileDialog::getOpenFileName(
        WindowFor(form), ToQString(request.title), QString(),
        QtFileDialogFilter(ToQString(request.filter)), nullptr,
        QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return PathFromNative(chosen.toUtf8().toStdString());
}

}  // namespace rg::platform::qt
