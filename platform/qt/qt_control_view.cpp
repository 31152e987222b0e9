#include "platform/qt/qt_control_view.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_list_view.h"
#include "platform/qt/qt_simple_widgets.h"
#include "platform/qt/qt_text.h"

namespace rg::platform::qt {
namespace {

QWidget* CreateLineEdit(const Control& control, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new Cp1252Validator(edit));
    if (control.passwordChar() != '\0') {
        edit->setEchoMode(QLineEdit::Password);
        // Qt masks with a bullet by default; Windows shows the control's own character.
        const QChar mask = ToQString(std::string(1, control.passwordChar())).at(0);
        edit->setStyleSheet(
            QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(mask.unicode()));
    }
    return edit;
}

QWidget* CreateListView(QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->header()->setSectionsMovable(false);
    // The columns keep their widths, as a Windows report view's do; the header is blank beyond.
    list->header()->setStretchLastSection(false);
    return list;
}

QWidget* CreateLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    // Windows labels wrap at their width, start at the top left and have no margin.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setContentsMargins(0, 0, 0, 0);
    label->setIndent(0);
    return label;
}

QRect PixelRect(const Bounds& bounds) {
    const int left = TwipsToPixels(bounds.left);
    const int top = TwipsToPixels(bounds.top);
    return {left, top, TwipsToPixels(bounds.left + bounds.width) - left,
            TwipsToPixels(bounds.top + bounds.height) - top};
}

void ApplyCaption(const Control& control, QWidget& widget) {
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        // Qt reads the access key of a label only when the label has a buddy to focus.
        label->setText(label->buddy() != nullptr ? ToQString(control.caption())
                                                 : CaptionWithoutAccessKey(control.caption()));
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setText(ToQString(control.caption()));  // Qt reads "&" and "&&" as Windows does
    }
}

void ApplyAlignment(const Control& control, QWidget& widget) {
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        Qt::Alignment horizontal = Qt::AlignLeft;
        if (control.alignment() == platform::TextAlignment::Center) {
            horizontal = Qt::AlignHCenter;
        } else if (control.alignment() == platform::TextAlignment::Right) {
            horizontal = Qt::AlignRight;
        }
        label->setAlignment(horizontal | Qt::AlignTop);
    }
}

void ApplyText(const Control& control, QWidget& widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        const QString text = ToQString(control.text());
        if (edit->text() != text) {  // an echo of the user's own typing must not move the caret
            edit->setText(text);
        }
    }
}

// The model decides which option is selected; Qt's own exclusivity must not veto the change.
void ApplyValue(const Control& control, QWidget& widget) {
    if (auto* option = qobject_cast<QRadioButton*>(&widget)) {
        option->setAutoExclusive(false);
        option->setChecked(control.value());
        option->setAutoExclusive(true);
    }
}

// The width a control starting at `left` keeps inside its container (frame or client area).
int VisibleWidth(const Control& control, int left) {
    const int containerWidth = control.container() != nullptr ? control.container()->bounds().width
                                                              : control.form().clientWidth();
    return containerWidth > 0 ? TwipsToPixels(containerWidth) - left : QWIDGETSIZE_MAX;
}

// A label wider than its container would wrap its lines beyond the container's edge, where they
// are cut off; it wraps at the edge instead, so that every word stays readable.
void ApplyGeometry(const Control& control, QWidget& widget) {
    if (auto* line = dynamic_cast<LineWidget*>(&widget)) {
        const LineEnds& ends = control.lineEnds();
        line->SetEnds(QPoint(TwipsToPixels(ends.x1), TwipsToPixels(ends.y1)),
                      QPoint(TwipsToPixels(ends.x2), TwipsToPixels(ends.y2)));
        return;
    }
    QRect rect = PixelRect(control.bounds());
    if (control.kind() == ControlKind::Label) {
        rect.setWidth(std::min(rect.width(), VisibleWidth(control, rect.left())));
    }
    widget.setGeometry(rect);
}

void ApplyColumns(const Control& control, QWidget& widget) {
    auto* list = qobject_cast<QTreeWidget*>(&widget);
    if (list == nullptr) {
        return;
    }
    const auto& columns = control.columns();
    QStringList headers;
    for (const ListColumn& column : columns) {
        headers << ToQString(column.header);
    }
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(headers);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        list->setColumnWidth(static_cast<int>(i), TwipsToPixels(columns[i].width));
    }
}

