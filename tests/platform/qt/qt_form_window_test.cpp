// The generic form renderer and the message boxes, on a small form built for the test: layout
// from twips, captions with access keys, Enter, Esc, a label's access key, masked typing,
// select-all on focus, option groups per container and the close box.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <memory>
#include <vector>

#include "platform/qt/qt_file_icons.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_window_system.h"
#include "platform/ui/form.h"
#include "tests/platform/qt/qt_test_support.h"

using rg::platform::Control;
using rg::platform::ControlKind;
using rg::platform::Form;
using rg::platform::TextAlignment;

namespace {

class SampleForm final : public Form {
  public:
    SampleForm() : Form("frmSample") {
        setCaption("Sample && more");
        setClientSize(3000, 1500);  // 200 x 100 pixels
        Add(ControlKind::Label, "lblName", "&Name:", {0, 0, 1200, 300});
        Control& name = Add(ControlKind::TextBox, "txtName", "", {1200, 0, 1500, 300});
        name.setPasswordChar('*');
        name.onGotFocus = [this, &name] {
            ++gotFocus;
            SelectAllText(name);
        };
        Control& group = Add(ControlKind::Frame, "fraGroup", "", {0, 450, 3000, 600});
        Add(ControlKind::OptionButton, "optA", "Option &A", {0, 0, 1400, 300}, &group)
            .setValue(true);
        Add(ControlKind::OptionButton, "optB", "Option &B", {1500, 0, 1400, 300}, &group);
        Add(ControlKind::OptionButton, "optC", "Option &C", {0, 300, 1400, 300}).setValue(true);
        Control& ok = Add(ControlKind::CommandButton, "cmdOK", "OK", {0, 1100, 900, 375});
        ok.setDefault(true);
        ok.onClick = [this] { ++okClicks; };
        Control& cancel =
            Add(ControlKind::CommandButton, "cmdCancel", "Cancel", {1000, 1100, 900, 375});
        cancel.setCancel(true);
        cancel.onClick = [this] { ++cancelClicks; };
        Add(ControlKind::Label, "lblPlain", "Tom && Jerry &drop", {2000, 1100, 1000, 375});
    }

    void CentreThePlainLabel() { Get("lblPlain").setAlignment(TextAlignment::Center); }

    int okClicks = 0;
    int cancelClicks = 0;
    int gotFocus = 0;
    int closeRequests = 0;
    bool refuseClose = true;

  protected:
    void Form_QueryUnload(bool& cancel) override {
        ++closeRequests;
        cancel = refuseClose;
    }

  private:
    Control& Add(ControlKind kind, const char* name, const char* caption,
                 const rg::platform::Bounds& bounds, Control* container = nullptr) {
        Control& control = AddControl(kind, name, container);
        control.setCaption(caption);
        control.setBounds(bounds);
        return control;
    }
};

}  // namespace

class FormWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<SampleForm> form_;
    std::unique_ptr<rg::platform::qt::QtWindowSystem> windows_;
    int lastUnloads_ = 0;

    rg::platform::qt::FormWindow* window() const { return windows_->WindowFor(*form_); }
    template <typename W>
    W* widget(const char* name) const {
        return qobject_cast<W*>(windows_->WindowFor(*form_)->WidgetFor(form_->Get(name)));
    }

  private slots:
    void init() {
        form_ = std::make_unique<SampleForm>();
        windows_ = std::make_unique<rg::platform::qt::QtWindowSystem>([this] { ++lastUnloads_; });
        rg::platform::SetWindowSystem(windows_.get());
        form_->Show();
        QVERIFY(rg::test::WaitActive(window()));
    }

    void cleanup() {
        windows_.reset();
        rg::platform::SetWindowSystem(nullptr);
        form_.reset();
        lastUnloads_ = 0;
    }

    void layoutComesFromTwipsAndCaptionsKeepTheirAmpersands() {
        QCOMPARE(window()->size(), QSize(200, 100));
        QCOMPARE(window()->windowTitle(), QStringLiteral("Sample && more"));
        QCOMPARE(widget<QLineEdit>("txtName")->geometry(), QRect(80, 0, 100, 20));
        QCOMPARE(widget<QRadioButton>("optB")->geometry(), QRect(100, 0, 93, 20));
        // A label without a control to focus shows "&&" as "&" and drops the lone "&".
        QCOMPARE(widget<QLabel>("lblPlain")->text(), QStringLiteral("Tom & Jerry drop"));
        QCOMPARE(widget<QLabel>("lblName")->buddy(), widget<QLineEdit>("txtName"));
        QCOMPARE(widget<QPushButton>("cmdCancel")->text(), QStringLiteral("Cancel"));
        QVERIFY(widget<QLabel>("lblPlain")->alignment() & Qt::AlignLeft);
        form_->CentreThePlainLabel();
        QVERIFY(widget<QLabel>("lblPlain")->alignment() & Qt::AlignHCenter);
    }

    void enterPressesTheDefaultButtonAndEscTheCancelButton() {
        QLineEdit* name = widget<QLineEdit>("txtName");
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(form_->okClicks, 1);
        QTest::keyClick(name, Qt::Key_Escape);
        QCOMPARE(form_->cancelClicks, 1);
        QVERIFY(window()->isVisible());  // Esc is the cancel button's, not the dialog's
        // A focused button takes Enter itself, as on Windows.
        QPushButton* cancel = widget<QPushButton>("cmdCancel");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        QCOMPARE(form_->cancelClicks, 2);
        QCOMPARE(form_->okClicks, 1);
    }

    void accessKeyOfALabelFocusesTheNextControl() {
        widget<QPushButton>("cmdOK")->setFocus();
        const int before = form_->gotFocus;
        QTest::keyClick(window(), Qt::Key_N, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), widget<QLineEdit>("txtName"));
        QCOMPARE(form_->gotFocus, before + 1);
        QCOMPARE(form_->focused(), &form_->Get("txtName"));
    }

    void typingIntoTheMaskedBoxReachesTheFormAndShowsStars() {
        QLineEdit* name = widget<QLineEdit>("txtName");
        name->setFocus();
        QTest::keyClicks(name, "s3cr&t");
        QCOMPARE(form_->Get("txtName").text(), std::string("s3cr&t"));
        QCOMPARE(name->displayText(), QStringLiteral("******"));
        // A character that code page 1252 lacks is refused; the euro sign is in it.
        for (const QChar typed : {QChar(0x0142), QChar(0x20AC)}) {
            QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(typed),
                                Qt::NoModifier);
        }
        QCOMPARE(form_->Get("txtName").text(), std::string("s3cr&t\x80"));
    }

    void focusByClickSelectsTheWholeText() {
        form_->Get("txtName").setText("abcdef");
        widget<QPushButton>("cmdOK")->setFocus();
        QLineEdit* name = widget<QLineEdit>("txtName");
        QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(5, 10));
        QTRY_COMPARE(name->selectedText(), QStringLiteral("abcdef"));
        QCOMPARE(name->cursorPosition(), 6);  // Home, then Shift+End
    }

    void optionButtonsFormOneGroupPerContainer() {
        QTest::mouseClick(widget<QRadioButton>("optB"), Qt::LeftButton);
        QVERIFY(form_->Get("optB").value());
        QVERIFY(!form_->Get("optA").value());
        QVERIFY(form_->Get("optC").value());  // another container, another group
        QVERIFY(widget<QRadioButton>("optB")->isChecked());
        QVERIFY(!widget<QRadioButton>("optA")->isChecked());
        QVERIFY(widget<QRadioButton>("optC")->isChecked());
        // The model selects too; the screen follows.
        form_->Get("optA").setValue(true);
        QVERIFY(widget<QRadioButton>("optA")->isChecked());
        QVERIFY(!widget<QRadioButton>("optB")->isChecked());
    }

    void modelChangesShowAndAHiddenFocusLeavesEnterToTheDefault() {
        Control& name = form_->Get("txtName");
        widget<QLineEdit>("txtName")->setFocus();
        form_->Get("cmdOK").setCaption("&Go");
        QCOMPARE(widget<QPushButton>("cmdOK")->text(), QStringLiteral("&Go"));
        form_->Get("cmdCancel").setEnabled(false);
        QVERIFY(!widget<QPushButton>("cmdCancel")->isEnabled());
        name.setVisible(false);
        QVERIFY(!widget<QLineEdit>("txtName")->isVisible());
        QTest::keyClick(window(), Qt::Key_Return);
        QCOMPARE(form_->okClicks, 1);
        QTest::keyClick(window(), Qt::Key_Escape);  // the cancel button is disabled
        QCOMPARE(form_->cancelClicks, 0);
    }

    void closeBoxAsksTheFormWhichMayRefuse() {
        form_->refuseClose = true;
        window()->close();
        QCOMPARE(form_->closeRequests, 1);
        QVERIFY(window()->isVisible());
        QVERIFY(form_->loaded());
        form_->refuseClose = false;
        QWidget* closing = window();
        closing->close();
        QCOMPARE(form_->closeRequests, 2);
        QVERIFY(!form_->loaded());
        QVERIFY(!closing->isVisible());
        QCOMPARE(lastUnloads_, 1);
    }
};

