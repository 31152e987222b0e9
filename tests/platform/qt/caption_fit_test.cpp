// Every caption of every window fits its control on the real widgets: the wizard window as it
// opens and on its last page (Next reads "Finish" there), with the language file and with the
// built-in texts, and the login prompt; the page's icon is drawn clear of its centred title. The
// text is laid out as the widget lays it out, in the widget's own font: labels wrap at their width,
// from the top; option buttons wrap right of their round box, from the top; command buttons keep
// one line centred inside their frame. The ctest entries run this program at scale 1 and at scale 2
// (QT_SCALE_FACTOR).
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <memory>

#include "platform/qt/qt_artwork.h"
#include "platform/qt/qt_simple_widgets.h"
#include "platform/qt/qt_style.h"
#include "platform/qt/qt_window_system.h"
#include "startup/globals.h"
#include "startup/login_form.h"
#include "tests/support/caption_check.h"
#include "wizard/startup_main_form.h"

namespace rg::test {
namespace {

PixelBox BoxOf(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace

class CaptionFitTest : public QObject, public CaptionRenderer {
    Q_OBJECT

    std::unique_ptr<platform::qt::QtWindowSystem> windows_;
    std::unique_ptr<platform::Form> form_;

    // A new window system for every form: the old one takes its windows before the old form goes.
    template <typename F>
    F& Open(const char* languageFile) {
        windows_ = std::make_unique<platform::qt::QtWindowSystem>();
        platform::SetWindowSystem(windows_.get());
        LangFilePath = languageFile;
        form_ = std::make_unique<F>();
        form_->Show();
        [&] { QVERIFY(QTest::qWaitForWindowActive(windows_->WindowFor(*form_))); }();
        return static_cast<F&>(*form_);
    }

    QWidget* WidgetOf(const platform::Control& control) const {
        return windows_->WindowFor(control.form())->WidgetFor(control);
    }

    std::optional<PixelBox> Box(const platform::Control& control) const override {
        const QWidget* widget = WidgetOf(control);
        return widget != nullptr ? std::optional(BoxOf(widget->geometry())) : std::nullopt;
    }

    std::optional<CaptionLayout> Layout(const platform::Control& control) const override {
        const QWidget* widget = WidgetOf(control);
        QRect room;
        int flags = Qt::TextShowMnemonic;
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            // The access key's "&" takes no room when the label shows it as an underline.
            room = label->contentsRect();
            flags = static_cast<int>(label->alignment()) | Qt::TextWordWrap |
                    (label->buddy() != nullptr ? Qt::TextShowMnemonic : 0);
            text = label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text = button->text();
            const bool isOption = qobject_cast<const QRadioButton*>(button) != nullptr;
            if (const auto* push = qobject_cast<const QPushButton*>(button)) {
                option.features.setFlag(QStyleOptionButton::DefaultButton, push->isDefault());
                option.features.setFlag(QStyleOptionButton::AutoDefaultButton, push->autoDefault());
            }
            room = button->style()->subElementRect(
                isOption ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents, &option,
                button);
            flags |= isOption ? Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap
                              : static_cast<int>(Qt::AlignCenter);
        } else {
            return std::nullopt;
        }
        const int height = (flags & Qt::TextWordWrap) != 0 ? 100000 : room.height();
        const QRect shown =
            widget->fontMetrics()
                .boundingRect(QRect(room.left(), room.top(), room.width(), height), flags, text)
                .translated(widget->pos());
        return CaptionLayout{{shown.width(), shown.height()},
                             {room.width(), room.height()},
                             BoxOf(shown),
                             BoxOf(widget->geometry())};
    }

    // The page's icon is drawn, left of where its centred title begins.
    void ExpectIconClearOfTitle(const platform::Form& wizard, int page) const {
        const auto* icon = dynamic_cast<const platform::qt::PictureWidget*>(
            WidgetOf(wizard.Get("imgPage" + std::to_string(page))));
        QVERIFY(!platform::qt::RenderArtwork(icon->pictureId(), icon->size(), 1).isNull());
        const auto title = Layout(wizard.Get("lbPage" + std::to_string(page) + "Header"));
        QVERIFY(title->text.left > icon->geometry().right());
    }

  private slots:
    void initTestCase() {
        QApplication::setStyle(platform::qt::CreateWizardStyle());
        platform::qt::InstallWizardFonts();
        StoredPassword.clear();
    }

    void cleanup() {
        windows_.reset();
        form_.reset();
        platform::SetWindowSystem(nullptr);
    }

    void everyCaptionFits() {
        CaptionMisfits misfits;
        for (const char* languageFile : {RG_LANGUAGE_FILE, RG_MISSING_LANGUAGE_FILE}) {
            auto& wizard = Open<StartupMainForm>(languageFile);
            misfits.merge(Misfits(wizard, *this));
            ExpectIconClearOfTitle(wizard, 1);
            wizard.ShowPage9();
            misfits.merge(Misfits(wizard, *this));
            ExpectIconClearOfTitle(wizard, 9);
        }
        QCOMPARE(windows_->WindowFor(*form_)->devicePixelRatio(),
                 qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        misfits.merge(Misfits(Open<LoginForm>(RG_LANGUAGE_FILE), *this));
        QVERIFY2(misfits.empty(), Describe(misfits).c_str());
    }

    void aBoxTooSmallForItsCaptionIsReported() {
        QCOMPARE(
            SqueezedWizardCaptions(Open<StartupMainForm>(RG_LANGUAGE_FILE), *this),
            std::string("cmdAdd, lbPage1Desc under lbPage1Desc1, lbPage3Header2, optAlertDoNot"));
    }
};

}  // namespace rg::test

QTEST_MAIN(rg::test::CaptionFitTest)
#include "caption_fit_test.moc"
