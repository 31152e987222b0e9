// The open-file dialog's filter as Windows writes it ("Programs|*.exe;*.com|All files|*.*") in
// the form Qt's file dialog reads ("Programs (*.EXE *.exe *.COM *.com);;All files (*)"), to be
// shown with QFileDialog::HideNameFilterDetails, so that each entry shows its own text.
#pragma once

#include <QString>

namespace rg::platform::qt {

QString QtFileDialogFilter(const QString& windowsFilter);

}  // namespace rg::platform::qt
