// The generic form renderer on a small form built for the test: layout from twips, captions
// with access keys, colours and fonts, Enter and Esc, a label's access key, masked typing,
// select-all on focus, option groups per container and the close box.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "platform/qt/qt_artwork.h"
#include "platform/qt/qt_control_view.h"
#include "platform/qt/qt_simple_widgets.h"
#include "tests/platform/qt/qt_test_support.h"

namespace rg::test {
namespace {

using namespace platform;

class SampleForm final : public Form {
  public:
    SampleForm() : Form("frmSample") {
        setCaption("Sample && more");
        setClientSize(3000, 1500);  // 200 x 100 pixels
        setIconId(101);
        Add(ControlKind::Label, "lblName", "&Name:", {0, 0, 1200, 300});
        Control& name = Add(ControlKind::TextBox, "txtName", "", {1200, 0, 1500, 300});
        name.setPasswordChar('*');
        name.onGotFocus = [this, &name] {
            ++gotFocus;
            SelectAllText(name);
        };
        Control& group = Add(ControlKind::Frame, "fraGroup", "", {0, 450, 2000, 600});
        Add(ControlKind::OptionButton, "optA", "&A", {0, 0, 900, 300}, &group).setValue(true);
        Add(ControlKind::OptionButton, "optB", "&B", {1000, 0, 900, 300}, &group);
        Add(ControlKind::Label, "lblWide", "wide", {1005, 300, 3000, 300}, &group);
        Add(ControlKind::OptionButton, "optC", "&C", {2000, 450, 900, 300}).setValue(true);
        Add(ControlKind::CommandButton, "cmdOK", "OK", {0, 1100, 900, 375}).setDefault(true);
        Get("cmdOK").onClick = [this] { ++okClicks; };
        Add(ControlKind::CommandButton, "cmdNo", "No", {1000, 1100, 900, 375}).setCancel(true);
        Get("cmdNo").onClick = [this] { ++cancelClicks; };
        Add(ControlKind::Label, "lblPlain", "Tom && Jerry &drop", {2000, 1100, 1000, 375});
        Add(ControlKind::Picture, "imgIcon", "", {2700, 0, 300, 300}).setPictureId(101);
        AddControl(ControlKind::Line, "linSep").setLineEnds({0, 1050, 3000, 1050});
    }

    int okClicks = 0;
    int cancelClicks = 0;
    int gotFocus = 0;
    int closeRequests = 0;

  protected:
    void Form_QueryUnload(bool& cancel) override { cancel = ++closeRequests == 1; }

  private:
    Control& Add(ControlKind kind, const char* name, const char* caption, const Bounds& bounds,
                 Control* container = nullptr) {
        Control& control = AddControl(kind, name, container);
        control.setCaption(caption);
        control.setBounds(bounds);
        return control;
    }
};

}  // namespace

class FormWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<OnScreen<SampleForm>> screen_;
    SampleForm* form_ = nullptr;
    int lastUnloads_ = 0;

    qt::FormWindow* window() const { return screen_->window(); }
    template <typename W>
    W* widget(const char* name) const {
        return screen_->widget<W>(name);
    }

  private slots:
    void init() {
        screen_ = std::make_unique<OnScreen<SampleForm>>([this] { ++lastUnloads_; });
        form_ = screen_->form.get();
        QVERIFY(WaitActive(window()));
    }

    void cleanup() { screen_.reset(); }

