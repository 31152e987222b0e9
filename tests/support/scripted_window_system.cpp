#include "tests/support/scripted_window_system.h"

#include <gtest/gtest.h>

#include <utility>

namespace rg::test {
namespace {

// As on screen: a form that appears gives the focus to its first control in tab order.
void FocusFirst(platform::Form& form) {
    if (platform::Control* first = form.FirstFocusable()) {
        form.GotFocus(*first);
    }
}

}  // namespace

ScriptedWindowSystem::ScriptedWindowSystem() {
    previousWindowSystem_ = platform::SetWindowSystem(this);
    previousBoxHandler_ = platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string& title, unsigned style) {
            return Answer(text, title, style);
        });
    previousEndHook_ =
        platform::SetEndProgramHook([](int exitCode) { throw ProgramEnded{exitCode}; });
}

ScriptedWindowSystem::~ScriptedWindowSystem() {
    platform::SetEndProgramHook(std::move(previousEndHook_));
    platform::SetMessageBoxHandler(std::move(previousBoxHandler_));
    platform::SetWindowSystem(previousWindowSystem_);
}

void ScriptedWindowSystem::AnswerNextBox(int answer) {
    answers_.push_back(answer);
}

void ScriptedWindowSystem::ScriptNextModal(ModalScript script) {
    modals_.push_back(std::move(script));
}

int ScriptedWindowSystem::Answer(const std::string& text, const std::string& title,
                                 unsigned style) {
    boxes_.push_back({text, title, style});
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted message box: " << text;
        return (style & platform::MB_TYPEMASK) == platform::MB_YESNO ? platform::IDYES
                                                                     : platform::IDOK;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void ScriptedWindowSystem::ShowModeless(platform::Form& form) {
    shown_.push_back(form.name());
    FocusFirst(form);
}

void ScriptedWindowSystem::RunModal(platform::Form& form) {
    modal_.push_back(form.name());
    FocusFirst(form);
    if (modals_.empty()) {
        throw ModalLeftOpen{form.name()};
    }
    ModalScript script = std::move(modals_.front());
    modals_.pop_front();
    script(form);
    if (form.loaded()) {
        throw ModalLeftOpen{form.name()};
    }
}

void ScriptedWindowSystem::FormUnloaded(platform::Form& form) {
    unloaded_.push_back(form.name());
}

// The focus arrives at once, as it does on screen before the next event is handled.
void ScriptedWindowSystem::SetFocus(platform::Form& form, platform::Control& control) {
    focus_.push_back({form.name(), control.name()});
    form.GotFocus(control);
}

void ScriptedWindowSystem::SelectAllText(platform::Form& form, platform::Control& textBox) {
    selectAll_.push_back({form.name(), textBox.name()});
}

}  // namespace rg::test
