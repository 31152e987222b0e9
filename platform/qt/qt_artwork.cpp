#include "platform/qt/qt_artwork.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace rg::platform::qt {

QString ArtworkPath(int pictureId) {
    switch (pictureId) {
        case 1:
            return QStringLiteral(":/artwork/banner.svg");
        case 101:
        case 103:
        case 104:
        case 105:
        case 106:
            return QStringLiteral(":/artwork/icon%1.svg").arg(pictureId);
        case 201:
            return QStringLiteral(":/artwork/prog-browser.svg");
        case 202:
            return QStringLiteral(":/artwork/prog-host.svg");
        case 203:
            return QStringLiteral(":/artwork/prog-services.svg");
        default:
            return {};
    }
}

QPixmap RenderArtwork(int pictureId, QSize logicalSize, qreal devicePixelRatio) {
    const QString path = ArtworkPath(pictureId);
    if (path.isEmpty() || logicalSize.isEmpty() || !QFile::exists(path)) {
        return {};
    }
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        return {};
    }
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(static_cast<int>(std::ceil(logicalSize.width() * ratio)),
                   static_cast<int>(std::ceil(logicalSize.height() * ratio)));
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        // The target rectangle clips nothing by itself; the pixmap's edge does.
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

// Qt's SVG icon engine draws the icon when a size is asked for, sharp at every size.
QIcon ArtworkIcon(int pictureId) {
    const QString path = ArtworkPath(pictureId);
    if (path.isEmpty() || !QFile::exists(path)) {
        return {};
    }
    return QIcon(path);
}

}  // namespace rg::platform::qt
