// The report-style list on screen, on a form built for the test: rows, icons and columns from
// the model, selections both ways, header clicks, mouse releases in twips, the sub-item hit
// test, a pop-up menu of the visible items, and the open-file dialog with its filter.
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <array>

#include "platform/qt/qt_file_dialog_filter.h"
#include "platform/qt/qt_file_icons.h"
#include "platform/qt/qt_text.h"
#include "tests/platform/qt/qt_test_support.h"

namespace rg::test {
namespace {

using platform::ControlKind;

class ListForm final : public platform::Form {
  public:
    ListForm() : Form("frmList"), list(AddControl(ControlKind::ListView, "lvwList")) {
        setClientSize(6000, 3000);
        list.setBounds({0, 0, 5000, 2000});
        list.setColumns({{"Programs", 2100}, {"Access", 800}, {"Server", 800}});
        icons.Add("red", {1, 1, {0xFFFF0000u}});
        icons.Add("torn", {2, 2, {0xFFFF0000u}});  // fewer pixels than its size
        list.list().SetSmallIcons(&icons);
        list.list().Add({"a", "Alpha", {"Allow", "Block"}, "red", "", false});
        list.list().Add({"b", "Beta", {"Ask", "Ask"}, "torn", "", false});
        for (const char* name : {"mnuList", "mnuOther"}) {
            platform::Control& menu = AddControl(ControlKind::Menu, name);
            for (const char* item : {"Allow", "Block", "Ask"}) {
                AddControl(ControlKind::MenuItem, name + std::string(item), &menu).setCaption(item);
                Get(name + std::string(item)).onClick = [this, item] { chosen = item; };
            }
        }
        Get("mnuListAsk").setVisible(false);
        Get("mnuListAllow").setEnabled(false);
        Get("mnuListBlock").setValue(true);
        list.onKeyDown = [this](int key, int shift) { keys.push_back({key, shift}); };
        list.onColumnClick = [this](int column) { columnClicks.push_back(column); };
        list.onMouseUp = [this](int button, int shift, int x, int y) {
            mouseUps.push_back({button, shift, x, y});
            if (button == platform::kRightButton) {
                PopupMenu(Get("mnuList"), list, x, y);
            }
        };
    }
    platform::Control& list;
    platform::ImageList icons;
    std::vector<int> columnClicks;
    std::vector<std::array<int, 4>> mouseUps;
    std::vector<std::pair<int, int>> keys;
    std::string chosen;
};

}  // namespace

class ListViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<OnScreen<ListForm>> screen_;
    ListForm* form_ = nullptr;
    QTreeWidget* tree_ = nullptr;

    QPoint Cell(int row, int column) const {  // viewport coordinates
        return {tree_->header()->sectionViewportPosition(column) + 10,
                tree_->visualItemRect(tree_->topLevelItem(row)).center().y()};
    }

  private slots:
    void init() {
        screen_ = std::make_unique<OnScreen<ListForm>>();
        form_ = screen_->form.get();
        tree_ = screen_->widget<QTreeWidget>("lvwList");
        QVERIFY(WaitActive(screen_->window()));
    }

    void cleanup() { screen_.reset(); }

    void rowsColumnsAndIconsComeFromTheModel() {
        QCOMPARE(tree_->columnCount(), 3);
        QCOMPARE(tree_->headerItem()->text(2), QStringLiteral("Server"));
        QCOMPARE(tree_->columnWidth(0), 140);
        QCOMPARE(tree_->columnWidth(2), 53);
        QCOMPARE(tree_->topLevelItem(0)->text(0), QStringLiteral("Alpha"));
        QCOMPARE(tree_->topLevelItem(1)->text(2), QStringLiteral("Ask"));
        QCOMPARE(tree_->topLevelItem(1)->columnCount(), 3);
        const QImage red = tree_->topLevelItem(0)->icon(0).pixmap(1, 1).toImage();
        QCOMPARE(red.pixelColor(0, 0), QColor(Qt::red));
        QVERIFY(tree_->topLevelItem(1)->icon(0).isNull());
        form_->list.list().Select({1}, 1);  // the model's selection shows
        QVERIFY(!tree_->topLevelItem(0)->isSelected() && tree_->topLevelItem(1)->isSelected());
        QCOMPARE(tree_->currentItem(), tree_->topLevelItem(1));
        form_->list.list().Select({0}, 0);
        QCOMPARE(tree_->currentItem(), tree_->topLevelItem(0));
        form_->list.list().SetSubItem(0, 1, "Ask");
        QCOMPARE(tree_->topLevelItem(0)->text(1), QStringLiteral("Ask"));
    }

