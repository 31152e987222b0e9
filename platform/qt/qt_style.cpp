#include "platform/qt/qt_style.h"

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

}  // namespace rg::platform::qt
