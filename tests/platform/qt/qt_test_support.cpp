#include "tests/platform/qt/qt_test_support.h"

#include <QTest>

namespace rg::test {

ScriptedBoxes::ScriptedBoxes() {
    previous_ =
        platform::SetMessageBoxHandler([this](const std::string& text, const std::string& title,
                                              unsigned style) { return Show(text, title, style); });
}

ScriptedBoxes::~ScriptedBoxes() {
    platform::SetMessageBoxHandler(previous_);
}

int ScriptedBoxes::Show(const std::string& text, const std::string& title, unsigned style) {
    shown_.push_back({text, title, style});
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return (style & platform::MB_TYPEMASK) == platform::MB_YESNO ? platform::IDYES : platform::IDOK;
}

bool WaitActive(QWidget* window) {
    if (window == nullptr) {
        return false;
    }
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 5000);
}

}  // namespace rg::test
