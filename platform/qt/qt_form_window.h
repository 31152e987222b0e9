// One form of the logic on screen: a QDialog (Qt honours a default button on Enter and a cancel
// key only inside a dialog) whose child widgets mirror the form's controls. It watches the form
// for property changes and routes the user's clicks, typing, focus, Enter, Esc and the close box
// back to the form; it decides nothing itself.
#pragma once

#include <QDialog>
#include <unordered_map>

#include "platform/ui/form.h"

namespace rg::platform::qt {

class FormWindow final : public QDialog, public FormObserver {
  public:
    explicit FormWindow(Form& form);
    ~FormWindow() override;

    Form& form() const { return form_; }
    // The widget of the control; nullptr for controls without a widget (menus).
    QWidget* WidgetFor(const Control& control) const;

    // The form has been unloaded: close the window without asking the form again.
    void CloseAfterUnload();

    void PropertyChanged(Form& form, Control* control, Property what) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void ConnectEvents(Control& control, QWidget& widget);
    void AssignLabelBuddies();
    void ApplyFormProperty(Property what);
    void KeepFocusOffHiddenWidget(QWidget& widget);

    Form& form_;
    std::unordered_map<const Control*, QWidget*> widgets_;
    std::unordered_map<const QObject*, Control*> controlsByWidget_;
    bool unloaded_ = false;
};

}  // namespace rg::platform::qt
