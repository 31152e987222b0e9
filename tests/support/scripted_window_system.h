// The scripted window system of the logic tests: it stands in for the screen and the user.
// Message boxes are answered from a script and recorded; modal forms run a script that acts
// on them synchronously; focus and select-all requests are recorded; ending the program throws
// ProgramEnded, which no routine of the program catches (it is not a std::exception).
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/window_system.h"

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
    unsigned icon() const { return style & platform::MB_ICONMASK; }
    unsigned buttons() const { return style & platform::MB_TYPEMASK; }
    unsigned defaultButton() const { return style & platform::MB_DEFMASK; }
};

struct ControlRequest {
    std::string form;
    std::string control;
    bool operator==(const ControlRequest&) const = default;
};

class ScriptedWindowSystem final : public platform::WindowSystem {
  public:
    using ModalScript = std::function<void(platform::Form&)>;
    using BoxAction = std::function<void()>;

    // Installs itself (window system, message boxes, EndProgram hook); the destructor restores.
    ScriptedWindowSystem();
    ~ScriptedWindowSystem() override;
    ScriptedWindowSystem(const ScriptedWindowSystem&) = delete;
    ScriptedWindowSystem& operator=(const ScriptedWindowSystem&) = delete;

    // The next message box is answered with `answer`; an unscripted box fails the test and is
    // answered with its default button.
    void AnswerNextBox(int answer);
    // The next modal form runs `script`, which must unload it.
    void ScriptNextModal(ModalScript script);

    const std::vector<MessageBoxRecord>& boxes() const { return boxes_; }
    const std::vector<ControlRequest>& focusRequests() const { return focus_; }
    const std::vector<ControlRequest>& selectAllRequests() const { return selectAll_; }
    const std::vector<std::string>& shownModeless() const { return shown_; }
    const std::vector<std::string>& shownModal() const { return modal_; }
    const std::vector<std::string>& unloaded() const { return unloaded_; }
    std::size_t pendingAnswers() const { return answers_.size(); }
    std::size_t pendingModals() const { return modals_.size(); }

    // WindowSystem
    void ShowModeless(platform::Form& form) override;
    void RunModal(platform::Form& form) override;
    void FormUnloaded(platform::Form& form) override;
    void SetFocus(platform::Form& form, platform::Control& control) override;
    void SelectAllText(platform::Form& form, platform::Control& textBox) override;

  private:
    int Answer(const std::string& text, const std::string& title, unsigned style);

    std::deque<int> answers_;
    std::deque<ModalScript> modals_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<ControlRequest> focus_;
    std::vector<ControlRequest> selectAll_;
    std::vector<std::string> shown_;
    std::vector<std::string> modal_;
    std::vector<std::string> unloaded_;
    platform::WindowSystem* previousWindowSystem_ = nullptr;
    platform::MessageBoxHandler previousBoxHandler_;
    platform::EndProgramHook previousEndHook_;
};

}  // namespace rg::test
