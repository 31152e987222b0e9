// The real wizard window and login prompt on the real widgets: Enter walks the pages, every page
// shows its icon clear of its centred title, and the login prompt's modal loop refuses a wrong
// password.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <memory>

#include "platform/qt/qt_artwork.h"
#include "platform/qt/qt_simple_widgets.h"
#include "platform/ui/message_box.h"
#include "startup/globals.h"
#include "startup/login_form.h"
#include "tests/platform/qt/qt_test_support.h"
#include "wizard/startup_main_form.h"

namespace rg::test {

class WizardWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<OnScreen<StartupMainForm>> screen_;

    template <typename W>
    W* widget(const std::string& name) const {
        return screen_->widget<W>(name);
    }
    // Every page's icon is drawn, left of where its centred title's text begins.
    void ExpectIconClearOfTitle(int page) {
        const auto* icon = widget<platform::qt::PictureWidget>("imgPage" + std::to_string(page));
        const auto* title = widget<QLabel>("lbPage" + std::to_string(page) + "Header");
        QVERIFY(!platform::qt::RenderArtwork(icon->pictureId(), icon->size(), 1).isNull());
        const QSize text(QFontMetrics(title->font()).horizontalAdvance(title->text()), 1);
        const QRect shown =
            QStyle::alignedRect(Qt::LeftToRight, title->alignment(), text, title->geometry());
        QVERIFY2(shown.left() > icon->geometry().right(), qPrintable(title->text()));
    }

  private slots:
    void init() {
        LangFilePath = RG_LANGUAGE_FILE;
        StoredPassword.clear();
        screen_ = std::make_unique<OnScreen<StartupMainForm>>();
        QVERIFY(WaitActive(screen_->window()));
    }

    void cleanup() { screen_.reset(); }

    // Enter walks every page, also after the focused box's page was hidden.
    void enterWalksThePagesEachWithItsIconClearOfTheTitle() {
        for (const int page : {1, 3, 4, 5, 6, 9}) {
            QTRY_VERIFY(widget<QWidget>("fraPage" + std::to_string(page))->isVisible());
            ExpectIconClearOfTitle(page);
            if (page == 5) {
                screen_->form->Click(screen_->form->Get("optAdvanceProgram"));
            }
            if (page != 9) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
        }
        QCOMPARE(widget<QPushButton>("cmdNext")->text(), QStringLiteral("&Finish"));
    }

    // The prompt's modal loop: a wrong password is refused with its text selected for retyping.
    void theLoginPromptRefusesAWrongPasswordUntilTheRightOne() {
        std::vector<std::string> boxes;
        const auto previous = platform::SetMessageBoxHandler(
            [&](const std::string& text, const std::string&, unsigned) {
                boxes.push_back(text);
                return platform::IDOK;
            });
        StoredPassword = "Pass";
        LoginAccepted = false;
        LoginForm prompt;
        QString selected;
        QObject guard;
        QTimer::singleShot(10000, &guard, [&] { prompt.Unload(); });
        QTimer::singleShot(0, &guard, [&] {
            QVERIFY(WaitActive(screen_->windows->WindowFor(prompt)));
            auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            QVERIFY(box != nullptr);
            QTest::keyClicks(box, "pass");
            QTest::keyClick(box, Qt::Key_Return);
            QTRY_COMPARE(box->selectedText(), QStringLiteral("pass"));
            QTest::keyClicks(box, "Pass");
            QTest::keyClick(box, Qt::Key_Return);
        });
        prompt.ShowModal();
        platform::SetMessageBoxHandler(previous);
        QCOMPARE(boxes, std::vector<std::string>{kInvalidPasswordText});
        QVERIFY(LoginAccepted);
        QVERIFY(!prompt.loaded());
    }
};

}  // namespace rg::test

QTEST_MAIN(rg::test::WizardWindowTest)
#include "qt_wizard_window_test.moc"
