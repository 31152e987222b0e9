// The Qt window system on the real widgets, driven by keyboard and mouse on the offscreen
// platform, on a small form built for the test: layout from twips, captions with access keys,
// colours and fonts, Enter and Esc, focus and typing, option groups, the close box, the
// report-style list (rows, selections, clicks, hit test, pop-up menu), the open-file dialog,
// the modal loop of the login prompt and the message boxes.
//
// Then every caption of the real windows fits its control: the wizard window as it opens and on
// its last page (Next reads "Finish" there), with the language file and with the built-in texts,
// and the login prompt. The text is laid out as the widget lays it out, in the widget's own font:
// labels wrap at their width, from the top; option buttons wrap right of their round box, from the
// top; command buttons keep one line centred inside their frame. The ctest entries run this program
// at scale 1 and at scale 2 (QT_SCALE_FACTOR).
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <functional>
#include <memory>

#include "platform/qt/qt_artwork.h"
#include "platform/qt/qt_control_view.h"
#include "platform/qt/qt_file_dialog_filter.h"
#include "platform/qt/qt_file_icons.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_simple_widgets.h"
#include "platform/qt/qt_style.h"
#include "platform/qt/qt_window_system.h"
#include "platform/ui/message_box.h"
#include "startup/globals.h"
#include "startup/login_form.h"
#include "tests/support/caption_check.h"
#include "wizard/startup_main_form.h"

namespace rg::test {
namespace {

using namespace platform;

// Acts on the next pop-up menu or modal dialog of type W once it is up; `guard` owns the wait.
template <typename W>
void WhenUp(QObject& guard, std::function<void(W&)> act) {
    auto* timer = new QTimer(&guard);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* up = QApplication::activePopupWidget() != nullptr
                          ? QApplication::activePopupWidget()
                          : QApplication::activeModalWidget();
        if (auto* widget = qobject_cast<W*>(up); widget != nullptr && widget->isVisible()) {
            timer->stop();
            act(*widget);
        }
    });
    timer->start(10);
}

