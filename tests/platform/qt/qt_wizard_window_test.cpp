// The real wizard window and login prompt on the real widgets: Enter walks the pages, an access
// key goes back, the masked password boxes take typing, Esc and the close box ask before
// exiting (No keeps the wizard, Yes closes it), and the login prompt refuses a wrong password
// with the whole text selected for retyping.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "platform/qt/qt_window_system.h"
#include "services/language.h"
#include "startup/globals.h"
#include "startup/login_form.h"
#include "tests/platform/qt/qt_test_support.h"
#include "wizard/startup_main_form.h"

using rg::platform::IDNO;
using rg::platform::IDYES;

class WizardWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<rg::StartupMainForm> form_;
    std::unique_ptr<rg::platform::qt::QtWindowSystem> windows_;
    int lastUnloads_ = 0;

    rg::platform::qt::FormWindow* window() const { return windows_->WindowFor(*form_); }
    template <typename W>
    W* widget(const char* name) const {
        return qobject_cast<W*>(window()->WidgetFor(form_->Get(name)));
    }
    void PressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

  private slots:
    void init() {
        rg::LangFilePath = RG_LANGUAGE_FILE;
        rg::StoredPassword.clear();
        windows_ = std::make_unique<rg::platform::qt::QtWindowSystem>([this] { ++lastUnloads_; });
        rg::platform::SetWindowSystem(windows_.get());
        form_ = std::make_unique<rg::StartupMainForm>();
        form_->Show();
        QVERIFY(rg::test::WaitActive(window()));
    }

    void cleanup() {
        windows_.reset();
        rg::platform::SetWindowSystem(nullptr);
        form_.reset();
        lastUnloads_ = 0;
    }

    void enterWalksForwardAndTheBackAccessKeyReturns() {
        QCOMPARE(window()->windowTitle(), QStringLiteral("Ravelgard Startup Wizard"));
        QVERIFY(!window()->windowIcon().pixmap(32, 32).isNull());
        QVERIFY(!widget<QPushButton>("cmdBack")->isEnabled());
        PressEnter();
        QCOMPARE(form_->CurrentPage, 3);
        QVERIFY(widget<QWidget>("fraPage3")->isVisible());
        QVERIFY(!widget<QWidget>("fraPage1")->isVisible());
        // "< &Back": Qt animates the press and clicks a moment later.
        QTest::keyClick(window(), Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(form_->CurrentPage, 1);
        QVERIFY(!widget<QPushButton>("cmdBack")->isEnabled());
    }

    void typedPasswordsAreMaskedAndEnterTakesThem() {
        PressEnter();
        PressEnter();
        QCOMPARE(form_->CurrentPage, 4);
        QLineEdit* password = widget<QLineEdit>("txtPassword");
        QTRY_COMPARE(QApplication::focusWidget(), password);  // page 4 focuses the first box
        QTest::keyClicks(password, "Secret");
        QTest::keyClick(password, Qt::Key_Tab);
        QLineEdit* confirm = widget<QLineEdit>("txtConfirmPass");
        QCOMPARE(QApplication::focusWidget(), confirm);
        QTest::keyClicks(confirm, "Secret");
        QCOMPARE(password->displayText(), QStringLiteral("******"));
        QCOMPARE(confirm->displayText(), QStringLiteral("******"));
        PressEnter();
        QCOMPARE(form_->CurrentPage, 5);
        QCOMPARE(form_->WizardPassword, std::string("Secret"));
        // The focus left with the hidden page: Enter goes on with Next, not Back.
        PressEnter();
        QCOMPARE(form_->CurrentPage, 9);
        QCOMPARE(widget<QPushButton>("cmdNext")->text(), QStringLiteral("&Finish"));
    }

    void passwordsThatDifferKeepThePage() {
        rg::test::ScriptedBoxes boxes;
        PressEnter();
        PressEnter();
        QTRY_COMPARE(QApplication::focusWidget(), widget<QLineEdit>("txtPassword"));
        QTest::keyClicks(widget<QLineEdit>("txtPassword"), "abc");
        QTest::keyClicks(widget<QLineEdit>("txtConfirmPass"), "abC");
        PressEnter();
        QCOMPARE(boxes.shown().size(), std::size_t{1});
        QCOMPARE(boxes.shown()[0].text, std::string("Password not matched."));
        QCOMPARE(boxes.shown()[0].style, rg::platform::MB_OK | rg::platform::MB_ICONHAND);
        QCOMPARE(form_->CurrentPage, 4);
        QCOMPARE(form_->WizardPassword, std::string());
    }

    void clicksOnTheAlertOptionsSetTheChoice() {
        PressEnter();
        QRadioButton* doNot = widget<QRadioButton>("optAlertDoNot");
        QCOMPARE(doNot->text(), QStringLiteral("&Do not alert me, just keep the log"));
        QTest::mouseClick(doNot, Qt::LeftButton);
        QCOMPARE(form_->AlertChoice, 0.0f);
        QVERIFY(!widget<QRadioButton>("optAlertAlltime")->isChecked());
        QTest::keyClick(window(), Qt::Key_A, Qt::AltModifier);  // "&Alert me all the time"
        QTRY_COMPARE(form_->AlertChoice, 1.0f);
        QVERIFY(widget<QRadioButton>("optAlertAlltime")->isChecked());
    }

    void escAndTheCloseBoxAskBeforeExiting() {
        rg::test::ScriptedBoxes boxes;
        PressEnter();
        boxes.Answer(IDNO);
        QTest::keyClick(window(), Qt::Key_Escape);
        QCOMPARE(boxes.shown().size(), std::size_t{1});
        QCOMPARE(boxes.shown()[0].text,
                 std::string("Are you sure you want to exit from Ravelgard Startup Wizard"));
        QCOMPARE(boxes.shown()[0].title, std::string("Ravelgard Startup Wizard"));
        QCOMPARE(boxes.shown()[0].style, rg::platform::MB_YESNO | rg::platform::MB_ICONQUESTION);
        QVERIFY(window()->isVisible());
        boxes.Answer(IDNO);
        window()->close();
        QCOMPARE(boxes.shown().size(), std::size_t{2});
        QVERIFY(window()->isVisible());
        QCOMPARE(form_->CurrentPage, 3);
        boxes.Answer(IDYES);
        QWidget* closing = window();
        closing->close();
        QCOMPARE(boxes.shown().size(), std::size_t{3});
        QVERIFY(!closing->isVisible());
        QVERIFY(!form_->loaded());
        QCOMPARE(lastUnloads_, 1);
    }
};

class LoginWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<rg::platform::qt::QtWindowSystem> windows_;

    // Runs the prompt's modal loop; `script` drives it once it is up. A safety timer closes a
    // prompt that the script left open, so that a failure cannot hang the run.
    void RunPrompt(rg::LoginForm& prompt, const std::function<void(QWidget*)>& script) {
        QTimer::singleShot(0, [&] {
            QWidget* window = windows_->WindowFor(prompt);
            if (rg::test::WaitActive(window)) {
                script(window);
            }
        });
        QTimer::singleShot(10000, [&] {
            if (prompt.loaded()) {
                prompt.Unload();
            }
        });
        prompt.ShowModal();
    }

  private slots:
    void init() {
        rg::StoredPassword = "Pass";
        rg::LoginAccepted = false;
        windows_ = std::make_unique<rg::platform::qt::QtWindowSystem>();
        rg::platform::SetWindowSystem(windows_.get());
    }

    void cleanup() {
        windows_.reset();
        rg::platform::SetWindowSystem(nullptr);
    }

    void wrongPasswordIsSelectedForRetypingThenTheRightOneEnters() {
        rg::test::ScriptedBoxes boxes;
        rg::LoginForm prompt;
        QString selectedAfterRefusal;
        RunPrompt(prompt, [&](QWidget* window) {
            auto* box = qobject_cast<QLineEdit*>(window->focusWidget());
            if (box == nullptr) {
                return;
            }
            QTest::keyClicks(box, "pass");
            QTest::keyClick(box, Qt::Key_Return);
            QTest::qWait(50);  // the select-all key strokes arrive after the event at hand
            selectedAfterRefusal = box->selectedText();
            QTest::keyClicks(box, "Pass");
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(boxes.shown().size(), std::size_t{1});
        QCOMPARE(boxes.shown()[0].text, std::string("Invalid password, please try again."));
        QCOMPARE(boxes.shown()[0].style, rg::platform::MB_OK | rg::platform::MB_ICONINFORMATION);
        QCOMPARE(selectedAfterRefusal, QStringLiteral("pass"));
        QVERIFY(rg::LoginAccepted);
        QVERIFY(!prompt.loaded());
    }

    void escRefusesTheLogin() {
        rg::LoginForm prompt;
        bool masked = false;
        RunPrompt(prompt, [&](QWidget* window) {
            auto* box = qobject_cast<QLineEdit*>(window->focusWidget());
            if (box == nullptr) {
                return;
            }
            QTest::keyClicks(box, "Pa");
            masked = box->displayText() == QStringLiteral("**");
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QVERIFY(masked);
        QVERIFY(!rg::LoginAccepted);
        QVERIFY(!prompt.loaded());
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    WizardWindowTest wizard;
    LoginWindowTest login;
    return QTest::qExec(&wizard, argc, argv) | QTest::qExec(&login, argc, argv);
}

#include "qt_wizard_window_test.moc"
