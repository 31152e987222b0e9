#include "platform/qt/qt_simple_widgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/qt_artwork.h"
#include "platform/qt/qt_text.h"

namespace rg::platform::qt {

LineWidget::LineWidget(QWidget* parent) : QWidget(parent), color_(0xA0, 0xA0, 0xA0) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::SetEnds(QPoint from, QPoint to) {
    from_ = from;
    to_ = to;
    const QPoint topLeft(std::min(from.x(), to.x()), std::min(from.y(), to.y()));
    setGeometry(topLeft.x(), topLeft.y(), std::abs(to.x() - from.x()) + 1,
                std::abs(to.y() - from.y()) + 1);
    update();
}

void LineWidget::SetColor(QColor color) {
    color_ = color;
    update();
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(color_, 0));  // cosmetic: one device pixel, sharp at any scale
    const QPoint origin = geometry().topLeft();
    painter.drawLine(from_ - origin, to_ - origin);
}

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureWidget::SetPictureId(int pictureId) {
    pictureId_ = pictureId;
    update();
}

// Drawn at paint time for the widget's size and the screen's pixel ratio: sharp on every screen.
void PictureWidget::paintEvent(QPaintEvent*) {
    const QPixmap pixmap = RenderArtwork(pictureId_, size(), devicePixelRatioF());
    if (!pixmap.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(0, 0, pixmap);
    }
}

// The text runs in the style's contents rectangle (right of the box and its gap), from the top.
void OptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect textArea = style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
    QStyleOptionButton box = option;
    box.rect = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
    box.rect.moveTop(textArea.top() + (fontMetrics().height() - box.rect.height()) / 2);
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, box);
    int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this)) {
        flags |= Qt::TextHideMnemonic;
    }
    painter.drawItemText(textArea, flags, option.palette, isEnabled(), option.text,
                         QPalette::WindowText);
    if (hasFocus() && !option.text.isEmpty()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(textArea, flags, option.text).adjusted(-1, 0, 1, 0);
        focus.rect = focus.rect.intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool OptionButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
    return FitsCp1252(input) ? Acceptable : Invalid;
}

}  // namespace rg::platform::qt