// A form with one report-style list of two rows in three columns.
class ListForm final : public Form {
  public:
    ListForm() : Form("frmList"), list(AddControl(ControlKind::ListView, "lvwList")) {
        setClientSize(6000, 3000);
        list.setBounds({0, 0, 5000, 2000});
        list.setColumns({{"Programs", 2100}, {"Access", 800}, {"Server", 800}});
        list.list().Add({"a", "Alpha", {"Allow", "Block"}, "", "", false});
        list.list().Add({"b", "Beta", {"Ask", "Ask"}, "", "", false});
        list.onColumnClick = [this](int column) { columnClicks.push_back(column); };
        list.onMouseUp = [this](int button, int, int x, int y) {
            mouseUps.push_back({button, x, y});
        };
    }
    Control& list;
    std::vector<int> columnClicks;
    std::vector<std::array<int, 3>> mouseUps;
};

class ListViewTest : public QObject {
    Q_OBJECT

  private slots:
    void rowsHitTestSelectionHeaderAndMouseReachTheForm() {
        ListForm form;
        rg::platform::qt::QtWindowSystem windows;
        rg::platform::SetWindowSystem(&windows);
        form.Show();
        auto* tree = qobject_cast<QTreeWidget*>(windows.WindowFor(form)->WidgetFor(form.list));
        QVERIFY(rg::test::WaitActive(windows.WindowFor(form)));
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(tree->topLevelItem(1)->text(2), QStringLiteral("Ask"));

        // The hit test answers in pixels relative to the list, header included.
        const QRect second = tree->visualItemRect(tree->topLevelItem(1));
        const QPoint inAccess =
            tree->viewport()->mapTo(tree, QPoint(150, second.center().y()));  // column 1
        rg::platform::LvHitTestInfo hit{inAccess.x(), inAccess.y()};
        form.SubItemHitTest(form.list, hit);
        QCOMPARE(hit.iItem, 1);
        QCOMPARE(hit.iSubItem, 1);
        rg::platform::LvHitTestInfo below{inAccess.x(), tree->height() - 5};
        form.SubItemHitTest(form.list, below);
        QCOMPARE(below.iItem, -1);

        // A click selects the row in the model and reports the release in twips.
        const QPoint inViewport(150, second.center().y());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, inViewport);
        QCOMPARE(form.list.list().current(), 1);
        QVERIFY(form.list.list().rows()[1].selected);
        QCOMPARE(form.mouseUps.size(), std::size_t{1});
        QCOMPARE(form.mouseUps[0], (std::array<int, 3>{1, inAccess.x() * 15, inAccess.y() * 15}));

