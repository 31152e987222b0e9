// Page 6's list on the real widgets: icons of the added programs, left, right and middle clicks
// on every column of a row and below the last row (only a left click on Access or Server opens
// that column's menu, whose choice changes the row), header clicks that sort, extended selection
// and removal, and the real open-file dialog (title, filters, a chosen file, a cancel).
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>
#include <functional>
#include <memory>

#include "platform/qt/qt_window_system.h"
#include "resources/default_program_icon.h"
#include "startup/globals.h"
#include "tests/platform/qt/qt_test_support.h"
#include "wizard/startup_main_form.h"

namespace {

// Answers every pop-up menu that opens while it lives: records its items and chooses the item
// with the given caption, or closes the menu when there is none to choose.
class MenuAnswerer {
  public:
    explicit MenuAnswerer(QString choice) : choice_(std::move(choice)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    const std::vector<QStringList>& menus() const { return menus_; }

  private:
    void Poll() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible()) {
            return;
        }
        QStringList items;
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            items << action->text();
            if (action->text() == choice_) {
                chosen = action;
            }
        }
        menus_.push_back(items);
        if (chosen != nullptr) {
            menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            QTest::keyClick(menu, Qt::Key_Escape);
        }
    }

    QString choice_;
    QTimer timer_;
    std::vector<QStringList> menus_;
};

// Answers the next open-file dialog once it is up.
class FileDialogAnswerer {
  public:
    explicit FileDialogAnswerer(std::function<void(QFileDialog&)> answer)
        : answer_(std::move(answer)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog->isVisible() && !answered_) {
                answered_ = true;
                timer_.stop();
                answer_(*dialog);
            }
        });
        timer_.start();
    }
    bool answered() const { return answered_; }

  private:
    std::function<void(QFileDialog&)> answer_;
    QTimer timer_;
    bool answered_ = false;
};

}  // namespace

class ProgramListWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<rg::StartupMainForm> form_;
    std::unique_ptr<rg::platform::qt::QtWindowSystem> windows_;
    std::unique_ptr<QTemporaryDir> files_;

    rg::platform::qt::FormWindow* window() const { return windows_->WindowFor(*form_); }
    QTreeWidget* tree() const {
        return qobject_cast<QTreeWidget*>(window()->WidgetFor(form_->Get("lvwPrograms")));
    }
    const rg::platform::ListViewContent& rows() const { return form_->Get("lvwPrograms").list(); }
    std::string MakeFile(const QString& name) const {
        const std::string path = files_->filePath(name).toStdString();
        std::ofstream(path) << "not a program";
        return path;
    }
    static std::string Fixture(const char* name) {
        return std::string(RG_PE_FIXTURES) + "/" + name + ".exe";
    }
    QStringList ShownTexts(int column) const {
        QStringList texts;
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            texts << tree()->topLevelItem(i)->text(column);
        }
        return texts;
    }
    QStringList ModelTexts(int column) const {
        QStringList texts;
        for (const rg::platform::ListRow& row : rows().rows()) {
            texts << QString::fromStdString(
                column == 0 ? row.text : row.subItem(static_cast<std::size_t>(column)));
        }
        return texts;
    }
    // The centre of a cell in viewport coordinates; a row past the last lies below it.
    QPoint CellCenter(int row, int column) const {
        QHeaderView* header = tree()->header();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        const int last = tree()->topLevelItemCount() - 1;
        const QRect lastRect = tree()->visualItemRect(tree()->topLevelItem(last));
        const int y = row <= last ? tree()->visualItemRect(tree()->topLevelItem(row)).center().y()
                                  : lastRect.bottom() + (row - last) * lastRect.height();
        return {x, y};
    }
    // Clicks the cell with the button; returns the menus that opened, answered with `choice`.
    std::vector<QStringList> Click(int row, int column, Qt::MouseButton button,
                                   const QString& choice = QString()) {
        MenuAnswerer answerer(choice);
        QTest::mouseClick(tree()->viewport(), button, Qt::NoModifier, CellCenter(row, column));
        QTest::qWait(30);
        return answerer.menus();
    }

  private slots:
    void init() {
        rg::LangFilePath = RG_LANGUAGE_FILE;
        rg::StoredPassword.clear();
        files_ = std::make_unique<QTemporaryDir>();
        QVERIFY(files_->isValid());
        windows_ = std::make_unique<rg::platform::qt::QtWindowSystem>();
        rg::platform::SetWindowSystem(windows_.get());
        form_ = std::make_unique<rg::StartupMainForm>();
        form_->Show();
        QVERIFY(rg::test::WaitActive(window()));
        form_->ShowPage6();
        for (const std::string& path : {Fixture("full"), MakeFile("notes.txt"),
                                        std::string(files_->filePath("gone.exe").toStdString())}) {
            form_->programList.AddProgramToList(path);
        }
        QCOMPARE(tree()->topLevelItemCount(), 3);
    }

    void cleanup() {
        windows_.reset();
        rg::platform::SetWindowSystem(nullptr);
        form_.reset();
        files_.reset();
    }

    void showsThreeFixedColumnsAndTheRowsWithTheirIcons() {
        QCOMPARE(tree()->columnCount(), 3);
        QCOMPARE(tree()->headerItem()->text(0), QStringLiteral("Programs"));
        QCOMPARE(tree()->headerItem()->text(1), QStringLiteral("Access"));
        QCOMPARE(tree()->headerItem()->text(2), QStringLiteral("Server"));
        QCOMPARE(tree()->columnWidth(0), 140);
        QCOMPARE(tree()->columnWidth(1), 53);
        QCOMPARE(tree()->columnWidth(2), 53);
        QCOMPARE(tree()->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(ShownTexts(0), (QStringList{"Sample Tool", "notes.txt", "gone.exe"}));
        QCOMPARE(ShownTexts(1), (QStringList{"Allow", "Allow", "Allow"}));
        QCOMPARE(ShownTexts(2), (QStringList{"Allow", "Allow", "Allow"}));
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(!tree()->topLevelItem(i)->icon(0).isNull(), qPrintable(ShownTexts(0)[i]));
        }
        // The program's own icon differs from the default one of the missing file.
        const QImage own = tree()->topLevelItem(0)->icon(0).pixmap(16, 16).toImage();
        const QImage fallback = tree()->topLevelItem(2)->icon(0).pixmap(16, 16).toImage();
        QVERIFY(own != fallback);
        QCOMPARE(fallback.size(), QSize(16, 16));
    }

    void onlyALeftClickOnAccessOrServerOpensItsMenu() {
        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        for (const Qt::MouseButton button : buttons) {
            for (const int row : {1, 3}) {  // row 3 lies below the last row
                for (int column = 0; column < 3; ++column) {
                    const auto menus = Click(row, column, button);
                    const bool opens = button == Qt::LeftButton && row == 1 && column > 0;
                    QVERIFY2(menus.size() == (opens ? 1u : 0u),
                             qPrintable(QStringLiteral("button %1 row %2 column %3")
                                            .arg(int(button))
                                            .arg(row)
                                            .arg(column)));
                    if (opens) {
                        QCOMPARE(menus[0], (QStringList{"Allow", "Block", "Ask"}));
                    }
                }
            }
        }
        QCOMPARE(ModelTexts(1), (QStringList{"Allow", "Allow", "Allow"}));
    }

    void aChosenMenuItemChangesTheClickedRow() {
        QCOMPARE(Click(1, 1, Qt::LeftButton, "Block").size(), 1u);
        QCOMPARE(rows().current(), 1);
        QCOMPARE(ShownTexts(1), (QStringList{"Allow", "Block", "Allow"}));
        QCOMPARE(ShownTexts(2), (QStringList{"Allow", "Block", "Allow"}));
        QCOMPARE(Click(1, 2, Qt::LeftButton, "Ask").size(), 1u);  // Access follows up to Ask
        QCOMPARE(ShownTexts(1), (QStringList{"Allow", "Ask", "Allow"}));
        QCOMPARE(ShownTexts(2), (QStringList{"Allow", "Ask", "Allow"}));
        QCOMPARE(Click(2, 2, Qt::LeftButton, "Block").size(), 1u);
        QCOMPARE(ShownTexts(1), (QStringList{"Allow", "Ask", "Allow"}));
        QCOMPARE(ShownTexts(2), (QStringList{"Allow", "Ask", "Block"}));
    }

    void headerClicksSortAndToggle() {
        QHeaderView* header = tree()->header();
        const auto clickHeader = [header](int column) {
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, Qt::NoModifier,
                QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
        };
        clickHeader(0);
        QCOMPARE(ShownTexts(0), (QStringList{"gone.exe", "notes.txt", "Sample Tool"}));
        clickHeader(0);
        QCOMPARE(ShownTexts(0), (QStringList{"Sample Tool", "notes.txt", "gone.exe"}));
        Click(1, 1, Qt::LeftButton, "Block");  // notes.txt
        clickHeader(1);
        QCOMPARE(ShownTexts(1), (QStringList{"Allow", "Allow", "Block"}));
        clickHeader(1);
        QCOMPARE(ShownTexts(1), (QStringList{"Block", "Allow", "Allow"}));
        QCOMPARE(ShownTexts(0), ModelTexts(0));
    }

    void extendedSelectionAndRemovalAfterYes() {
        rg::test::ScriptedBoxes boxes;
        boxes.Answer(rg::platform::IDYES);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(0, 0));
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          CellCenter(2, 0));
        QVERIFY(rows().rows()[0].selected && !rows().rows()[1].selected &&
                rows().rows()[2].selected);
        QTest::mouseClick(qobject_cast<QPushButton*>(window()->WidgetFor(form_->Get("cmdRemove"))),
                          Qt::LeftButton);
        QCOMPARE(boxes.shown().size(), 1u);
        QCOMPARE(boxes.shown()[0].text,
                 std::string("Do you want to remove following application(s)?\r\nSample Tool\r\n"
                             "gone.exe\r\n"));
        QCOMPARE(ShownTexts(0), (QStringList{"notes.txt"}));
        QVERIFY(!tree()->topLevelItem(0)->icon(0).isNull());
    }

    void theOpenFileDialogAddsTheChosenFileAndACancelAddsNothing() {
        const std::string chosen = MakeFile("tool.EXE");
        QString title;
        QStringList filters;
        FileDialogAnswerer choose([&](QFileDialog& dialog) {
            title = dialog.windowTitle();
            filters = dialog.nameFilters();
            dialog.selectFile(QString::fromStdString(chosen));
            static_cast<QDialog&>(dialog).accept();  // QFileDialog's own accept is protected
        });
        auto* add = qobject_cast<QPushButton*>(window()->WidgetFor(form_->Get("cmdAdd")));
        QTest::mouseClick(add, Qt::LeftButton);
        QTRY_COMPARE(tree()->topLevelItemCount(), 4);
        QCOMPARE(title, QStringLiteral("Add Program"));
        QCOMPARE(filters.size(), 2);
        QVERIFY(filters[0].startsWith(QStringLiteral("Executable File")));
        QVERIFY(filters[0].contains(QStringLiteral("*.EXE")));
        QVERIFY(filters[1].startsWith(QStringLiteral("All Files")));
        QCOMPARE(rows().rows()[3].tag, chosen);
        QCOMPARE(rows().rows()[3].text, std::string("tool.EXE"));

        FileDialogAnswerer cancel([](QFileDialog& dialog) { dialog.reject(); });
        QTest::mouseClick(add, Qt::LeftButton);
        QTRY_VERIFY(cancel.answered());
        QCOMPARE(tree()->topLevelItemCount(), 4);
    }
};

QTEST_MAIN(ProgramListWindowTest)
#include "qt_program_list_test.moc"
