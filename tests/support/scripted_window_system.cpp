#include "tests/support/scripted_window_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace rg::test {
namespace {

// The left pixel edge of every column and the right edge of the last one.
std::vector<int> ColumnEdges(const platform::Control& list) {
    std::vector<int> edges{0};
    int twips = 0;
    for (const platform::ListColumn& column : list.columns()) {
        twips += column.width;
        edges.push_back(static_cast<int>(std::lround(twips / double(platform::kTwipsPerPixelX))));
    }
    return edges;
}

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
            boxes_.push_back({text, title, style});
            if (answers_.empty()) {
                ADD_FAILURE() << "unscripted message box: " << text;
                return (style & platform::MB_TYPEMASK) == platform::MB_YESNO ? platform::IDYES
                                                                             : platform::IDOK;
            }
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    previousEndHook_ = SetEndProgramHook([](int exitCode) { throw ProgramEnded{exitCode}; });
}

ScriptedWindowSystem::~ScriptedWindowSystem() {
    SetEndProgramHook(std::move(previousEndHook_));
    platform::SetMessageBoxHandler(std::move(previousBoxHandler_));
    platform::SetWindowSystem(previousWindowSystem_);
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

// The focus arrives at once, as it does on screen before the next event is handled.
void ScriptedWindowSystem::SetFocus(platform::Form& form, platform::Control& control) {
    focus_.push_back({form.name(), control.name()});
    form.GotFocus(control);
}

void ScriptedWindowSystem::PopupMenu(platform::Form& form, platform::Control& menu,
                                     const platform::Control& anchor, int x, int y) {
    popups_.push_back({menu.name(), anchor.name(), x, y});
    if (menuChoices_.empty()) {
        return;
    }
    const std::string choice = std::move(menuChoices_.front());
    menuChoices_.pop_front();
    if (choice.empty()) {
        return;
    }
    platform::Control* item = form.Find(choice);
    if (item == nullptr || item->container() != &menu) {
        ADD_FAILURE() << choice << " is not an item of " << menu.name();
        return;
    }
    form.Click(*item);
}

void ScriptedWindowSystem::SubItemHitTest(platform::Form&, const platform::Control& list,
                                          platform::LvHitTestInfo& info) {
    info.iItem = -1;
    info.iSubItem = -1;
    info.flags = platform::LVHT_NOWHERE;
    const std::vector<int> edges = ColumnEdges(list);
    const auto right = std::upper_bound(edges.begin(), edges.end(), info.x);
    const int row = (info.y - kListHeaderPixels) / kListRowPixels;
    if (info.y < kListHeaderPixels || row >= static_cast<int>(list.list().count()) ||
        right == edges.begin() || right == edges.end()) {
        return;
    }
    info.iItem = row;
    info.iSubItem = static_cast<int>(right - edges.begin()) - 1;
    info.flags = platform::LVHT_ONITEMLABEL;
}

std::optional<std::string> ScriptedWindowSystem::ShowOpenFileDialog(
    platform::Form&, const platform::OpenFileRequest& request) {
    if (fileAnswers_.empty()) {
        ADD_FAILURE() << "unscripted open-file dialog: " << request.title;
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
}

ListPoint ScriptedWindowSystem::CellPoint(const platform::Control& list, int row, int column) {
    const std::vector<int> edges = ColumnEdges(list);
    const auto index = static_cast<std::size_t>(column);
    const int left = index < edges.size() ? edges[index] : edges.back();
    const int right = index + 1 < edges.size() ? edges[index + 1] : left + 20;
    const int x = (left + right) / 2;
    const int y = kListHeaderPixels + row * kListRowPixels + kListRowPixels / 2;
    return {x * platform::kTwipsPerPixelX, y * platform::kTwipsPerPixelY};
}

void ScriptedWindowSystem::ClickCell(platform::Control& list, int row, int column, int button) {
    const bool onRow = row >= 0 && row < static_cast<int>(list.list().count());
    if (onRow && button != platform::kMiddleButton) {
        list.form().SelectListRows(list, {static_cast<std::size_t>(row)}, row);
    }
    const ListPoint point = CellPoint(list, row, column);
    list.form().MouseUp(list, button, 0, point.x, point.y);
}

}  // namespace rg::test
