// Helper of the Qt tests: waiting for a window to be active, so that key strokes reach it.
#pragma once

#include <QTest>
#include <QWidget>

namespace rg::test {

inline bool WaitActive(QWidget* window) {
    if (window == nullptr) {
        return false;
    }
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 5000);
}

}  // namespace rg::test
