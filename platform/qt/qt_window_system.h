// The window system on screen: one FormWindow per shown form, modeless windows, modal loops on
// a nested QEventLoop, focus and the select-all key strokes, as platform/window_system.h asks.
#pragma once

#include <QPointer>
#include <functional>
#include <unordered_map>

#include "platform/qt/qt_form_window.h"
#include "platform/ui/window_system.h"

class QEventLoop;

namespace rg::platform::qt {

class QtWindowSystem final : public WindowSystem {
  public:
    // Called when the last window has gone (the program's event loop should end then).
    explicit QtWindowSystem(std::function<void()> onLastFormUnloaded = {});
    ~QtWindowSystem() override;

    void ShowModeless(Form& form) override;
    void RunModal(Form& form) override;
    void FormUnloaded(Form& form) override;
    void SetFocus(Form& form, Control& control) override;
    void SelectAllText(Form& form, Control& textBox) override;
    void PopupMenu(Form& form, Control& menu, const Control& anchor, int x, int y) override;
    void SubItemHitTest(Form& form, const Control& list, LvHitTestInfo& info) override;
    bool ListCellOrigin(Form& form, const Control& list, int row, int column, int& x,
                        int& y) override;
    std::optional<std::string> ShowOpenFileDialog(Form& form,
                                                  const OpenFileRequest& request) override;

    // The window of a shown form, or nullptr.
    FormWindow* WindowFor(const Form& form) const;
    bool HasOpenWindows() const;

  private:
    FormWindow& EnsureWindow(Form& form);
    void FocusFirstControl(Form& form, FormWindow& window);

    std::function<void()> onLastFormUnloaded_;
    std::unordered_map<const Form*, QPointer<FormWindow>> windows_;
    std::unordered_map<const Form*, QEventLoop*> modalLoops_;
};

}  // namespace rg::platform::qt
