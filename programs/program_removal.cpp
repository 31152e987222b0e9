// Removing the selected programs of the list (cmdRemove), with the user's confirmation.
#include "platform/ui/message_box.h"
#include "programs/program_list.h"
#include "services/app_title.h"
#include "services/error_log.h"

namespace rg {
namespace {

constexpr const char* kLineBreak = "\r\n";
// The prompt names this many programs at most; the last one named is followed by " .....".
constexpr int kNamedInPrompt = 16;

}  // namespace

// The names of the selected rows in list order, one a line; the 16th is followed by " .....",
// later ones are left out.
std::string ProgramList::RemovalPrompt() const {
    std::string names;
    int counter = 0;
    for (const platform::ListRow& row : list_.list().rows()) {
        if (!row.selected) {
            continue;
        }
        if (counter < kNamedInPrompt - 1) {
            names += row.text + kLineBreak;
        } else if (counter == kNamedInPrompt - 1) {
            names += row.text + " ....." + kLineBreak;
        }
        ++counter;
    }
    return names;
}

void ProgramList::cmdRemove_Click() {
    RunTrapped(kRemoveErrorSource, [this] {
        if (!list_.list().HasSelection()) {
            return;
        }
        const std::string names = RemovalPrompt();
        if (names.empty()) {
            return;
        }
        const int answer = platform::MessageBoxA(
            std::string(kRemoveQuestion) + kLineBreak + names, kAppTitle,
            platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON1);
        if (answer != platform::IDYES) {
            return;
        }
        RemoveSelectedRows();
    });
}

// The image list is detached while its images go, and attached again (with every row's icon
// key set anew) only when images are left; an empty one is attached by the next add.
void ProgramList::RemoveSelectedRows() {
    platform::ListViewContent& rows = list_.list();
    const platform::ListViewContent::DeferredNotifications oneRedraw(rows);
    rows.SetSmallIcons(nullptr);
    for (std::size_t position = rows.count(); position-- > 0;) {
        if (position >= rows.count() || !rows.rows()[position].selected) {
            continue;
        }
        const std::string key = rows.rows()[position].tag;
        images_.Remove(key);
        rows.Remove(key);
    }
    if (images_.count() == 0) {
        return;
    }
    rows.SetSmallIcons(&images_);
    for (std::size_t position = 0; position < rows.count(); ++position) {
        rows.SetIconKey(position, rows.rows()[position].tag);
    }
}

}  // namespace rg