    // Releases reach the form in twips relative to the list, with their button and the Shift
    // (1), Ctrl (2) and Alt (4) keys; a press selects in the model first.
    void clicksSelectAndReportTheirPointButtonAndKeys() {
        const QPoint cell = Cell(1, 1);
        const QPoint onList = tree_->viewport()->mapTo(tree_, cell);
        QTest::mouseClick(tree_->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(form_->list.list().current(), 1);
        QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::ControlModifier, Cell(0, 0));
        QVERIFY(form_->list.list().rows()[0].selected && form_->list.list().rows()[1].selected);
        QTest::mouseClick(tree_->viewport(), Qt::MiddleButton, Qt::ShiftModifier | Qt::AltModifier,
                          cell);
        QCOMPARE(form_->mouseUps.size(), std::size_t{3});
        QCOMPARE(form_->mouseUps[0], (std::array<int, 4>{1, 0, onList.x() * 15, onList.y() * 15}));
        QCOMPARE(form_->mouseUps[1][1], 2);
        QCOMPARE(form_->mouseUps[2][0], 4);
        QCOMPARE(form_->mouseUps[2][1], 5);
        QTest::mouseClick(tree_->header()->viewport(), Qt::LeftButton, {},
                          QPoint(tree_->header()->sectionPosition(2) + 5, 5));
        QCOMPARE(form_->columnClicks, std::vector<int>{2});
    }

    // The hit test answers in pixels relative to the list, header included; a cell's origin
    // comes in twips and lies in that cell.
    void theHitTestAndTheCellOriginAgree() {
        const auto hit = [this](int x, int y) {
            platform::LvHitTestInfo info{x, y, 0, 7, 7};
            form_->SubItemHitTest(form_->list, info);
            return std::array<int, 3>{info.iItem, info.iSubItem, static_cast<int>(info.flags)};
        };
        const QPoint onList = tree_->viewport()->mapTo(tree_, Cell(1, 1));
        QCOMPARE(hit(onList.x(), onList.y()), (std::array<int, 3>{1, 1, platform::LVHT_ONITEM}));
        QCOMPARE(hit(onList.x(), tree_->height() - 5),
                 (std::array<int, 3>{-1, -1, platform::LVHT_NOWHERE}));
        int x = 0;
        int y = 0;
        QVERIFY(screen_->windows->ListCellOrigin(*form_, form_->list, 1, 2, x, y));
        QCOMPARE(hit(x / 15 + 1, y / 15 + 1), (std::array<int, 3>{1, 2, platform::LVHT_ONITEM}));
        QVERIFY(!screen_->windows->ListCellOrigin(*form_, form_->list, 2, 0, x, y));
    }