    void layoutCaptionsColoursAndFontsFollowTheModel() {
        QCOMPARE(window()->size(), QSize(200, 100));
        QCOMPARE(window()->windowTitle(), QStringLiteral("Sample && more"));
        QVERIFY(!window()->windowIcon().isNull());
        QCOMPARE(widget<QRadioButton>("optB")->geometry(), QRect(67, 0, 60, 20));
        QCOMPARE(widget<QLabel>("lblWide")->width(), 133 - 67);  // wraps at its frame's edge
        QCOMPARE(widget<qt::LineWidget>("linSep")->geometry(), QRect(0, 70, 201, 1));
        QCOMPARE(widget<qt::PictureWidget>("imgIcon")->pictureId(), 101);
        for (const auto& [ratio, pixels] : {std::pair(2.0, 40), {0.5, 10}, {0.0, 20}}) {
            QCOMPARE(qt::RenderArtwork(101, QSize(20, 20), ratio).size(), QSize(pixels, pixels));
        }
        QVERIFY(qt::RenderArtwork(102, QSize(20, 20), 1).isNull());
        const QImage banner = qt::RenderArtwork(1, QSize(151, 267), 1).toImage();  // no seam
        QVERIFY(banner.pixelColor(0, 0).alpha() == 255 &&
                banner.pixelColor(150, 266).alpha() == 255);
        // "&&" shows one "&"; a lone "&" marks an access key when a control follows in tab order.
        QCOMPARE(widget<QLabel>("lblPlain")->text(), QStringLiteral("Tom & Jerry drop"));
        QCOMPARE(widget<QLabel>("lblPlain")->buddy(), nullptr);
        QCOMPARE(widget<QLabel>("lblName")->text(), QStringLiteral("&Name:"));
        QCOMPARE(widget<QLabel>("lblName")->buddy(), widget<QLineEdit>("txtName"));
        QCOMPARE(widget<QLabel>("lblWide")->buddy(), widget<QRadioButton>("optC"));
        for (const auto& [alignment, shown] : {std::pair(TextAlignment::Center, Qt::AlignHCenter),
                                               {TextAlignment::Right, Qt::AlignRight},
                                               {TextAlignment::Left, Qt::AlignLeft}}) {
            form_->Get("lblPlain").setAlignment(alignment);
            QCOMPARE(widget<QLabel>("lblPlain")->alignment(), shown | Qt::AlignTop);
        }
        // A colour fills the background; command buttons keep the system colour.
        form_->Get("lblPlain").setBackColor(0x102030);
        form_->Get("cmdOK").setBackColor(0x102030);
        QVERIFY(widget<QLabel>("lblPlain")->autoFillBackground());
        QCOMPARE(widget<QLabel>("lblPlain")->palette().color(QPalette::Window), QColor(0x102030));
        QVERIFY(!widget<QPushButton>("cmdOK")->autoFillBackground());
        form_->Get("linSep").setBackColor(0x102030);  // a line's colour
        QCOMPARE(widget<QWidget>("linSep")->grab().toImage().pixelColor(5, 0), QColor(0x102030));
        form_->setBackColor(0x405060);
        QCOMPARE(window()->palette().color(QPalette::Window), QColor(0x405060));
        form_->Get("lblPlain").setFont({"Arial", 12, true});  // points at 96 dpi
        QCOMPARE(widget<QLabel>("lblPlain")->font().pixelSize(), 16);
        QVERIFY(widget<QLabel>("lblPlain")->font().bold());
        // Labels wrap at their width and have no margin, as Windows draws them.
        QVERIFY(widget<QLabel>("lblWide")->wordWrap());
        QCOMPARE(widget<QLabel>("lblWide")->contentsMargins(), QMargins());
        QCOMPARE(widget<QLabel>("lblName")->font().pixelSize(), 11);
        QCOMPARE(qt::FontFor({"Arial", 0, false}).pixelSize(), 1);
    }

