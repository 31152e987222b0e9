#include "platform/qt/qt_list_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "platform/qt/qt_text.h"

namespace rg::platform::qt {
namespace {

int ButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return kLeftButton;
        case Qt::RightButton:
            return kRightButton;
        case Qt::MiddleButton:
            return kMiddleButton;
        default:
            return 0;
    }
}

// The Shift argument of the Windows mouse events: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

// Mouse releases land on the list's viewport; the form hears them in twips relative to the list.
class MouseUpReporter final : public QObject {
  public:
    MouseUpReporter(Control& control, QTreeWidget& list)
        : QObject(&list), control_(control), list_(list) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint onList = list_.viewport()->mapTo(&list_, mouse->position().toPoint());
            control_.form().MouseUp(control_, ButtonCode(mouse->button()),
                                    ShiftCode(mouse->modifiers()), onList.x() * kTwipsPerPixelX,
                                    onList.y() * kTwipsPerPixelY);
        }
        return false;
    }

  private:
    Control& control_;
    QTreeWidget& list_;
};

// Keys pressed on the focused list; the Menu key and Shift+F10 come as a keyboard context-menu
// request, which Qt also makes of the Menu key itself.
class KeyReporter final : public QObject {
  public:
    KeyReporter(Control& control, QTreeWidget& list) : QObject(&list), control_(control) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const int shift = ShiftCode(key->modifiers());
            if (key->key() == Qt::Key_Menu) {
                control_.form().KeyDown(control_, kKeyApplications, shift);
                return true;
            }
            if (key->key() == Qt::Key_F10 && (shift & kShiftKey) != 0) {
                control_.form().KeyDown(control_, kKeyF10, shift);
                return true;
            }
        }
        return false;
    }

  private:
    Control& control_;
};

}  // namespace

QImage ToQImage(const platform::Image& image) {
    if (image.empty() || image.argb.size() < static_cast<std::size_t>(image.width) *
                                                 static_cast<std::size_t>(image.height)) {
        return {};
    }
    QImage result(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < image.width; ++x) {
            row[x] = static_cast<QRgb>(image.pixel(x, y));
        }
    }
    return result;
}

void ShowListRows(const Control& control, QTreeWidget& list) {
    const QSignalBlocker blocker(&list);
    list.clear();
    const ListViewContent& content = control.list();
    const int columns = std::max(1, list.columnCount());
    for (std::size_t i = 0; i < content.count(); ++i) {
        const ListRow& row = content.rows()[i];
        auto* item = new QTreeWidgetItem(&list);
        item->setText(0, ToQString(row.text));
        item->setToolTip(0, ToQString(row.text));  // long names show in full
        for (int column = 1; column < columns; ++column) {
            item->setText(column, ToQString(row.subItem(static_cast<std::size_t>(column))));
        }
        if (const Image* icon = content.IconOf(i)) {
            item->setIcon(0, QIcon(QPixmap::fromImage(ToQImage(*icon))));
        }
    }
    ShowListSelection(control, list);
}

void ShowListSelection(const Control& control, QTreeWidget& list) {
    const QSignalBlocker blocker(&list);
    const ListViewContent& content = control.list();
    const int count = std::min(list.topLevelItemCount(), static_cast<int>(content.count()));
    for (int i = 0; i < count; ++i) {
        list.topLevelItem(i)->setSelected(content.rows()[static_cast<std::size_t>(i)].selected);
    }
    const int current = content.current();
    if (current >= 0 && current < count) {
        list.setCurrentItem(list.topLevelItem(current), 0, QItemSelectionModel::NoUpdate);
    }
}

void ConnectListEvents(Control& control, QTreeWidget& list) {
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.setSelectionBehavior(QAbstractItemView::SelectRows);
    list.header()->setSectionsClickable(true);
    QObject::connect(&list, &QTreeWidget::itemSelectionChanged, &list, [&control, &list] {
        std::vector<std::size_t> selected;
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            if (list.topLevelItem(i)->isSelected()) {
                selected.push_back(static_cast<std::size_t>(i));
            }
        }
        const int current =
            list.currentItem() != nullptr ? list.indexOfTopLevelItem(list.currentItem()) : -1;
        if (!control.form().SelectListRows(control, selected, current)) {
            ShowListSelection(control, list);
        }
    });
    QObject::connect(list.header(), &QHeaderView::sectionClicked, &list,
                     [&control](int column) { control.form().ColumnClick(control, column); });
    list.viewport()->installEventFilter(new MouseUpReporter(control, list));
    list.installEventFilter(new KeyReporter(control, list));
}

bool ListCellOrigin(const QTreeWidget& list, int row, int column, int& x, int& y) {
    QTreeWidgetItem* item =
        row >= 0 && row < list.topLevelItemCount() ? list.topLevelItem(row) : nullptr;
    if (item == nullptr) {
        return false;
    }
    const QRect cell = list.visualItemRect(item);
    const QPoint origin = list.viewport()->mapTo(
        &list, QPoint(list.header()->sectionViewportPosition(column), cell.top()));
    x = origin.x() * kTwipsPerPixelX;
    y = origin.y() * kTwipsPerPixelY;
    return true;
}

void HitTestList(const QTreeWidget& list, LvHitTestInfo& info) {
    const QPoint onViewport = list.viewport()->mapFrom(&list, QPoint(info.x, info.y));
    QTreeWidgetItem* item =
        list.viewport()->rect().contains(onViewport) ? list.itemAt(onViewport) : nullptr;
    if (item == nullptr) {
        info.iItem = -1;
        info.iSubItem = -1;
        info.flags = LVHT_NOWHERE;
        return;
    }
    info.iItem = list.indexOfTopLevelItem(item);
    info.iSubItem = list.header()->logicalIndexAt(onViewport.x());
    info.flags = LVHT_ONITEM;
}

}  // namespace rg::platform::qt
