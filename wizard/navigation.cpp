// The page switchers, the page initialisers, and Next and Back of the wizard window.
#include "services/language.h"
#include "wizard/page_layout.h"
#include "wizard/startup_main_form.h"

namespace rg {
namespace {

constexpr int kIconPage1 = 101;
constexpr int kIconPage3 = 103;
constexpr int kIconPage4 = 104;
constexpr int kIconPage5And6 = 106;
constexpr int kIconPage9 = 105;

}  // namespace

void StartupMainForm::HideAllPages() {
    for (platform::Control* frame :
         {&fraPage1, &fraPage3, &fraPage4, &fraPage5, &fraPage6, &fraPage9}) {
        frame->setVisible(false);
    }
}

void StartupMainForm::PlacePageFrame(platform::Control& frame) {
    frame.setBounds(wizard::kPageArea);
}

// Every initialiser places its frame and reloads the page's icon.
void StartupMainForm::InitPageFrame(platform::Control& frame, const char* picture, int iconId) {
    PlacePageFrame(frame);
    Get(picture).setPictureId(iconId);
}

void StartupMainForm::InitPage1() {
    InitPageFrame(fraPage1, "imgPage1", kIconPage1);
    fraPage1.setVisible(true);
}

void StartupMainForm::InitPage3() {
    InitPageFrame(fraPage3, "imgPage3", kIconPage3);
    cmdBack.setEnabled(true);
    cmdNext.setEnabled(true);
}

void StartupMainForm::InitPage4() {
    InitPageFrame(fraPage4, "imgPage4", kIconPage4);
}

void StartupMainForm::InitPage5() {
    InitPageFrame(fraPage5, "imgPage5", kIconPage5And6);
}

void StartupMainForm::InitPage6() {
    InitPageFrame(fraPage6, "imgPage6", kIconPage5And6);
}

// The finish caption has no built-in text: without a language file the button is blank here.
void StartupMainForm::InitPage9() {
    cmdNext.setCaption(GetLangString("5004", ""));
    InitPageFrame(fraPage9, "imgPage9", kIconPage9);
}

// Page 1's picture is loaded only by the load step.
void StartupMainForm::ShowPage1() {
    HideAllPages();
    fraPage1.setVisible(true);
    cmdBack.setEnabled(true);
    cmdNext.setEnabled(true);
    CurrentPage = 1;
}

void StartupMainForm::ShowPage3() {
    HideAllPages();
    fraPage3.setVisible(true);
    InitPage3();
    CurrentPage = 3;
}

void StartupMainForm::ShowPage4() {
    HideAllPages();
    fraPage4.setVisible(true);
    InitPage4();
    CurrentPage = 4;
    SetFocus(Get("txtPassword"));
}

void StartupMainForm::ShowPage5() {
    HideAllPages();
    fraPage5.setVisible(true);
    InitPage5();
    CurrentPage = 5;
}

void StartupMainForm::ShowPage6() {
    HideAllPages();
    fraPage6.setVisible(true);
    InitPage6();
    CurrentPage = 6;
}

void StartupMainForm::ShowPage9() {
    HideAllPages();
    fraPage9.setVisible(true);
    InitPage9();
    CurrentPage = 9;
}

void StartupMainForm::cmdNext_Click() {
    switch (CurrentPage) {
        case 1:
            ShowPage3();
            break;
        case 3:
            ShowPage4();
            break;
        case 4:
            if (CheckPasswordPage()) {
                WizardPassword = Get("txtPassword").text();
                ShowPage5();
            }
            break;
        case 5:
            // The options are tested in this order; anything else counts as the third.
            if (Get("optAllowProgram").value()) {
                ShowPage9();
                ProgramChoice = 1;
            } else if (Get("optNoProgramAdd").value()) {
                ShowPage9();
                ProgramChoice = 2;
            } else {
                ShowPage6();
                ProgramChoice = 3;
            }
            break;
        case 6:
            ShowPage9();
            break;
        case 9:
            Finish();
            break;
        default:
            break;
    }
}

void StartupMainForm::cmdBack_Click() {
    switch (CurrentPage) {
        case 9:
            if (ProgramChoice == 3) {
                ShowPage6();
            } else {
                ShowPage5();
            }
            cmdNext.setCaption(GetLangString("5001", ""));
            break;
        case 6:
            ShowPage5();
            break;
        case 5:
            ShowPage4();
            break;
        case 4:
            ShowPage3();
            break;
        case 3:
            ShowPage1();
            cmdBack.setEnabled(false);
            break;
        default:
            break;
    }
}

}  // namespace rg
