// The program permission list of page 6 (lvwPrograms): its rows of programs with their Access
// and Server permissions, the sorting by header click, the two permission pop-up menus and
// their commands, adding a program with its icon (add_program.cpp) and removing the selected
// programs (program_removal.cpp). It owns the row icons' image list ProgramImgList16 and the
// 16 x 16 drawing surface pic16 that each icon is built on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/image.h"
#include "platform/ui/form.h"
#include "platform/ui/list_view.h"
#include "programs/permissions.h"
#include "programs/program_row.h"

namespace rg {

// The source texts of the list's error paths in the error log.
inline constexpr std::string_view kRemoveErrorSource = "cmdRemove_Click of frmProgramControl";
inline constexpr std::string_view kAddErrorSource =
    "LoadCurrentProgramList of Module mdlProgramControl";

// The removal's question; the names of the selected programs follow, one a line.
inline constexpr std::string_view kRemoveQuestion =
    "Do you want to remove following application(s)?";

// Shown instead of adding a program whose entry in the program control profile could not be
// written so that it reads back unchanged, followed by the reason (WhyProgramCannotBeStored).
inline constexpr std::string_view kProgramNotStorableText =
    "This program cannot be added to the list: ";

// The controls of page 6 that the list works with; all belong to one form.
struct ProgramListControls {
    platform::Control& list;          // lvwPrograms, a report-style list with three columns
    platform::Control& addButton;     // cmdAdd
    platform::Control& removeButton;  // cmdRemove
    platform::Control& accessMenu;    // mnuAccess: mnuAccessAllow, mnuAccessBlock, mnuAccessAsk
    platform::Control& serverMenu;    // mnuServer: mnuServerAllow, mnuServerBlock, mnuServerAsk
};

class ProgramList {
  public:
    // Connects the handlers of the list, the buttons and the six menu items. The list starts
    // empty, unsorted, without an image list; the first header click sorts ascending.
    explicit ProgramList(const ProgramListControls& controls);
    ProgramList(const ProgramList&) = delete;
    ProgramList& operator=(const ProgramList&) = delete;

    platform::Control& list() const { return list_; }
    const platform::ImageList& images() const { return images_; }  // ProgramImgList16
    const platform::Image& pic16() const { return pic16_; }

    // Header click: sort by the column; a second click on the same column flips the order.
    void lvwPrograms_ColumnClick(int column);
    // Mouse release: a release of exactly the left button over the Access or Server cell of a
    // row pops up that column's menu at the mouse position.
    void lvwPrograms_MouseUp(int button, int shift, int x, int y);
    // Key press on the list: the Menu key or Shift+F10 opens the current row's Access menu,
    // with Ctrl its Server menu.
    void lvwPrograms_KeyDown(int keyCode, int shift);
    // One of the six menu commands, applied to the current row.
    void ApplyMenuCommand(PermissionCommand command);
    // Removes the selected rows and their images after the user confirmed.
    void cmdRemove_Click();
    // Asks for a program file and adds it.
    void cmdAdd_Click();
    // Adds the program at `path` as a new row with its icon and "Allow" for both permissions,
    // unless a row of the same display name (letter case ignored) is already listed.
    void AddProgramToList(std::string_view path);

    // The rows as the save step reads them, in list order.
    std::vector<ProgramRowSettings> RowSettings() const;

  private:
    void ConnectHandlers(const ProgramListControls& controls);
    void ConnectMenuItem(const char* name, PermissionCommand command);
    std::string RemovalPrompt() const;  // empty when no row is selected
    void PopUpPermissionMenu(int column, int x, int y);
    void RemoveSelectedRows();

    platform::Form& form_;
    platform::Control& list_;
    platform::Control& accessMenu_;
    platform::Control& serverMenu_;
    platform::ImageList images_;
    platform::Image pic16_;
};

// The path chosen in the open-file dialog "Add Program" with the given filter, or "NIL" when
// the user chose nothing.
inline constexpr std::string_view kAddProgramFilter =
    "Executable File (*.exe,*.com,*.scr)|*.EXE;*.COM;*.SCR|All Files (*.*)|*.*";
inline constexpr std::string_view kAddProgramTitle = "Add Program";
inline constexpr std::string_view kNoFileChosen = "NIL";
std::string ShowAddProgramDialog(platform::Form& form, std::string_view filter);

// The position (1 for the first row) of the first row whose text equals `name` with letter case
// ignored, or 0.
std::int32_t FindProgramByName(const platform::Control& list, std::string_view name);

// Why the program's section in the program control profile, named by its display name and with
// every value enciphered with that name, could not be written and read back unchanged, in words
// for the user; nothing when it can: the path holds only characters of the code page, the path
// and version are at most 254 characters (reading gives no more back), the name can name a
// section, and every value enciphers to a text that reading neither trims nor cuts.
std::optional<std::string> WhyProgramCannotBeStored(std::string_view name, std::string_view path,
                                                    std::string_view version);
bool CanStoreProgramEntry(std::string_view name, std::string_view path, std::string_view version);

}  // namespace rg
