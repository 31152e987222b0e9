#include "wizard/startup_main_form.h"

#include <cstdio>

#include "persistence/save_settings.h"
#include "platform/os/file_system.h"
#include "platform/ui/message_box.h"
#include "services/app_title.h"
#include "services/end_program.h"
#include "services/language.h"
#include "startup/startup.h"
#include "wizard/page_layout.h"

namespace rg {
namespace {

using platform::Control;
using platform::ControlKind;

Control& AddFixed(platform::Form& form, ControlKind kind, const char* name,
                  const platform::Bounds& bounds, const char* caption, const char* tag) {
    Control& control = form.AddControl(kind, name);
    control.setBounds(bounds);
    control.setCaption(caption);
    control.setTag(tag);
    return control;
}

Control& AddLine(platform::Form& form, const char* name, int y) {
    Control& line = form.AddControl(ControlKind::Line, name);
    line.setLineEnds({60, y, 8110, y});
    return line;
}

}  // namespace

StartupMainForm::StartupMainForm()
    : Form("frmStartupMain"),
      Picture1(AddFixed(*this, ControlKind::Picture, "Picture1", {0, 0, 2265, 4005}, "", "")),
      Line2(AddLine(*this, "Line2", 4050)),
      Line1(AddLine(*this, "Line1", 4070)),
      fraPage1(wizard::AddPage1(*this)),
      fraPage3(wizard::AddPage3(*this)),
      fraPage4(wizard::AddPage4(*this)),
      fraPage5(wizard::AddPage5(*this)),
      fraPage6(wizard::AddPage6(*this)),
      fraPage9(wizard::AddPage9(*this)),
      cmdBack(AddFixed(*this, ControlKind::CommandButton, "cmdBack", {4800, 4170, 1000, 315},
                       "< &Back", "5002")),
      cmdNext(AddFixed(*this, ControlKind::CommandButton, "cmdNext", {5850, 4170, 1000, 315},
                       "Next >", "5001")),
      cmdCancel(AddFixed(*this, ControlKind::CommandButton, "cmdCancel", {7080, 4170, 1000, 315},
                         "&Cancel", "5003")),
      mnuAccess(wizard::AddPermissionMenu(*this, "mnuAccess", "Access")),
      mnuServer(wizard::AddPermissionMenu(*this, "mnuServer", "Server")),
      programList({Get("lvwPrograms"), Get("cmdAdd"), Get("cmdRemove"), mnuAccess, mnuServer}) {
    setTag("5000");
    setClientSize(8175, 4560);
    setBackColor(platform::kWhite);
    setIconId(101);
    Picture1.setPictureId(platform::kBannerPicture);
    cmdNext.setDefault(true);
    cmdCancel.setCancel(true);
    ConnectHandlers();
}

void StartupMainForm::ConnectHandlers() {
    cmdNext.onClick = [this] { cmdNext_Click(); };
    cmdBack.onClick = [this] { cmdBack_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
    Get("optAlertAlltime").onClick = [this] { optAlertAlltime_Click(); };
    Get("optAlertDoNot").onClick = [this] { optAlertDoNot_Click(); };
    Get("txtPassword").onGotFocus = [this] { txtPassword_GotFocus(); };
    Get("txtConfirmPass").onGotFocus = [this] { txtConfirmPass_GotFocus(); };
}

// The wizard is on screen behind the login prompt while the password is asked for; the
// choices start from their defaults only once the login has passed.
void StartupMainForm::Form_Load() {
    CurrentPage = 1;
    setCaption(GetLangString("5000", kAppTitle));
    cmdNext.setCaption(GetLangString("5001", "&Next >"));
    cmdBack.setCaption(GetLangString("5002", "< &Back"));
    cmdCancel.setCaption(GetLangString("5003", "&Cancel"));
    cmdBack.setEnabled(false);
    InitPage1();
    ApplyLanguage(*this, kLangSection);
    Show();
    if (!VerifyLogin()) {
        EndProgram();
    }
    AlertChoice = 1;
    WizardPassword.clear();
    ProgramChoice = 1;
}

// Every request to close (Cancel, Esc, the close box) asks first; No keeps everything.
void StartupMainForm::Form_QueryUnload(bool& cancel) {
    const int answer = platform::MessageBoxA(
        std::string(kExitQuestionText) + kAppTitle, kAppTitle,
        platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON1);
    if (answer == platform::IDNO) {
        cancel = true;
    }
}

void StartupMainForm::cmdCancel_Click() {
    Unload();
}

// The save step handles its own errors; the program ends whatever it did. A save that did
// not reach every file ends with exit status 1 and a line on standard error, so that a script
// or an installer can tell.
void StartupMainForm::Finish() {
    const bool saved = saveStartupWizardSettings(
        {WizardPassword, AlertChoice, ProgramChoice, programList.RowSettings()});
    if (!saved) {
        std::fprintf(stderr,
                     "ravelgard-wizard: not every setting was saved; the reasons are in %s\n",
                     platform::JoinPath(platform::AppPath(), "Err.log").c_str());
    }
    EndProgram(saved ? 0 : kSaveFailedExitCode);
}

}  // namespace rg
