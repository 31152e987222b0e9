// Helpers of the Qt tests: message boxes answered by script (and recorded), and waiting for a
// window to be active so that key strokes reach it.
#pragma once

#include <QWidget>
#include <deque>
#include <string>
#include <vector>

#include "platform/ui/message_box.h"

namespace rg::test {

struct ShownBox {
    std::string text;
    std::string title;
    unsigned style = 0;
};

// Installs itself as the message box handler for its lifetime; answers in order, then with the
// box's first button. Records every box.
class ScriptedBoxes {
  public:
    ScriptedBoxes();
    ~ScriptedBoxes();
    void Answer(int answer) { answers_.push_back(answer); }
    const std::vector<ShownBox>& shown() const { return shown_; }

  private:
    int Show(const std::string& text, const std::string& title, unsigned style);

    std::deque<int> answers_;
    std::vector<ShownBox> shown_;
    platform::MessageBoxHandler previous_;
};

// Shows nothing by itself: waits until the window is active (key events need that).
bool WaitActive(QWidget* window);

}  // namespace rg::test
