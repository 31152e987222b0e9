// The scripted window system of the logic tests: it stands in for the screen and the user.
// Message boxes are answered from a script and recorded; modal forms run a script that acts
// on them synchronously; focus and select-all requests are recorded; ending the program throws
// ProgramEnded, which no routine of the program catches (it is not a std::exception).
// Pop-up menus are recorded and answered from a script of item choices; the open-file dialog
// from a script of paths. The list view's sub-item hit test is answered from a fixed layout:
// a header of kListHeaderPixels, then rows of kListRowPixels each, columns as wide as their
// twips say (no scrolling). CellPoint gives a point inside a cell of that layout.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/form.h"
#include "platform/ui/message_box.h"
#include "platform/ui/window_system.h"
#include "services/end_program.h"

namespace rg::test {

// Thrown by the EndProgram hook: the program ended at this point.
struct ProgramEnded {
    int exitCode = 0;
};

// Thrown when a modal script returns while its form is still loaded (a real modal loop would
// hang there) or when a modal form has no script.
struct ModalLeftOpen {
    std::string formName;
};

struct MessageBoxRecord {
    std::string text;
    std::string title;
    unsigned style = 0;
};

struct PopupRecord {
    std::string menu;
    std::string anchor;
    int x = 0;  // twips relative to the anchor
    int y = 0;
};

// A point in twips relative to a list control.
struct ListPoint {
    int x = 0;
    int y = 0;
};

struct ControlRequest {
    std::string form;
    std::string control;
    bool operator==(const ControlRequest&) const = default;
};

class ScriptedWindowSystem final : public platform::WindowSystem {
  public:
    using ModalScript = std::function<void(platform::Form&)>;

    // Installs itself (window system, message boxes, EndProgram hook); the destructor restores.
    ScriptedWindowSystem();
    ~ScriptedWindowSystem() override;
    ScriptedWindowSystem(const ScriptedWindowSystem&) = delete;
    ScriptedWindowSystem& operator=(const ScriptedWindowSystem&) = delete;

    // The next message box is answered with `answer`; an unscripted box fails the test and is
    // answered with its default button.
    void AnswerNextBox(int answer) { answers_.push_back(answer); }
    // The next modal form runs `script`, which must unload it.
    void ScriptNextModal(ModalScript script) { modals_.push_back(std::move(script)); }
    // The next pop-up menu is answered by clicking its item `itemName` ("" closes it without a
    // choice). An unscripted menu is closed without a choice.
    void ChooseInNextMenu(std::string itemName) { menuChoices_.push_back(std::move(itemName)); }
    // The next open-file dialog returns `path` (nothing: the user cancels). An unscripted
    // dialog fails the test and is cancelled.
    void AnswerNextFileDialog(std::optional<std::string> path) {
        fileAnswers_.push_back(std::move(path));
    }

    static constexpr int kListHeaderPixels = 17;
    static constexpr int kListRowPixels = 17;
    // The centre of the cell at `row` (0-based, may lie below the last row) and `column`.
    static ListPoint CellPoint(const platform::Control& list, int row, int column);
    // As the user does it: a press on the cell selects its row alone and makes it current
    // (left and right button; a row that does not exist changes nothing), then the release.
    static void ClickCell(platform::Control& list, int row, int column, int button);

    const std::vector<MessageBoxRecord>& boxes() const { return boxes_; }
    const std::vector<ControlRequest>& focusRequests() const { return focus_; }
    const std::vector<ControlRequest>& selectAllRequests() const { return selectAll_; }
    const std::vector<std::string>& shownModeless() const { return shown_; }
    const std::vector<std::string>& shownModal() const { return modal_; }
    const std::vector<std::string>& unloaded() const { return unloaded_; }
    std::size_t pendingAnswers() const { return answers_.size(); }
    std::size_t pendingModals() const { return modals_.size(); }
    const std::vector<PopupRecord>& popups() const { return popups_; }
    std::size_t pendingMenuChoices() const { return menuChoices_.size(); }
    std::size_t pendingFileDialogs() const { return fileAnswers_.size(); }

    // WindowSystem
    void ShowModeless(platform::Form& form) override;
    void RunModal(platform::Form& form) override;
    void FormUnloaded(platform::Form& form) override { unloaded_.push_back(form.name()); }
    void SetFocus(platform::Form& form, platform::Control& control) override;
    void SelectAllText(platform::Form& form, platform::Control& textBox) override {
        selectAll_.push_back({form.name(), textBox.name()});
    }
    void PopupMenu(platform::Form& form, platform::Control& menu, const platform::Control& anchor,
                   int x, int y) override;
    void SubItemHitTest(platform::Form& form, const platform::Control& list,
                        platform::LvHitTestInfo& info) override;
    std::optional<std::string> ShowOpenFileDialog(
        platform::Form& form, const platform::OpenFileRequest& request) override;

  private:
    std::deque<int> answers_;
    std::deque<ModalScript> modals_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<ControlRequest> focus_;
    std::vector<ControlRequest> selectAll_;
    std::vector<std::string> shown_;
    std::vector<std::string> modal_;
    std::vector<std::string> unloaded_;
    std::deque<std::string> menuChoices_;
    std::vector<PopupRecord> popups_;
    std::deque<std::optional<std::string>> fileAnswers_;
    platform::WindowSystem* previousWindowSystem_ = nullptr;
    platform::MessageBoxHandler previousBoxHandler_;
    EndProgramHook previousEndHook_;
};

}  // namespace rg::test
