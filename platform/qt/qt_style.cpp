#include "platform/qt/qt_style.h"

#include <QFile>
#include <QFontDatabase>
#include <QProxyStyle>
#include <QStyleFactory>

namespace rg::platform::qt {
namespace {

class WizardStyle final : public QProxyStyle {
  public:
    WizardStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

QStyle* CreateWizardStyle() {
    return new WizardStyle();
}

// Only the regular face: the outlines of the packaged bold face are as thin as the regular
// ones (its boldness lives in bitmaps for Windows' small sizes), so Qt is left to embolden the
// regular face itself, which it does for a family without a bold face.
void InstallWizardFonts() {
    const QString file = QStringLiteral(":/fonts/tahoma.ttf");
    if (QFile::exists(file)) {
        QFontDatabase::addApplicationFont(file);
    }
}

}  // namespace rg::platform::qt