    // On the focused list the Menu key and Shift+F10 reach the form as key-down events.
    void theMenuKeyAndShiftF10ReachTheForm() {
        tree_->setFocus();
        QTest::keyClick(tree_, Qt::Key_Menu);
        QTest::keyClick(tree_, Qt::Key_F10);
        QTest::keyClick(tree_, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(form_->keys, (std::vector<std::pair<int, int>>{{platform::kKeyApplications, 0},
                                                                {platform::kKeyF10, 1}}));
    }

    void thePopUpMenuShowsTheMenusVisibleItemsAndClicksTheChosenOne() {
        QObject guard;
        QStringList items;
        WhenUp<QMenu>(guard, [&](QMenu& menu) {
            for (QAction* action : menu.actions()) {
                items << action->text() + (action->isEnabled() ? "" : "-") +
                             (action->isChecked() ? "*" : "");
            }
            menu.setActiveAction(menu.actions().at(1));
            QTest::keyClick(&menu, Qt::Key_Return);
        });
        QTest::mouseClick(tree_->viewport(), Qt::RightButton, {}, Cell(0, 1));
        QTRY_COMPARE(form_->chosen, std::string("Block"));
        QCOMPARE(items, (QStringList{"Allow-", "Block*"}));
    }

    void theOpenFileDialogShowsTheRequestAndGivesTheChosenPath() {
        QObject guard;
        QString title;
        QStringList filters;
        WhenUp<QFileDialog>(guard, [&](QFileDialog& dialog) {
            title = dialog.windowTitle();
            filters = dialog.nameFilters();
            dialog.selectFile(QStringLiteral(RG_LANGUAGE_FILE));
            static_cast<QDialog&>(dialog).accept();  // QFileDialog's own accept is protected
        });
        const auto chosen = form_->ShowOpenFileDialog({"Add Program", "Language|*.INI|All|*.*"});
        QCOMPARE(chosen, std::optional<std::string>(RG_LANGUAGE_FILE));
        QCOMPARE(title, QStringLiteral("Add Program"));
        QCOMPARE(filters, (QStringList{"Language (*.INI *.ini)", "All (*)"}));
        WhenUp<QFileDialog>(guard, [](QFileDialog& dialog) { dialog.reject(); });
        QCOMPARE(form_->ShowOpenFileDialog({"Add Program", "All|*.*"}), std::nullopt);
    }

    // Windows writes "text|patterns" pairs, Qt reads "text (patterns)" joined by ";;".
    void filtersAndImagesAreConvertedForQt() {
        const std::pair<const char*, const char*> filters[] = {
            {"Programs|*.exe;*.com|All files|*.*",
             "Programs (*.EXE *.exe *.COM *.com);;All files (*)"},
            {"Executable File (*.EXE)|*.EXE", "Executable File (*.EXE) (*.EXE *.exe)"},
            {"(x)|*.x", "(x) (*.X *.x)"},
            {"Text| *.txt;;*.log |Trailing", "Text (*.TXT *.txt *.LOG *.log)"},
            {"Blank| ;*.1", "Blank (*.1)"},
        };
        for (const auto& [windows, qt] : filters) {
            QCOMPARE(platform::qt::QtFileDialogFilter(windows), QString(qt));
        }
        QImage image(2, 2, QImage::Format_ARGB32_Premultiplied);
        image.setPixelColor(0, 0, QColor(255, 0, 0, 128));  // straight alpha in the core
        image.setPixelColor(1, 0, QColor(0, 0, 255));
        image.setPixelColor(0, 1, QColor(10, 20, 30));
        image.setPixelColor(1, 1, QColor(0, 255, 0));
        const platform::Image converted = platform::qt::ImageFromQImage(image);
        QCOMPARE(converted.width, 2);
        QCOMPARE(converted.height, 2);
        QCOMPARE(converted.argb,
                 (std::vector<std::uint32_t>{0x80FF0000u, 0xFF0000FFu, 0xFF0A141Eu, 0xFF00FF00u}));
        QVERIFY(!platform::qt::FileTypeIcon("/no/such/file.txt").has_value());
        QVERIFY(platform::qt::HasAccessKey("&Add") && platform::qt::HasAccessKey("a && &b"));
        QVERIFY(!platform::qt::HasAccessKey("Tom && Jerry") && !platform::qt::HasAccessKey("x&"));
    }
};

}  // namespace rg::test

QTEST_MAIN(rg::test::ListViewTest)
#include "qt_list_view_test.moc"
