// One control of a form as a Qt widget: which widget stands for which kind of control, and how
// each property of the model shows on it. The form window (qt_form_window.h) owns the widgets
// and routes their events back; this file only creates and updates them.
#pragma once

#include <QFont>
#include <QWidget>

#include "platform/ui/form.h"

namespace rg::platform::qt {

// The widget for the control, created under parent; nullptr for kinds that have no widget of
// their own on the form (menus, which only pop up).
QWidget* CreateControlWidget(const Control& control, QWidget* parent);

// True for kinds that take the keyboard focus (the targets of a label's access key).
bool TakesFocus(ControlKind kind);

// Shows one property of the control on its widget.
void ApplyControlProperty(const Control& control, QWidget& widget, Property what);

// Shows every property (after creation and once label buddies are known).
void ApplyAllControlProperties(const Control& control, QWidget& widget);

// The control's font, with fallbacks for the Windows faces, sized in pixels so that text keeps
// its proportion to the twips layout at any dpi.
QFont FontFor(const platform::Font& font);

// Sets a background colour (0xRRGGBB) or leaves the platform's colour for kSystemColor.
void ApplyBackColor(QWidget& widget, std::uint32_t rgb);

}  // namespace rg::platform::qt
