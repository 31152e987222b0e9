// Helpers of the Qt tests: a form shown by the real window system for one test function, its
// widgets by control name, waiting for a window to be active so that key strokes reach it, and
// acting on a pop-up menu or modal dialog once it is up.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/qt/qt_window_system.h"

namespace rg::test {

inline bool WaitActive(QWidget* window) {
    if (window == nullptr) {
        return false;
    }
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 5000);
}

// Shows a new F; the window system goes first at the end, the form outlives its window.
template <typename F>
class OnScreen {
  public:
    explicit OnScreen(std::function<void()> onLastUnload = {})
        : windows(std::make_unique<platform::qt::QtWindowSystem>(std::move(onLastUnload))) {
        platform::SetWindowSystem(windows.get());
        form->Show();
    }
    ~OnScreen() {
        windows.reset();
        platform::SetWindowSystem(nullptr);
    }
    platform::qt::FormWindow* window() const { return windows->WindowFor(*form); }
    template <typename W>
    W* widget(const std::string& name) const {
        return dynamic_cast<W*>(window()->WidgetFor(form->Get(name)));
    }

    std::unique_ptr<F> form = std::make_unique<F>();
    std::unique_ptr<platform::qt::QtWindowSystem> windows;
};

// Acts on the next pop-up menu or modal dialog of type W once it is up; `guard` owns the wait.
template <typename W>
void WhenUp(QObject& guard, std::function<void(W&)> act) {
    auto* timer = new QTimer(&guard);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* up = QApplication::activePopupWidget() != nullptr
                          ? QApplication::activePopupWidget()
                          : QApplication::activeModalWidget();
        if (auto* widget = qobject_cast<W*>(up); widget != nullptr && widget->isVisible()) {
            timer->stop();
            act(*widget);
        }
    });
    timer->start(10);
}

}  // namespace rg::test
