// The report-style list view on screen: columns, rows, their icons (an image list of small
// icons at the window's resolution) and the selection shown from the model; the user's
// selection, header clicks and mouse releases reported back; the sub-item hit test answered by
// the control itself (LVM_SUBITEMHITTEST).
#pragma once

#include "platform/ui/form.h"
#include "platform/ui/window_system.h"

#include <windows.h>

namespace rg::platform::win32ui {

// Creates the list view of `control` as a child of `parent`, with the given control id.
HWND CreateListView(Control& control, HWND parent, int id);

void ShowListColumns(const Control& control, HWND list, int dpi);
// Rebuilds the rows (texts, sub-items, icons) and then the selection.
void ShowListRows(const Control& control, HWND list, int dpi);
// Selects exactly the model's selected rows and focuses its current row.
void ShowListSelection(const Control& control, HWND list);

// A notification of the list (selection change, header click, left or right click): reports it
// to the form. Returns true when it was one of those.
bool HandleListNotify(Control& control, HWND list, const NMHDR& header);

// The top left corner of a cell in twips relative to the list (LVM_GETSUBITEMRECT).
bool ListCellOrigin(HWND list, int row, int column, int& x, int& y);

// LVM_SUBITEMHITTEST for a point in pixels relative to the list (header included).
void HitTestList(HWND list, LvHitTestInfo& info);

}  // namespace rg::platform::win32ui