        // The model's own selection shows; a header click reports its column.
        form.list.list().Select({0}, 0);
        QVERIFY(tree->topLevelItem(0)->isSelected());
        QVERIFY(!tree->topLevelItem(1)->isSelected());
        QTest::mouseClick(tree->header()->viewport(), Qt::LeftButton, {},
                          QPoint(tree->header()->sectionPosition(2) + 5, 5));
        QCOMPARE(form.columnClicks, std::vector<int>{2});
        rg::platform::SetWindowSystem(nullptr);
    }
};

class MessageBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void styleBitsChooseIconButtonsAndDefault() {
        using namespace rg::platform;
        auto question = qt::BuildMessageBox("Quit?", "Title \xE9", MB_YESNO | MB_ICONQUESTION);
        QCOMPARE(question->icon(), QMessageBox::Question);
        QCOMPARE(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question->defaultButton(), question->button(QMessageBox::Yes));
        QCOMPARE(question->windowTitle(), QStringLiteral(u"Title \u00E9"));
        QCOMPARE(question->text(), QStringLiteral("Quit?"));
        auto second = qt::BuildMessageBox("x", "t", MB_YESNO | MB_DEFBUTTON2);
        QCOMPARE(second->defaultButton(), second->button(QMessageBox::No));
        QCOMPARE(second->icon(), QMessageBox::NoIcon);
        auto stop = qt::BuildMessageBox("x", "t", MB_OK | MB_ICONHAND);
        QCOMPARE(stop->icon(), QMessageBox::Critical);
        QCOMPARE(stop->standardButtons(), QMessageBox::Ok);
        auto info = qt::BuildMessageBox("x", "t", MB_OK | MB_ICONINFORMATION);
        QCOMPARE(info->icon(), QMessageBox::Information);
    }

    void theRealBoxIsModalAndReturnsTheChosenButton() {
        using namespace rg::platform;
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
        });
        QCOMPARE(qt::ShowQtMessageBox("Quit?", "t", MB_YESNO | MB_ICONQUESTION), IDNO);
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
        });
        QCOMPARE(qt::ShowQtMessageBox("Quit?", "t", MB_YESNO | MB_ICONQUESTION), IDYES);
    }
};

class FileIconTest : public QObject {
    Q_OBJECT

  private slots:
    void imagesKeepStraightAlphaRowByRow() {
        QImage image(2, 2, QImage::Format_ARGB32_Premultiplied);
        image.setPixelColor(0, 0, QColor(255, 0, 0, 128));  // half-transparent red
        image.setPixelColor(1, 0, QColor(0, 0, 255));
        image.setPixelColor(0, 1, QColor(0, 255, 0, 0));
        image.setPixelColor(1, 1, QColor(10, 20, 30));
        const rg::platform::Image converted = rg::platform::qt::ImageFromQImage(image);
        QCOMPARE(converted.width, 2);
        QCOMPARE(converted.height, 2);
        QCOMPARE(converted.pixel(0, 0), 0x80FF0000u);
        QCOMPARE(converted.pixel(1, 0), 0xFF0000FFu);
        QCOMPARE(converted.pixel(0, 1) >> 24, 0u);
        QCOMPARE(converted.pixel(1, 1), 0xFF0A141Eu);
    }

    void aMissingFileHasNoIcon() {
        QVERIFY(!rg::platform::qt::FileTypeIcon("/no/such/file.txt").has_value());
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FormWindowTest forms;
    MessageBoxTest boxes;
    FileIconTest icons;
    ListViewTest lists;
    return QTest::qExec(&forms, argc, argv) | QTest::qExec(&boxes, argc, argv) |
           QTest::qExec(&icons, argc, argv) | QTest::qExec(&lists, argc, argv);
}

#include "qt_form_window_test.moc"