    // Enter presses the default button and Esc the cancel button, wherever the focus is, unless
    // a focused button takes Enter itself or the button is disabled.
    void enterAndEscPressTheDefaultAndCancelButtons() {
        widget<QLineEdit>("txtName")->setFocus();
        QTest::keyClick(widget<QLineEdit>("txtName"), Qt::Key_Return);
        QTest::keyClick(widget<QLineEdit>("txtName"), Qt::Key_Escape);
        QVERIFY(window()->isVisible());
        widget<QPushButton>("cmdNo")->setFocus();
        QTest::keyClick(widget<QPushButton>("cmdNo"), Qt::Key_Return);
        QCOMPARE(form_->okClicks, 1);
        QCOMPARE(form_->cancelClicks, 2);
        // A hidden focused box leaves Enter to the default button.
        widget<QLineEdit>("txtName")->setFocus();
        form_->Get("cmdNo").setEnabled(false);
        form_->Get("txtName").setVisible(false);
        QVERIFY(!widget<QLineEdit>("txtName")->isVisible());
        QTest::keyClick(window(), Qt::Key_Return);
        QTest::keyClick(window(), Qt::Key_Escape);
        QCOMPARE(form_->okClicks, 2);
        QCOMPARE(form_->cancelClicks, 2);
    }

    // However the focus comes (access key, click), the box reports it and selects its text.
    void theFocusHandlerSelectsTheWholeText() {
        form_->Get("txtName").setText("abcdef");
        widget<QPushButton>("cmdOK")->setFocus();
        QCOMPARE(form_->focused(), &form_->Get("cmdOK"));  // buttons report their focus too
        const int before = form_->gotFocus;
        QTest::keyClick(window(), Qt::Key_N, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), widget<QLineEdit>("txtName"));
        QCOMPARE(form_->focused(), &form_->Get("txtName"));
        QTRY_COMPARE(widget<QLineEdit>("txtName")->selectedText(), QStringLiteral("abcdef"));
        QCOMPARE(form_->gotFocus, before + 1);
        widget<QLineEdit>("txtName")->repaint();  // no focus change, no focus handler
        QCOMPARE(form_->gotFocus, before + 1);
        widget<QPushButton>("cmdOK")->setFocus();
        QTest::mouseClick(widget<QLineEdit>("txtName"), Qt::LeftButton, {}, QPoint(5, 10));
        QTRY_COMPARE(widget<QLineEdit>("txtName")->selectedText(), QStringLiteral("abcdef"));
        QCOMPARE(widget<QLineEdit>("txtName")->cursorPosition(), 6);
    }

    void typingReachesTheFormMaskedAndInCodePage1252() {
        QLineEdit* name = widget<QLineEdit>("txtName");
        name->setFocus();
        QTest::keyClicks(name, "s3cr&t");
        QCOMPARE(name->displayText(), QStringLiteral("******"));
        for (const QChar typed : {QChar(0x0142), QChar(0x20AC)}) {  // the euro sign is in it
            QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(typed), {});
        }
        QCOMPARE(form_->Get("txtName").text(), std::string("s3cr&t\x80"));
    }

    void optionButtonsFormOneGroupPerContainerAndFollowTheModel() {
        QTest::mouseClick(widget<QRadioButton>("optB"), Qt::LeftButton);
        QVERIFY(form_->Get("optB").value() && !form_->Get("optA").value());
        QVERIFY(!widget<QRadioButton>("optA")->isChecked());
        QVERIFY(widget<QRadioButton>("optC")->isChecked());  // another container
        form_->Get("optA").setValue(true);
        QVERIFY(widget<QRadioButton>("optA")->isChecked() &&
                !widget<QRadioButton>("optB")->isChecked());
        form_->Get("optA").setValue(false);  // Qt's exclusivity would keep it checked
        QVERIFY(!widget<QRadioButton>("optA")->isChecked());
    }

    void theCloseBoxAsksTheFormWhichMayRefuse() {
        window()->close();
        QVERIFY(window()->isVisible() && form_->loaded());
        QWidget* closing = window();
        closing->close();
        QCOMPARE(form_->closeRequests, 2);
        QVERIFY(!form_->loaded() && !closing->isVisible());
        QCOMPARE(lastUnloads_, 1);
    }
};

}  // namespace rg::test

QTEST_MAIN(rg::test::FormWindowTest)
#include "qt_form_window_test.moc"
