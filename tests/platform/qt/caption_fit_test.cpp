// Every caption of every window fits its control on the real widgets: each label, option button
// and command button of the wizard window (every page, and Next as it reads on the last page) and
// of the login prompt, with the language file and with the built-in texts. The text is laid out
// as the widget lays it out (labels and option buttons wrap at their text width, buttons keep one
// line inside their frame) in the widget's own font, and must need no more than the room the
// widget gives it. The ctest entries run this program at scale 1 and at scale 2
// (QT_SCALE_FACTOR), where text is drawn with the device pixel ratio 2.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <algorithm>
#include <memory>
#include <set>
#include <tuple>

#include "platform/qt/qt_simple_widgets.h"
#include "platform/qt/qt_style.h"
#include "platform/qt/qt_window_system.h"
#include "services/language.h"
#include "startup/globals.h"
#include "startup/login_form.h"
#include "tests/platform/qt/qt_test_support.h"
#include "wizard/startup_main_form.h"

namespace rg::test {
namespace {

using platform::Control;
using platform::ControlKind;

// A caption that needs more room than its control gives it.
struct Misfit {
    std::string form;
    std::string control;
    QString text;
    QSize needed;
    QSize available;
    std::string coveredBy;  // the control the text runs under, if that is what cuts it off
    bool operator<(const Misfit& other) const {
        return std::tie(form, control, text) < std::tie(other.form, other.control, other.text);
    }
};

QString Describe(const std::set<Misfit>& misfits) {
    QString lines;
    for (const Misfit& misfit : misfits) {
        lines += QStringLiteral("\n  %1.%2 \"%3\": needs %4 x %5, has %6 x %7")
                     .arg(QString::fromStdString(misfit.form),
                          QString::fromStdString(misfit.control), misfit.text)
                     .arg(misfit.needed.width())
                     .arg(misfit.needed.height())
                     .arg(misfit.available.width())
                     .arg(misfit.available.height());
        if (!misfit.coveredBy.empty()) {
            lines += QStringLiteral(" (up to %1)").arg(QString::fromStdString(misfit.coveredBy));
        }
    }
    return lines;
}

QStyleOptionButton ButtonOption(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (const auto* push = qobject_cast<const QPushButton*>(&button)) {
        if (push->isDefault()) {
            option.features |= QStyleOptionButton::DefaultButton;
        }
        if (push->autoDefault()) {
            option.features |= QStyleOptionButton::AutoDefaultButton;
        }
    }
    return option;
}

// The room a widget gives its caption, the size the caption needs there and where the laid-out
// text lands (widget coordinates), in logical pixels.
struct Measure {
    QSize needed;
    QSize available;
    QRect text;
};

// Labels wrap at their width (the renderer turns wrapping on), from the top left or centred; the
// access key's "&" takes no room when the label shows it as an underline.
Measure MeasureLabel(const QLabel& label) {
    const QRect room = label.contentsRect();
    int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    if (label.buddy() != nullptr) {
        flags |= Qt::TextShowMnemonic;
    }
    const QSize text = label.fontMetrics()
                           .boundingRect(QRect(0, 0, room.width(), 100000), flags, label.text())
                           .size();
    const auto horizontal = label.alignment() & Qt::AlignHorizontal_Mask;
    return {text, room.size(),
            QStyle::alignedRect(Qt::LeftToRight, horizontal | Qt::AlignTop, text, room)};
}

// Option buttons: the text runs right of the round box and its gap. The renderer's option
// button wraps it at the widget's right edge from the top, as a multi-line Windows option button
// does; a plain QRadioButton keeps it on one line.
Measure MeasureOption(const QRadioButton& option) {
    const QStyleOptionButton style = ButtonOption(option);
    const QRect room =
        option.style()->subElementRect(QStyle::SE_RadioButtonContents, &style, &option);
    if (dynamic_cast<const platform::qt::OptionButton*>(&option) == nullptr) {
        const QSize line = option.fontMetrics().size(Qt::TextShowMnemonic, option.text());
        return {line, room.size(),
                QStyle::alignedRect(Qt::LeftToRight, Qt::AlignLeft | Qt::AlignVCenter, line, room)};
    }
    const QSize text =
        option.fontMetrics()
            .boundingRect(QRect(0, 0, room.width(), 100000),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic,
                          option.text())
            .size();
    return {text, room.size(), QRect(room.topLeft(), text)};
}

// Command buttons: one line, centred inside the frame (and the default button's ring).
Measure MeasureButton(const QPushButton& button) {
    const QStyleOptionButton style = ButtonOption(button);
    const QRect room =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &style, &button);
    const QSize line = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
    return {line, room.size(), QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, line, room)};
}

