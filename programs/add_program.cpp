// Adding a program to the list (cmdAdd): the open-file dialog, the duplicate check by display
// name, the check that its profile entry can be stored, the icon and the new row.
#include <optional>

#include "fileinfo/file_properties.h"
#include "platform/base/text_collation.h"
#include "platform/ui/message_box.h"
#include "platform/ui/window_system.h"
#include "programs/program_icons.h"
#include "programs/program_list.h"
#include "services/app_title.h"
#include "services/error_log.h"
#include "services/ini_access.h"

namespace rg {
namespace {

// Reading a profile value gives back at most this many characters.
constexpr std::size_t kLongestReadableValue = 254;

}  // namespace

std::string ShowAddProgramDialog(platform::Form& form, std::string_view filter) {
    const std::optional<std::string> chosen =
        form.ShowOpenFileDialog({std::string(kAddProgramTitle), std::string(filter)});
    if (!chosen || chosen->empty()) {
        return std::string(kNoFileChosen);
    }
    return *chosen;
}

std::int32_t FindProgramByName(const platform::Control& list, std::string_view name) {
    const std::string wanted = platform::LowerCp1252(name);
    const auto& rows = list.list().rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (platform::LowerCp1252(rows[i].text) == wanted) {
            return static_cast<std::int32_t>(i + 1);
        }
    }
    return 0;
}

// Every value the program's section will hold, the three permission codes included, since the
// permissions may change after the add. A "?" in the path stands for a character the code page
// lacks (Windows allows no "?" in a file name): the path the settings would keep is not the
// file's.
std::optional<std::string> WhyProgramCannotBeStored(std::string_view name, std::string_view path,
                                                    std::string_view version) {
    if (path.find('?') != std::string_view::npos) {
        return "its folder or file name holds characters that the program settings cannot keep "
               "(only Western European letters can be kept).";
    }
    if (path.size() > kLongestReadableValue) {
        return "its path is " + std::to_string(path.size()) +
               " characters long; the program settings keep at most " +
               std::to_string(kLongestReadableValue) + ".";
    }
    if (version.size() > kLongestReadableValue) {
        return "its version text is longer than the program settings can keep.";
    }
    if (!CanStoreSectionName(name)) {
        return "its name \"" + std::string(name) +
               "\" is empty or starts or ends with a space, and cannot name its entry in the "
               "program settings.";
    }
    for (const std::string_view value :
         {path, version, std::string_view("0"), std::string_view("1"), std::string_view("2"),
          std::string_view()}) {
        if (!CanStoreINIValue(name, value, true)) {
            return "the program settings encipher its path or version with its name, and for "
                   "this name the result could not be read back unchanged.";
        }
    }
    return std::nullopt;
}

bool CanStoreProgramEntry(std::string_view name, std::string_view path, std::string_view version) {
    return !WhyProgramCannotBeStored(name, path, version);
}

void ProgramList::cmdAdd_Click() {
    const std::string path = ShowAddProgramDialog(form_, kAddProgramFilter);
    if (path != kNoFileChosen) {
        AddProgramToList(path);
    }
}

void ProgramList::AddProgramToList(std::string_view path) {
    RunTrapped(kAddErrorSource, [this, path] {
        getFileProperty(path);
        const std::string name = fileProperties().FileDescription;
        if (FindProgramByName(list_, name) != 0) {
            return;  // already listed under this name: skipped without a word
        }
        // Refused here, before anything is kept, rather than corrupting the profile at the save.
        if (const auto reason =
                WhyProgramCannotBeStored(name, path, fileProperties().FileVersion)) {
            platform::MessageBoxA(
                std::string(kProgramNotStorableText) + *reason + "\r\n\r\n" + std::string(path),
                kAppTitle, platform::MB_OK | platform::MB_ICONEXCLAMATION);
            return;
        }
        const std::int32_t showsIcon = ExtractIcon(path, pic16_);
        const std::string key(path);
        images_.Add(key, pic16_);  // kept also for a row that shows no icon
        platform::ListViewContent& rows = list_.list();
        if (rows.smallIcons() == nullptr) {
            rows.SetSmallIcons(&images_);
        }
        platform::ListRow row;
        row.key = key;
        row.text = name;
        row.iconKey = showsIcon != 0 ? key : std::string();
        row.tag = key;
        row.subItems = {std::string(kPermissionAllow), std::string(kPermissionAllow)};
        rows.Add(std::move(row));
    });
}

}  // namespace rg
