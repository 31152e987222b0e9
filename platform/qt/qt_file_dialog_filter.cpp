#include "platform/qt/qt_file_dialog_filter.h"

#include <QStringList>

namespace rg::platform::qt {

namespace {

// A Windows pattern as Qt matches it on Linux: "*.*" is every file on Windows, also one without
// an extension (most Linux programs have none); the letters' case does not matter on Windows.
QStringList LinuxPatterns(const QString& pattern) {
    if (pattern == QStringLiteral("*.*")) {
        return {QStringLiteral("*")};
    }
    const QString lower = pattern.toLower();
    const QString upper = pattern.toUpper();
    return lower == upper ? QStringList{pattern} : QStringList{upper, lower};
}

}  // namespace

// Each entry shows its text as the program gives it ("Executable File (*.exe,*.com,*.scr)");
// the patterns Qt filters by follow in a last pair of parentheses, which the dialog hides.
QString QtFileDialogFilter(const QString& windowsFilter) {
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    // Pairs of text and patterns; a trailing text without patterns is dropped, as Windows does.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (const QString trimmed = pattern.trimmed(); !trimmed.isEmpty()) {
                patterns << LinuxPatterns(trimmed);
            }
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(),
                                                 patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace rg::platform::qt
