#include "platform/qt/qt_file_icons.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>

#include "platform/os/shell_icon.h"
#include "platform/qt/qt_text.h"

namespace rg::platform::qt {

platform::Image ImageFromQImage(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);  // straight alpha
    platform::Image result;
    result.width = argb.width();
    result.height = argb.height();
    result.argb.reserve(static_cast<std::size_t>(result.width) *
                        static_cast<std::size_t>(result.height));
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            result.argb.push_back(static_cast<std::uint32_t>(row[x]));
        }
    }
    return result;
}

std::optional<platform::Image> FileTypeIcon(const std::string& cp1252Path) {
    const QFileInfo info(ToQString(cp1252Path));
    if (!info.exists()) {
        return std::nullopt;
    }
    const QIcon icon = QFileIconProvider().icon(info);
    const QPixmap pixmap = icon.pixmap(QSize(kSmallIconSize, kSmallIconSize), 1.0);
    if (pixmap.isNull()) {
        return std::nullopt;
    }
    return ImageFromQImage(pixmap.toImage());
}

void InstallQtFileTypeIconProvider() {
    SetFileTypeIconProvider(&FileTypeIcon);
}

}  // namespace rg::platform::qt
