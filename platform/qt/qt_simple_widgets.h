// The small widgets that Qt lacks for the Windows controls: a line (drawn between two points
// inside its own rectangle), a picture box that shows a program picture stretched to its size,
// an option button whose text wraps, and a validator that keeps a text box to characters of
// code page 1252.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRadioButton>
#include <QValidator>
#include <QWidget>

namespace rg::platform::qt {

class LineWidget final : public QWidget {
  public:
    explicit LineWidget(QWidget* parent);
    // Ends in the parent's pixels; the widget covers their bounding rectangle.
    void SetEnds(QPoint from, QPoint to);
    void SetColor(QColor color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPoint from_;
    QPoint to_;
    QColor color_;
};

class PictureWidget final : public QWidget {
  public:
    explicit PictureWidget(QWidget* parent);
    void SetPictureId(int pictureId);
    int pictureId() const { return pictureId_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int pictureId_ = 0;
};

// An option button as Windows draws a multi-line one: the round box beside the first line, the
// text from the top, wrapped at the widget's right edge (QRadioButton keeps one line and cuts
// off what does not fit). A click anywhere on the widget selects it.
class OptionButton final : public QRadioButton {
  public:
    explicit OptionButton(QWidget* parent) : QRadioButton(parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

// A text box holds code page 1252 bytes: characters that have none are refused as typed, so the
// box never shows a text that the logic does not hold.
class Cp1252Validator final : public QValidator {
  public:
    explicit Cp1252Validator(QObject* parent) : QValidator(parent) {}
    State validate(QString& input, int& pos) const override;
};

}  // namespace rg::platform::qt