// Every caption of the form's window that needs more room than its widget gives it, or that
// runs under another shown control of the same container (a list, a text box, the next label)
// that covers it. Frames are captionless (a caption would not be shown at all); the other kinds
// carry no caption.
std::set<Misfit> Misfits(const platform::Form& form, const platform::qt::FormWindow& window,
                         int& measured) {
    std::set<Misfit> misfits;
    for (const auto& control : form.controls()) {
        QWidget* widget = window.WidgetFor(*control);
        Measure measure;
        QString text;
        if (control->kind() == ControlKind::Frame) {
            // No room at all: any caption on a frame is lost.
            measure = {QSize(control->caption().empty() ? 0 : 1, 0), QSize(0, 0), QRect()};
        } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            measure = MeasureLabel(*label);
            text = label->text();
        } else if (const auto* option = qobject_cast<const QRadioButton*>(widget)) {
            measure = MeasureOption(*option);
            text = option->text();
        } else if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
            measure = MeasureButton(*button);
            text = button->text();
        } else {
            continue;
        }
        ++measured;
        if (measure.needed.width() > measure.available.width() ||
            measure.needed.height() > measure.available.height()) {
            misfits.insert(
                {form.name(), control->name(), text, measure.needed, measure.available, ""});
        } else if (widget != nullptr && !text.isEmpty()) {
            // Within its own box, but running on under another shown control of the same
            // container that begins below the text's top or right of its left edge?
            const QRect shown = measure.text.translated(widget->pos());
            for (const auto& other : form.controls()) {
                const QWidget* otherWidget = window.WidgetFor(*other);
                if (other == control || other->container() != control->container() ||
                    !other->visible() || otherWidget == nullptr) {
                    continue;
                }
                const QRect cover = otherWidget->geometry();
                if (!shown.intersects(cover) ||
                    (cover.top() <= shown.top() && cover.left() <= shown.left())) {
                    continue;
                }
                const QRect box = widget->geometry();
                const QSize room =
                    cover.top() > shown.top()
                        ? QSize(measure.available.width(), cover.top() - box.top())
                        : QSize(std::max(0, cover.left() - box.left()), measure.available.height());
                misfits.insert(
                    {form.name(), control->name(), text, measure.needed, room, other->name()});
            }
        }
    }
    return misfits;
}

class CaptionFitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<platform::qt::QtWindowSystem> windows_;
    std::unique_ptr<platform::Form> form_;  // goes after its window (see cleanup)

    template <typename F>
    F& Open(const char* languageFile) {
        LangFilePath = languageFile;
        auto form = std::make_unique<F>();
        F& shown = *form;
        form_ = std::move(form);
        shown.Show();
        [&] { QVERIFY(WaitActive(&WindowOf(shown))); }();
        return shown;
    }

    // The controls whose caption is shown or would be lost: labels, option and command buttons,
    // and frames.
    static int CaptionedControls(const platform::Form& form) {
        int count = 0;
        for (const auto& control : form.controls()) {
            switch (control->kind()) {
                case ControlKind::Frame:
                case ControlKind::Label:
                case ControlKind::OptionButton:
                case ControlKind::CommandButton:
                    ++count;
                    break;
                default:
                    break;
            }
        }
        return count;
    }

    platform::qt::FormWindow& WindowOf(const platform::Form& form) {
        platform::qt::FormWindow* window = windows_->WindowFor(form);
        if (window == nullptr) {
            qFatal("the form %s has no window", form.name().c_str());
        }
        return *window;
    }

    // The wizard window as it opens, then with its last page shown (Next reads "Finish" there).
    void ExpectWizardCaptionsFit(const char* languageFile) {
        auto& wizard = Open<StartupMainForm>(languageFile);
        QCOMPARE(WindowOf(wizard).devicePixelRatio(), expectedScale());
        int measured = 0;
        std::set<Misfit> misfits = Misfits(wizard, WindowOf(wizard), measured);
        wizard.ShowPage9();
        misfits.merge(Misfits(wizard, WindowOf(wizard), measured));
        QCOMPARE(measured, 2 * CaptionedControls(wizard));
        QVERIFY2(misfits.empty(), qPrintable(QStringLiteral("captions cut off at scale %1:%2")
                                                 .arg(expectedScale())
                                                 .arg(Describe(misfits))));
    }

    static qreal expectedScale() {
        return qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                   ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                   : 1.0;
    }

  private slots:
    void initTestCase() {
        QApplication::setStyle(platform::qt::CreateWizardStyle());
        platform::qt::InstallWizardFonts();
    }

    void init() {
        StoredPassword.clear();
        windows_ = std::make_unique<platform::qt::QtWindowSystem>();
        platform::SetWindowSystem(windows_.get());
    }

    void cleanup() {
        windows_.reset();
        form_.reset();
        platform::SetWindowSystem(nullptr);
    }

    void theWizardsCaptionsFitWithTheLanguageFile() { ExpectWizardCaptionsFit(RG_LANGUAGE_FILE); }

    void theWizardsBuiltInCaptionsFit() { ExpectWizardCaptionsFit(RG_MISSING_LANGUAGE_FILE); }

    void theLoginPromptsCaptionsFit() {
        auto& prompt = Open<LoginForm>(RG_LANGUAGE_FILE);
        int measured = 0;
        const std::set<Misfit> misfits = Misfits(prompt, WindowOf(prompt), measured);
        QCOMPARE(measured, 3);
        QVERIFY2(misfits.empty(), qPrintable(Describe(misfits)));
    }

    // A label one line too short, a button too narrow for its text, an option whose text needs
    // more room than its box has, a label whose text runs on under the next label: each is
    // reported with what it needs and what it has.
    void aBoxTooSmallForItsCaptionIsReported() {
        auto& wizard = Open<StartupMainForm>(RG_LANGUAGE_FILE);
        Control& title = wizard.Get("lbPage3Header2");
        Control& add = wizard.Get("cmdAdd");
        Control& option = wizard.Get("optAlertDoNot");
        title.setBounds({120, 600, 5205, 240});    // a text of two lines in one line's height
        add.setBounds({4290, 1230, 300, 315});     // "Add" in 20 pixels
        option.setBounds({120, 1590, 1500, 255});  // the text needs three lines here
        wizard.Get("lbPage1Desc1").setBounds({120, 1290, 5505, 705});  // over lbPage1Desc's text
        int measured = 0;
        const std::set<Misfit> misfits = Misfits(wizard, WindowOf(wizard), measured);
        std::set<std::string> names;
        for (const Misfit& misfit : misfits) {
            names.insert(misfit.control);
            QVERIFY(misfit.needed.width() > misfit.available.width() ||
                    misfit.needed.height() > misfit.available.height());
        }
        QCOMPARE(names, (std::set<std::string>{"cmdAdd", "lbPage1Desc", "lbPage3Header2",
                                               "optAlertDoNot"}));
        const Misfit& covered = *std::find_if(misfits.begin(), misfits.end(), [](const Misfit& m) {
            return m.control == "lbPage1Desc";
        });
        QCOMPARE(covered.coveredBy, std::string("lbPage1Desc1"));
        QCOMPARE(covered.available.height(), qRound(1290 / 15.0) - qRound(1080 / 15.0));
        const Misfit& header = *std::find_if(misfits.begin(), misfits.end(), [](const Misfit& m) {
            return m.control == "lbPage3Header2";
        });
        QCOMPARE(header.form, std::string("frmStartupMain"));
        QCOMPARE(header.text, QString::fromStdString(GetLangString("5302", "")));
        QCOMPARE(header.available.height(), qRound(240 / 15.0));
        const auto* label = qobject_cast<QLabel*>(WindowOf(wizard).WidgetFor(title));
        QVERIFY(header.needed.height() > label->fontMetrics().height());  // more than one line
    }
};

}  // namespace
}  // namespace rg::test

QTEST_MAIN(rg::test::CaptionFitTest)
#include "caption_fit_test.moc"
