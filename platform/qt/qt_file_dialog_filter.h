// The open-file dialog's filter as Windows writes it ("Programs|*.exe;*.com|All files|*.*") in
// the form Qt's file dialog reads ("Programs (*.exe *.com);;All files (*.*)").
#pragma once

#include <QString>

namespace rg::platform::qt {

QString QtFileDialogFilter(const QString& windowsFilter);

}  // namespace rg::platform::qt
