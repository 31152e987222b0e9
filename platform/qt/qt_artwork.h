// The program's own pictures by resource identifier: the banner (1), the icons 101 to 106 and the
// 16 x 16 icons of the three fixed program rows (201 to 203). They are SVG drawings embedded in
// the executable's Qt resources (":/artwork/..."); they are drawn at the requested size times the
// screen's pixel ratio, so they stay sharp on high-dpi screens.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace rg::platform::qt {

// The resource path of the picture, or an empty string for an unknown identifier.
QString ArtworkPath(int pictureId);

// The picture stretched to the size in logical pixels; a null pixmap for an unknown identifier
// or a missing resource.
QPixmap RenderArtwork(int pictureId, QSize logicalSize, qreal devicePixelRatio);

// An icon of the picture, drawn at whatever size is asked of it; null for an unknown identifier.
QIcon ArtworkIcon(int pictureId);

}  // namespace rg::platform::qt