void ApplyLineColor(const Control& control, QWidget& widget) {
    if (auto* line = dynamic_cast<LineWidget*>(&widget)) {
        if (control.backColor() != kSystemColor) {
            line->SetColor(QColor::fromRgb(static_cast<QRgb>(control.backColor())));
        }
        return;
    }
    ApplyBackColor(widget, control.backColor());
}

}  // namespace

QWidget* CreateControlWidget(const Control& control, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (control.kind()) {
        case ControlKind::Frame:
            widget = new QFrame(parent);  // borderless and captionless, as the pages are
            break;
        case ControlKind::Label:
            widget = CreateLabel(parent);
            break;
        case ControlKind::OptionButton:
            widget = new OptionButton(parent);  // wraps its text, as the Windows one does
            break;
        case ControlKind::CommandButton:
            widget = new QPushButton(parent);
            break;
        case ControlKind::TextBox:
            widget = CreateLineEdit(control, parent);
            break;
        case ControlKind::Picture:
            widget = new PictureWidget(parent);
            break;
        case ControlKind::Line:
            widget = new LineWidget(parent);
            break;
        case ControlKind::ListView:
            widget = CreateListView(parent);
            break;
        case ControlKind::Menu:
        case ControlKind::MenuItem:
            return nullptr;
    }
    widget->setObjectName(QString::fromStdString(control.name()));
    return widget;
}

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::OptionButton ||
           kind == ControlKind::CommandButton || kind == ControlKind::ListView;
}

void ApplyControlProperty(const Control& control, QWidget& widget, Property what) {
    switch (what) {
        case Property::Caption:
            ApplyCaption(control, widget);
            break;
        case Property::Text:
            ApplyText(control, widget);
            break;
        case Property::Visible:
            widget.setVisible(control.visible());
            break;
        case Property::Enabled:
            widget.setEnabled(control.enabled());
            break;
        case Property::Value:
            ApplyValue(control, widget);
            break;
        case Property::Bounds:
            ApplyGeometry(control, widget);
            break;
        case Property::Font:
            widget.setFont(FontFor(control.font()));
            break;
        case Property::Picture:
            if (auto* picture = dynamic_cast<PictureWidget*>(&widget)) {
                picture->SetPictureId(control.pictureId());
            }
            break;
        case Property::BackColor:
            ApplyLineColor(control, widget);
            break;
        case Property::Alignment:
            ApplyAlignment(control, widget);
            break;
        case Property::ListColumns:
            ApplyColumns(control, widget);
            break;
        case Property::ListRows:
        case Property::ListImages:
            if (auto* list = qobject_cast<QTreeWidget*>(&widget)) {
                ShowListRows(control, *list);
            }
            break;
        case Property::ListSelection:
            if (auto* list = qobject_cast<QTreeWidget*>(&widget)) {
                ShowListSelection(control, *list);
            }
            break;
        case Property::Tag:  // the tag is the logic's; nothing shows it
        case Property::Icon:
        case Property::ClientSize:
            break;
    }
}

void ApplyAllControlProperties(const Control& control, QWidget& widget) {
    for (const Property what :
         {Property::Font, Property::Bounds, Property::BackColor, Property::Alignment,
          Property::Caption, Property::Text, Property::Value, Property::Picture,
          Property::ListColumns, Property::ListRows, Property::Enabled, Property::Visible}) {
        ApplyControlProperty(control, widget, what);
    }
}

QFont FontFor(const platform::Font& font) {
    QFont qfont;
    // The dialog face Windows draws "MS Sans Serif" dialogs with (embedded, see
    // InstallWizardFonts), then faces of a similar build that Linux systems carry.
    qfont.setFamilies({QStringLiteral("Tahoma"), QString::fromStdString(font.name),
                       QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Nimbus Sans"),
                       QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    // Points at 96 dpi, the resolution the twips layout was made for.
    qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pointSize * 96.0 / 72.0))));
    qfont.setBold(font.bold);
    return qfont;
}

void ApplyBackColor(QWidget& widget, std::uint32_t rgb) {
    // Standard Windows command buttons keep the system colour whatever their BackColor says.
    if (rgb == kSystemColor || qobject_cast<QPushButton*>(&widget) != nullptr) {
        return;
    }
    QPalette palette = widget.palette();
    const QColor color = QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFFu));
    palette.setColor(QPalette::Window, color);
    palette.setColor(widget.backgroundRole(), color);  // buttons fill with their Button role
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace rg::platform::qt
