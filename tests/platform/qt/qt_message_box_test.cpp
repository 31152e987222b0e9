// Message boxes on screen: the style bits choose icon, buttons and default button; the real
// modal box returns the button the user chose, and a box closed without one leaves things as
// they are.
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_style.h"
#include "platform/ui/message_box.h"
#include "tests/platform/qt/qt_test_support.h"

namespace rg::test {

using namespace platform;

class MessageBoxTest : public QObject {
    Q_OBJECT

    // Shows the program's box and answers it with `act` once it is up.
    static int Answer(unsigned style, std::function<void(QMessageBox&)> act) {
        QObject guard;
        WhenUp<QMessageBox>(guard, std::move(act));
        return MessageBoxA("Quit?", "t", style);
    }

  private slots:
    void styleBitsChooseIconButtonsAndDefault() {
        using Box = QMessageBox;
        const std::tuple<unsigned, Box::Icon, Box::StandardButtons, Box::StandardButton> rows[] = {
            {MB_YESNO | MB_ICONQUESTION, Box::Question, Box::Yes | Box::No, Box::Yes},
            {MB_YESNO | MB_DEFBUTTON2, Box::NoIcon, Box::Yes | Box::No, Box::No},
            {MB_OK | MB_ICONHAND | MB_DEFBUTTON2, Box::Critical, Box::Ok, Box::Ok},
            {MB_OKCANCEL | MB_ICONEXCLAMATION, Box::Warning, Box::Ok | Box::Cancel, Box::Ok},
            {MB_OK | MB_ICONINFORMATION, Box::Information, Box::Ok, Box::Ok},
        };
        for (const auto& [style, icon, buttons, defaultButton] : rows) {
            const auto box = qt::BuildMessageBox("Caf\xE9?", "Title \xE9", style);
            QCOMPARE(box->icon(), icon);
            QCOMPARE(box->standardButtons(), buttons);
            QCOMPARE(box->defaultButton(), box->button(defaultButton));
            QCOMPARE(box->windowTitle(), QStringLiteral(u"Title \u00E9"));
            QCOMPARE(box->text(), QStringLiteral(u"Caf\u00E9?"));
        }
        // Buttons without icons, as Windows draws them; every other hint is Fusion's.
        std::unique_ptr<QStyle> style(qt::CreateWizardStyle());
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        QCOMPARE(style->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons), 0);
        QCOMPARE(style->styleHint(QStyle::SH_Menu_SloppySubMenus),
                 fusion->styleHint(QStyle::SH_Menu_SloppySubMenus));
    }

    void theRealBoxReturnsTheChosenButtonOrLeavesThingsAsTheyAre() {
        qt::InstallQtMessageBoxHandler();
        const auto click = [](QMessageBox::StandardButton button) {
            return [button](QMessageBox& box) { box.button(button)->click(); };
        };
        QCOMPARE(Answer(MB_YESNO, click(QMessageBox::No)), IDNO);
        QCOMPARE(Answer(MB_YESNO, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }),
                 IDYES);
        QCOMPARE(Answer(MB_OKCANCEL, click(QMessageBox::Cancel)), IDCANCEL);
        QCOMPARE(Answer(MB_OK, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
                 IDOK);
        for (const auto& [style, answer] :
             {std::pair(MB_YESNO, IDNO), {MB_OKCANCEL, IDCANCEL}, {MB_OK, IDOK}}) {
            QCOMPARE(Answer(style, [](QMessageBox& box) { box.done(-1); }), answer);  // no button
        }
    }
};

}  // namespace rg::test

QTEST_MAIN(rg::test::MessageBoxTest)
#include "qt_message_box_test.moc"
