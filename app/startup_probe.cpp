#include "app/startup_probe.h"

#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace rg::app {
namespace {

constexpr const char* kWizardWindowName = "frmStartupMain";

// Watches every paint; the first one of the wizard window itself ends the measurement.
class FirstPaintProbe final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->objectName() == kWizardWindowName) {
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            ::_exit(0);
        }
        return false;
    }
};

}  // namespace

void InstallStartupProbeIfRequested() {
    if (std::getenv("RAVELGARD_EXIT_WHEN_SHOWN") == nullptr) {
        return;
    }
    static FirstPaintProbe probe;
    qApp->installEventFilter(&probe);
}

}  // namespace rg::app
