#include "programs/program_list.h"

#include <cmath>

#include "platform/ui/window_system.h"
#include "programs/program_icons.h"

namespace rg {
namespace {

using platform::SortOrder;

// The list's columns: the program's name, then its two permissions as sub-items 1 and 2.
constexpr int kAccessColumn = 1;
constexpr int kServerColumn = 2;

int TwipsToPixels(int twips, int twipsPerPixel) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel));
}

}  // namespace

ProgramList::ProgramList(const ProgramListControls& controls)
    : form_(controls.list.form()),
      list_(controls.list),
      accessMenu_(controls.accessMenu),
      serverMenu_(controls.serverMenu),
      pic16_(BlankIcon16()) {
    // Unsorted at first; the order is set so that the first click on any header, the
    // "Programs" header included, sorts ascending.
    list_.list().SetSorted(false);
    list_.list().SetSortKey(0);
    list_.list().SetSortOrder(SortOrder::Descending);
    ConnectHandlers(controls);
}

void ProgramList::ConnectHandlers(const ProgramListControls& controls) {
    list_.onColumnClick = [this](int column) { lvwPrograms_ColumnClick(column); };
    list_.onMouseUp = [this](int button, int shift, int x, int y) {
        lvwPrograms_MouseUp(button, shift, x, y);
    };
    list_.onKeyDown = [this](int keyCode, int shift) { lvwPrograms_KeyDown(keyCode, shift); };
    controls.addButton.onClick = [this] { cmdAdd_Click(); };
    controls.removeButton.onClick = [this] { cmdRemove_Click(); };
    ConnectMenuItem("mnuAccessAllow", PermissionCommand::AccessAllow);
    ConnectMenuItem("mnuAccessBlock", PermissionCommand::AccessBlock);
    ConnectMenuItem("mnuAccessAsk", PermissionCommand::AccessAsk);
    ConnectMenuItem("mnuServerAllow", PermissionCommand::ServerAllow);
    ConnectMenuItem("mnuServerBlock", PermissionCommand::ServerBlock);
    ConnectMenuItem("mnuServerAsk", PermissionCommand::ServerAsk);
}

void ProgramList::ConnectMenuItem(const char* name, PermissionCommand command) {
    form_.Get(name).onClick = [this, command] { ApplyMenuCommand(command); };
}

void ProgramList::lvwPrograms_ColumnClick(int column) {
    platform::ListViewContent& rows = list_.list();
    const int remembered = rows.sortKey();
    rows.SetSortKey(column);
    rows.SetSorted(true);
    if (column == remembered) {
        rows.SetSortOrder(rows.sortOrder() == SortOrder::Ascending ? SortOrder::Descending
                                                                   : SortOrder::Ascending);
    } else {
        rows.SetSortOrder(SortOrder::Ascending);
    }
}

// The click that ends here has already made the clicked row the current one; the menu's
// command acts on that row, the hit row itself is not remembered.
void ProgramList::lvwPrograms_MouseUp(int button, int /*shift*/, int x, int y) {
    if (list_.list().current() < 0 || button != platform::kLeftButton) {
        return;
    }
    platform::LvHitTestInfo info;
    info.x = TwipsToPixels(x, platform::kTwipsPerPixelX);
    info.y = TwipsToPixels(y, platform::kTwipsPerPixelY);
    info.flags = platform::LVHT_ONITEM;
    form_.SubItemHitTest(list_, info);
    if (info.iItem <= -1 || info.iSubItem <= 0) {
        return;
    }
    if (info.iSubItem == kAccessColumn || info.iSubItem == kServerColumn) {
        PopUpPermissionMenu(info.iSubItem, x, y);
    }
}

// The keyboard's way to the same menus, for the current row: the Menu key or Shift+F10 opens
// its Access menu, with Ctrl its Server menu, at the row's cell.
void ProgramList::lvwPrograms_KeyDown(int keyCode, int shift) {
    const bool menuKey = keyCode == platform::kKeyApplications ||
                         (keyCode == platform::kKeyF10 && (shift & platform::kShiftKey) != 0);
    const int current = list_.list().current();
    if (!menuKey || current < 0) {
        return;
    }
    const int column = (shift & platform::kCtrlKey) != 0 ? kServerColumn : kAccessColumn;
    int x = 0;
    int y = 0;
    form_.ListCellOrigin(list_, current, column, x, y);
    PopUpPermissionMenu(column, x, y);
}

// The menu shows the current row's permission checked.
void ProgramList::PopUpPermissionMenu(int column, int x, int y) {
    platform::Control& menu = column == kAccessColumn ? accessMenu_ : serverMenu_;
    const std::string current =
        list_.list().rows()[static_cast<std::size_t>(list_.list().current())].subItem(
            static_cast<std::size_t>(column));
    const std::string prefix = menu.name();
    for (const std::string_view permission : {kPermissionAllow, kPermissionBlock, kPermissionAsk}) {
        form_.Get(prefix + std::string(permission)).setValue(permission == current);
    }
    form_.PopupMenu(menu, list_, x, y);
}

// The command's own permission is set first, then the other one it drags along.
void ProgramList::ApplyMenuCommand(PermissionCommand command) {
    platform::ListViewContent& rows = list_.list();
    const int current = rows.current();
    if (current < 0) {
        return;  // the menus open only over a current row; nothing to change otherwise
    }
    const auto row = static_cast<std::size_t>(current);
    const platform::ListRow& before = rows.rows()[row];
    const RowPermissions after = ApplyPermissionCommand(
        command, {before.subItem(kAccessColumn), before.subItem(kServerColumn)});
    const bool serverMenu = command == PermissionCommand::ServerAllow ||
                            command == PermissionCommand::ServerBlock ||
                            command == PermissionCommand::ServerAsk;
    if (serverMenu) {
        rows.SetSubItem(row, kServerColumn, after.Server);
        rows.SetSubItem(row, kAccessColumn, after.Access);
    } else {
        rows.SetSubItem(row, kAccessColumn, after.Access);
        rows.SetSubItem(row, kServerColumn, after.Server);
    }
}

std::vector<ProgramRowSettings> ProgramList::RowSettings() const {
    std::vector<ProgramRowSettings> settings;
    for (const platform::ListRow& row : list_.list().rows()) {
        settings.push_back(
            {row.text, row.tag, row.subItem(kAccessColumn), row.subItem(kServerColumn)});
    }
    return settings;
}

}  // namespace rg