PixelBox BoxOf(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

class SampleForm final : public Form {
  public:
    SampleForm() : Form("frmSample") {
        setCaption("Sample && more");
        setClientSize(7500, 3000);  // 500 x 200 pixels
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
        Add(ControlKind::CommandButton, "cmdNo", "No", {1000, 1100, 900, 375}).setCancel(true);
        Get("cmdNo").onClick = [this] { ++cancelClicks; };
        Add(ControlKind::CommandButton, "cmdOK", "OK", {0, 1100, 900, 375}).setDefault(true);
        Get("cmdOK").onClick = [this] { ++okClicks; };
        Add(ControlKind::ListView, "lvwList", "", {3000, 0, 4500, 2000});
        Add(ControlKind::Label, "lblPlain", "Tom && Jerry &drop", {2000, 1100, 1000, 375});
        AddControl(ControlKind::Line, "linSep").setLineEnds({0, 1050, 3000, 1050});
        for (const char* menu : {"mnuList", "mnuOther"}) {
            Control& container = AddControl(ControlKind::Menu, menu);
            for (const char* item : {"Allow", "Block", "Ask"}) {
                AddControl(ControlKind::MenuItem, menu + std::string(item), &container)
                    .setCaption(item);
                Get(menu + std::string(item)).onClick = [this, item] { chosen = item; };
            }
        }
        Get("mnuListAsk").setVisible(false);
        Get("mnuListAllow").setEnabled(false);
        Get("mnuListBlock").setValue(true);
        Control& list = Get("lvwList");
        list.setColumns({{"Programs", 2100}, {"Access", 800}, {"Server", 800}});
        icons.Add("red", {1, 1, {0xFFFF0000u}});
        icons.Add("torn", {2, 2, {0xFFFF0000u}});  // fewer pixels than its size
        list.list().SetSmallIcons(&icons);
        list.list().Add({"a", "Alpha", {"Allow", "Block"}, "red", "", false});
        list.list().Add({"b", "Beta", {"Ask", "Ask"}, "torn", "", false});
        list.onKeyDown = [this](int key, int shift) { keys.push_back({key, shift}); };
        list.onColumnClick = [this](int column) { columnClicks.push_back(column); };
        list.onMouseUp = [this, &list](int button, int shift, int x, int y) {
            mouseUps.push_back({button, shift, x, y});
            if (button == kRightButton) {
                PopupMenu(Get("mnuList"), list, x, y);
            }
        };
    }

    int okClicks = 0;
    int cancelClicks = 0;
    int gotFocus = 0;
    int closeRequests = 0;
    ImageList icons;
    std::vector<int> columnClicks;
    std::vector<std::array<int, 4>> mouseUps;
    std::vector<std::pair<int, int>> keys;
    std::string chosen;

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

class WindowSystemTest : public QObject, public CaptionRenderer {
    Q_OBJECT

    // The window system goes first at the end: the form outlives its window.
    std::unique_ptr<SampleForm> form_;
    std::unique_ptr<Form> shown_;  // a real window, for its captions
    std::unique_ptr<qt::QtWindowSystem> windows_;
    QTreeWidget* tree_ = nullptr;
    int lastUnloads_ = 0;

    qt::FormWindow* window() const { return windows_->WindowFor(*form_); }
    template <typename W>
    W* widget(const char* name) const {
        return dynamic_cast<W*>(window()->WidgetFor(form_->Get(name)));
    }
    ListViewContent& list() const { return form_->Get("lvwList").list(); }
    QPoint Cell(int row, int column) const {  // viewport coordinates
        return {tree_->header()->sectionViewportPosition(column) + 10,
                tree_->visualItemRect(tree_->topLevelItem(row)).center().y()};
    }

    // A new window system for every form: the old one takes its windows before the old form goes.
    template <typename F>
    F& Open(const char* languageFile) {
        windows_ = std::make_unique<qt::QtWindowSystem>();
        SetWindowSystem(windows_.get());
        LangFilePath = languageFile;
        StoredPassword.clear();
        shown_ = std::make_unique<F>();
        shown_->Show();
        [&] { QVERIFY(QTest::qWaitForWindowActive(windows_->WindowFor(*shown_))); }();
        return static_cast<F&>(*shown_);
    }

    QWidget* WidgetOf(const Control& control) const {
        return windows_->WindowFor(control.form())->WidgetFor(control);
    }

    std::optional<PixelBox> Box(const Control& control) const override {
        const QWidget* widget = WidgetOf(control);
        return widget != nullptr ? std::optional(BoxOf(widget->geometry())) : std::nullopt;
    }

    std::optional<CaptionLayout> Layout(const Control& control) const override {
        const QWidget* widget = WidgetOf(control);
        const QString text = widget != nullptr ? widget->property("text").toString() : QString();
        QRect room;
        int flags = Qt::TextShowMnemonic;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            // The access key's "&" takes no room when the label shows it as an underline.
            room = label->contentsRect();
            flags = static_cast<int>(label->alignment()) | Qt::TextWordWrap |
                    (label->buddy() != nullptr ? Qt::TextShowMnemonic : 0);
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            const bool isOption = qobject_cast<const QRadioButton*>(button) != nullptr;
            if (const auto* push = qobject_cast<const QPushButton*>(button)) {
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
        return CaptionLayout{
            {shown.width(), shown.height()}, {room.width(), room.height()}, BoxOf(shown)};
    }

  private slots:
    void initTestCase() {
        QApplication::setStyle(qt::CreateWizardStyle());
        qt::InstallWizardFonts();
    }

    void init() {
        form_ = std::make_unique<SampleForm>();
        windows_ = std::make_unique<qt::QtWindowSystem>([this] { ++lastUnloads_; });
        SetWindowSystem(windows_.get());
        form_->Show();
        tree_ = widget<QTreeWidget>("lvwList");
        QVERIFY(QTest::qWaitForWindowActive(window()));
    }

    void cleanup() {
        windows_.reset();
        SetWindowSystem(nullptr);
    }

    void layoutCaptionsColoursAndFontsFollowTheModel() {
        QCOMPARE(window()->size(), QSize(500, 200));
        QCOMPARE(window()->windowTitle(), QStringLiteral("Sample && more"));
        QVERIFY(!window()->windowIcon().isNull());
        QCOMPARE(widget<QRadioButton>("optB")->geometry(), QRect(67, 0, 60, 20));
        QCOMPARE(widget<QLabel>("lblWide")->width(), 133 - 67);  // wraps at its frame's edge
        QCOMPARE(widget<qt::LineWidget>("linSep")->geometry(), QRect(0, 70, 201, 1));
        QCOMPARE(qt::RenderArtwork(101, QSize(20, 20), 0.5).size(), QSize(10, 10));
        QCOMPARE(qt::RenderArtwork(101, QSize(20, 20), 0).size(), QSize(20, 20));
        QVERIFY(qt::RenderArtwork(102, QSize(20, 20), 1).isNull());
        // "&&" shows one "&"; a lone "&" marks an access key when a control follows in tab order.
        QCOMPARE(widget<QLabel>("lblPlain")->text(), QStringLiteral("Tom & Jerry drop"));
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
        for (const char* name : {"lblPlain", "cmdOK", "linSep"}) {
            form_->Get(name).setBackColor(0x102030);
        }
        QVERIFY(widget<QLabel>("lblPlain")->autoFillBackground());
        QCOMPARE(widget<QLabel>("lblPlain")->palette().color(QPalette::Window), QColor(0x102030));
        QVERIFY(!widget<QPushButton>("cmdOK")->autoFillBackground());
        QCOMPARE(widget<QWidget>("linSep")->grab().toImage().pixelColor(5, 0), QColor(0x102030));
        // Points at 96 dpi.
        QCOMPARE(widget<QLabel>("lblName")->font().pixelSize(), 11);
        form_->Get("lblPlain").setFont({"Arial", 12, true});
        QCOMPARE(widget<QLabel>("lblPlain")->font().pixelSize(), 16);
        QVERIFY(widget<QLabel>("lblPlain")->font().bold());
        QCOMPARE(qt::FontFor({"Arial", 0, false}).pixelSize(), 1);
    }

    // Enter presses the default button and Esc the cancel button, wherever the focus is, unless
    // a focused button takes Enter itself or the button is disabled. A focused control that is
    // hidden leaves the focus with the window, not with the next control.
    void enterEscAndTheCloseBoxGoThroughTheForm() {
        widget<QLineEdit>("txtName")->setFocus();
        QTest::keyClick(widget<QLineEdit>("txtName"), Qt::Key_Return);
        QTest::keyClick(widget<QLineEdit>("txtName"), Qt::Key_Escape);
        widget<QPushButton>("cmdNo")->setFocus();
        QTest::keyClick(widget<QPushButton>("cmdNo"), Qt::Key_Return);
        QCOMPARE(form_->okClicks, 1);
        QCOMPARE(form_->cancelClicks, 2);
        widget<QRadioButton>("optC")->setFocus();
        form_->Get("optC").setVisible(false);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        form_->Get("cmdNo").setEnabled(false);
        QTest::keyClick(window(), Qt::Key_Escape);
        QCOMPARE(form_->okClicks, 2);
        QCOMPARE(form_->cancelClicks, 2);
        // The close box asks the form, which may refuse.
        window()->close();
        QVERIFY(window()->isVisible() && form_->loaded());
        QWidget* closing = window();
        closing->close();
        QCOMPARE(form_->closeRequests, 2);
        QVERIFY(!form_->loaded() && !closing->isVisible());
        QCOMPARE(lastUnloads_, 1);
    }

    // However the focus comes (access key, click), the box reports it and selects its text.
    void theTextBoxSelectsItsTextOnFocusAndTakesTyping() {
        auto* name = widget<QLineEdit>("txtName");
        form_->Get("txtName").setText("abcdef");
        widget<QPushButton>("cmdOK")->setFocus();
        const int before = form_->gotFocus;
        QTest::keyClick(window(), Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(name->selectedText(), QStringLiteral("abcdef"));
        QCOMPARE(form_->gotFocus, before + 1);
        widget<QPushButton>("cmdOK")->setFocus();
        QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(5, 10));
        QTRY_COMPARE(name->selectedText(), QStringLiteral("abcdef"));
        QCOMPARE(name->cursorPosition(), 6);
        // Typing reaches the form masked, in code page 1252.
        QTest::keyClicks(name, "s3cr&t");
        QCOMPARE(name->displayText(), QStringLiteral("******"));
        for (const QChar typed : {QChar(0x0142), QChar(0x20AC)}) {  // the euro sign is in it
            QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(typed), {});
        }
        QCOMPARE(form_->Get("txtName").text(), std::string("s3cr&t\x80"));
    }

    void optionButtonsFormOneGroupPerContainerAndFollowTheModel() {
        QTest::mouseClick(widget<QRadioButton>("optB"), Qt::LeftButton);
        QVERIFY(form_->Get("optB").value() && !widget<QRadioButton>("optA")->isChecked());
        QVERIFY(widget<QRadioButton>("optC")->isChecked());  // another container
        form_->Get("optA").setValue(true);
        QVERIFY(widget<QRadioButton>("optA")->isChecked() &&
                !widget<QRadioButton>("optB")->isChecked());
        form_->Get("optA").setValue(false);  // Qt's exclusivity would keep it checked
        QVERIFY(!widget<QRadioButton>("optA")->isChecked());
    }

    void theListShowsTheModelAndFindsItsCells() {
        QCOMPARE(tree_->headerItem()->text(2), QStringLiteral("Server"));
        QCOMPARE(tree_->columnWidth(0), 140);
        QCOMPARE(tree_->topLevelItem(0)->text(0), QStringLiteral("Alpha"));
        const QImage red = tree_->topLevelItem(0)->icon(0).pixmap(1, 1).toImage();
        QCOMPARE(red.pixelColor(0, 0), QColor(Qt::red));
        QVERIFY(tree_->topLevelItem(1)->icon(0).isNull());
        list().Select({1}, 1);
        QVERIFY(!tree_->topLevelItem(0)->isSelected() && tree_->topLevelItem(1)->isSelected());
        QCOMPARE(tree_->currentItem(), tree_->topLevelItem(1));
        list().SetSubItem(0, 1, "Ask");
        QCOMPARE(tree_->topLevelItem(0)->text(1), QStringLiteral("Ask"));
        // The hit test answers in pixels relative to the list, header included; a cell's origin
        // comes in twips and lies in that cell.
        const auto hit = [this](int x, int y) {
            LvHitTestInfo info{x, y, 0, 7, 7};
            form_->SubItemHitTest(form_->Get("lvwList"), info);
            return std::array<int, 3>{info.iItem, info.iSubItem, static_cast<int>(info.flags)};
        };
        const QPoint onList = tree_->viewport()->mapTo(tree_, Cell(1, 1));
        QCOMPARE(hit(onList.x(), onList.y()), (std::array<int, 3>{1, 1, LVHT_ONITEM}));
        QCOMPARE(hit(onList.x(), tree_->height() - 5), (std::array<int, 3>{-1, -1, LVHT_NOWHERE}));
        int x = 0;
        int y = 0;
        QVERIFY(form_->ListCellOrigin(form_->Get("lvwList"), 0, 2, x, y));
        QCOMPARE(hit(x / 15 + 1, y / 15 + 1), (std::array<int, 3>{0, 2, LVHT_ONITEM}));
        QVERIFY(!form_->ListCellOrigin(form_->Get("lvwList"), 2, 0, x, y));
    }

    // Releases reach the form in twips relative to the list, with their button and the Shift
    // (1), Ctrl (2) and Alt (4) keys; a press selects in the model first. So do header clicks,
    // the Menu key and Shift+F10.
    void clicksKeysAndThePopUpMenuReachTheForm() {
        const QPoint onList = tree_->viewport()->mapTo(tree_, Cell(1, 1));
        QTest::mouseClick(tree_->viewport(), Qt::LeftButton, {}, Cell(1, 1));
        QCOMPARE(list().current(), 1);
        QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::ControlModifier, Cell(0, 0));
        QVERIFY(list().rows()[0].selected && list().rows()[1].selected);
        QTest::mouseClick(tree_->viewport(), Qt::MiddleButton, Qt::ShiftModifier | Qt::AltModifier,
                          Cell(1, 1));
        const std::array<int, 4> first{1, 0, onList.x() * 15, onList.y() * 15};
        QCOMPARE(form_->mouseUps.front(), first);
        QCOMPARE(form_->mouseUps.back(), (std::array<int, 4>{4, 5, first[2], first[3]}));
        QCOMPARE(form_->mouseUps.at(1)[1], 2);
        QTest::mouseClick(tree_->header()->viewport(), Qt::LeftButton, {},
                          QPoint(tree_->header()->sectionPosition(2) + 5, 5));
        QCOMPARE(form_->columnClicks, std::vector<int>{2});
        tree_->setFocus();  // the Menu key and Shift+F10 on the focused list
        QTest::keyClick(tree_, Qt::Key_Menu);
        QTest::keyClick(tree_, Qt::Key_F10);
        QTest::keyClick(tree_, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(form_->keys,
                 (std::vector<std::pair<int, int>>{{kKeyApplications, 0}, {kKeyF10, 1}}));
        // A right click pops up the menu's visible items; the chosen one is clicked.
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

    // The dialog shows the title and the filter, converted for Qt: "text|patterns" pairs become
    // "text (patterns)" joined by ";;".
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

    // File-type icons come with straight alpha, as the core keeps images.
    void fileIconsAreConvertedForTheCore() {
        QImage image(2, 1, QImage::Format_ARGB32_Premultiplied);
        image.setPixelColor(0, 0, QColor(255, 0, 0, 128));
        image.setPixelColor(1, 0, QColor(10, 20, 30));
        QCOMPARE(qt::ImageFromQImage(image).argb,
                 (std::vector<std::uint32_t>{0x80FF0000u, 0xFF0A141Eu}));
        QVERIFY(!qt::FileTypeIcon("/no/such/file.txt").has_value());
    }

    // The prompt runs its own event loop, which ends when the right password unloads it.
    void theLoginPromptsModalLoopEndsWithTheRightPassword() {
        LangFilePath = RG_LANGUAGE_FILE;
        StoredPassword = "Pass";
        LoginAccepted = false;
        LoginForm prompt;
        QTimer::singleShot(0, [&] {
            QVERIFY(QTest::qWaitForWindowActive(windows_->WindowFor(prompt)));
            QTest::keyClicks(QApplication::focusWidget(), "Pass");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        prompt.ShowModal();
        QVERIFY(LoginAccepted && !prompt.loaded());
    }

    // The real box returns the button the user chose (Enter: the default one, which the style
    // bits choose); a box closed without one leaves things as they are.
    void theMessageBoxReturnsTheChosenButton() {
        qt::InstallQtMessageBoxHandler();
        const auto answer = [](unsigned style, std::function<void(QMessageBox&)> act) {
            QObject guard;
            WhenUp<QMessageBox>(guard, std::move(act));
            return MessageBoxA("Quit?", "t", style);
        };
        const auto click = [](QMessageBox::StandardButton button) {
            return [button](QMessageBox& box) { box.button(button)->click(); };
        };
        const auto enter = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); };
        QCOMPARE(answer(MB_YESNO, enter), IDYES);
        QCOMPARE(answer(MB_YESNO | MB_DEFBUTTON2, enter), IDNO);
        QCOMPARE(answer(MB_OK | MB_DEFBUTTON2, enter), IDOK);  // no second button to default to
        QCOMPARE(answer(MB_OKCANCEL, click(QMessageBox::Cancel)), IDCANCEL);
        QCOMPARE(answer(MB_OK, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
                 IDOK);
        for (const auto& [style, closed] :
             {std::pair(MB_YESNO, IDNO), {MB_OKCANCEL, IDCANCEL}, {MB_OK, IDOK}}) {
            QCOMPARE(answer(style, [](QMessageBox& box) { box.done(-1); }), closed);
        }
    }

    void everyCaptionFitsAndASqueezedOneIsReported() {
        std::string cutOff;
        for (const char* languageFile : {RG_LANGUAGE_FILE, RG_MISSING_LANGUAGE_FILE}) {
            auto& wizard = Open<StartupMainForm>(languageFile);
            cutOff += CutOffCaptions(wizard, *this);
            wizard.ShowPage9();
            cutOff += CutOffCaptions(wizard, *this);
        }
        QCOMPARE(windows_->WindowFor(*shown_)->devicePixelRatio(),
                 qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        cutOff += CutOffCaptions(Open<LoginForm>(RG_LANGUAGE_FILE), *this);
        QCOMPARE(QString::fromStdString(cutOff), QString());
        QCOMPARE(
            SqueezedWizardCaptions(Open<StartupMainForm>(RG_LANGUAGE_FILE), *this),
            std::string("cmdAdd, lbPage1Desc under lbPage1Desc1, lbPage3Header2, optAlertDoNot"));
    }
};

}  // namespace rg::test

QTEST_MAIN(rg::test::WindowSystemTest)
#include "qt_window_system_test.moc"
