// ravelgard-wizard: the Qt front end. Installs the on-screen window system, message boxes and
// file-type icons, then hands over to the start-up sequence, which opens the wizard window.
#include <QApplication>
#include <memory>

#include "app/startup_probe.h"
#include "platform/qt/qt_artwork.h"
#include "platform/qt/qt_file_icons.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_style.h"
#include "platform/qt/qt_window_system.h"
#include "platform/ui/window_system.h"
#include "startup/startup.h"
#include "wizard/startup_main_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // One look on every desktop, close to the classic Windows dialogs the layout was made for.
    QApplication::setStyle(rg::platform::qt::CreateWizardStyle());
    // The logic decides when the program ends: the last form unloaded, or EndProgram.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(rg::platform::qt::ArtworkIcon(101));
    rg::platform::qt::InstallQtMessageBoxHandler();
    rg::platform::qt::InstallQtFileTypeIconProvider();
    rg::app::InstallStartupProbeIfRequested();

    // The form outlives its window: the window system goes first.
    std::unique_ptr<rg::StartupMainForm> wizard;
    rg::platform::qt::QtWindowSystem windowSystem([] { QCoreApplication::exit(0); });
    rg::platform::SetWindowSystem(&windowSystem);

    rg::Main([&wizard]() -> rg::platform::Form& {
        if (!wizard) {
            wizard = std::make_unique<rg::StartupMainForm>();
        }
        return *wizard;
    });
    const int exitCode = windowSystem.HasOpenWindows() ? QApplication::exec() : 0;
    rg::platform::SetWindowSystem(nullptr);
    return exitCode;
}
