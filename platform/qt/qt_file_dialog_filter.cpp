#include "platform/qt/qt_file_dialog_filter.h"

#include <QStringList>

namespace rg::platform::qt {

QString QtFileDialogFilter(const QString& windowsFilter) {
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    // Pairs of text and patterns; a trailing text without patterns is dropped, as Windows does.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
        }
        // Qt reads the patterns from the last parentheses: remove the text's own copy of them.
        QString text = parts[i].trimmed();
        if (text.endsWith(QLatin1Char(')'))) {
            const qsizetype open = text.lastIndexOf(QLatin1Char('('));
            if (open > 0) {
                text = text.left(open).trimmed();
            }
        }
        filters << QStringLiteral("%1 (%2)").arg(text, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace rg::platform::qt
