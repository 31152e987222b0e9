// ravelgard-wizard: the Qt front end. Installs the on-screen window system, message boxes and
// file-type icons, then hands over to the start-up sequence, which opens the wizard window.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/startup_probe.h"
#include "platform/qt/qt_artwork.h"
#include "platform/qt/qt_file_icons.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_style.h"
#include "platform/qt/qt_window_system.h"
#include "platform/ui/window_system.h"
#include "startup/startup.h"
#include "wizard/startup_main_form.h"

namespace {

constexpr int kNoDisplayExitCode = 1;

void ExplainMissingDisplay(const char* detail) {
    std::fprintf(stderr,
                 "ravelgard-wizard: cannot open its window: %s\n"
                 "It needs a desktop session (DISPLAY or WAYLAND_DISPLAY); without one, start it "
                 "under a virtual display: xvfb-run ravelgard-wizard\n",
                 detail);
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

QtMessageHandler qtMessageHandler = nullptr;

// Qt ends a program it cannot show with an abort and advice to reinstall; this one says what is
// missing and ends with an exit status instead.
void EndOnFatalQtMessage(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    if (type != QtFatalMsg) {
        if (qtMessageHandler != nullptr) {
            qtMessageHandler(type, context, message);
        }
        return;
    }
    // Qt's own text ends in advice to reinstall, which would mislead here.
    static_cast<void>(message);
    const char* display = std::getenv("DISPLAY");
    const std::string detail =
        std::string("the display ") + (display != nullptr ? display : "") + " could not be opened";
    ExplainMissingDisplay(detail.c_str());
    std::_Exit(kNoDisplayExitCode);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("ravelgard-wizard %s\n", RG_VERSION);
        return 0;
    }
    if (!HasDisplay()) {
        ExplainMissingDisplay("there is no display");
        return kNoDisplayExitCode;
    }
    qtMessageHandler = qInstallMessageHandler(&EndOnFatalQtMessage);
    QApplication app(argc, argv);
    // One look on every desktop, close to the classic Windows dialogs the layout was made for.
    QApplication::setStyle(rg::platform::qt::CreateWizardStyle());
    rg::platform::qt::InstallWizardFonts();
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
