// The report-style list view on screen: its rows, icons and selection shown from the model, the
// user's selection, header clicks and mouse releases reported back, and the sub-item hit test
// answered for the list as it is drawn.
#pragma once

#include <QTreeWidget>

#include "platform/ui/form.h"
#include "platform/ui/window_system.h"

namespace rg::platform::qt {

// Rebuilds the rows (texts, sub-items, icons) and then the selection.
void ShowListRows(const Control& control, QTreeWidget& list);
// Selects exactly the model's selected rows and sets its current row, without reporting back.
void ShowListSelection(const Control& control, QTreeWidget& list);

// Reports the user's selection, header clicks and mouse releases to the form.
void ConnectListEvents(Control& control, QTreeWidget& list);

// LVM_SUBITEMHITTEST: info's point is in pixels relative to the list control (header included).
void HitTestList(const QTreeWidget& list, LvHitTestInfo& info);
// The top left corner of a cell, in twips relative to the list control; false for no such row.
bool ListCellOrigin(const QTreeWidget& list, int row, int column, int& x, int& y);

// The image as Qt draws it (0xAARRGGBB straight alpha both sides).
QImage ToQImage(const platform::Image& image);

}  // namespace rg::platform::qt
