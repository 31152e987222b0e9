#include "platform/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

#include "platform/qt/qt_text.h"
#include "platform/ui/message_box.h"

namespace rg::platform::qt {
namespace {

QMessageBox::Icon IconFor(unsigned style) {
    switch (style & MB_ICONMASK) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

struct ButtonSet {
    QMessageBox::StandardButton first;
    QMessageBox::StandardButton second;  // NoButton when the box has one button
};

ButtonSet ButtonsFor(unsigned style) {
    switch (style & MB_TYPEMASK) {
        case MB_YESNO:
            return {QMessageBox::Yes, QMessageBox::No};
        case MB_OKCANCEL:
            return {QMessageBox::Ok, QMessageBox::Cancel};
        default:
            return {QMessageBox::Ok, QMessageBox::NoButton};
    }
}

int AnswerFor(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Cancel:
            return IDCANCEL;
        default:
            return IDOK;
    }
}

// A box closed without a button (window manager close, Alt+F4) gives the answer that leaves
// things as they are: Cancel, No, or OK for a box that only informs.
int AnswerWhenClosed(unsigned style) {
    switch (style & MB_TYPEMASK) {
        case MB_YESNO:
            return IDNO;
        case MB_OKCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
    }
}

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(const std::string& text, const std::string& title,
                                             unsigned style) {
    auto box = std::make_unique<QMessageBox>();
    box->setIcon(IconFor(style));
    box->setWindowTitle(ToQString(title));
    box->setTextFormat(Qt::PlainText);
    box->setText(ToQString(text));
    const ButtonSet buttons = ButtonsFor(style);
    QPushButton* first = box->addButton(buttons.first);
    QPushButton* second =
        buttons.second == QMessageBox::NoButton ? nullptr : box->addButton(buttons.second);
    const bool secondIsDefault = (style & MB_DEFMASK) == MB_DEFBUTTON2 && second != nullptr;
    box->setDefaultButton(secondIsDefault ? second : first);
    // Esc answers Cancel, or OK on a box with one button; on a Yes/No box Qt takes No, which,
    // like the Windows box that ignores Esc there, leaves everything as it was.
    if (second == nullptr) {
        box->setEscapeButton(first);
    }
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

int ShowQtMessageBox(const std::string& text, const std::string& title, unsigned style) {
    const std::unique_ptr<QMessageBox> box = BuildMessageBox(text, title, style);
    box->exec();
    QAbstractButton* clicked = box->clickedButton();
    if (clicked == nullptr) {
        return AnswerWhenClosed(style);
    }
    return AnswerFor(box->standardButton(clicked));
}

void InstallQtMessageBoxHandler() {
    SetMessageBoxHandler(&ShowQtMessageBox);
}

}  // namespace rg::platform::qt
