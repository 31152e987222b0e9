// The look of the program's windows: Qt's Fusion style, close to the classic Windows dialogs the
// layout was made for, with plain text buttons in message boxes as Windows draws them.
#pragma once

class QStyle;

namespace rg::platform::qt {

// A new style object; QApplication::setStyle takes ownership.
QStyle* CreateWizardStyle();

// Makes the dialog font embedded in the program's resources (":/fonts") known to Qt; without
// those resources (a program that links no artwork) the desktop's fonts stand in.
void InstallWizardFonts();

}  // namespace rg::platform::qt
