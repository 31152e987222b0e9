// frmStartupMain, the wizard window: the banner, the separator, Back/Next/Cancel, the six page
// frames, the four state fields that collect the user's choices, and the handlers that walk
// the pages and end in the save step.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/form.h"
#include "programs/program_list.h"

namespace rg {

inline constexpr const char* kPasswordNotMatchedText = "Password not matched.";
// The exit status after a save that did not reach every file.
inline constexpr int kSaveFailedExitCode = 1;
inline constexpr const char* kExitQuestionText = "Are you sure you want to exit from ";
// Shown when the two boxes agree on a password that the password stores cannot hold.
inline constexpr const char* kPasswordNotStorableText =
    "This password cannot be stored. Please use only letters, digits, punctuation and spaces.";

class StartupMainForm final : public platform::Form {
  public:
    StartupMainForm();

    // The state fields, in this order; initialised at the end of the load step.
    std::int16_t CurrentPage = 0;
    float ProgramChoice = 0;
    std::string WizardPassword;
    float AlertChoice = 0;

    // Fixed controls.
    platform::Control& Picture1;
    platform::Control& Line2;
    platform::Control& Line1;

    // Page frames.
    platform::Control& fraPage1;
    platform::Control& fraPage3;
    platform::Control& fraPage4;
    platform::Control& fraPage5;
    platform::Control& fraPage6;
    platform::Control& fraPage9;

    // The buttons, created after the pages: the creation order is the tab order, and Tab
    // visits the page's controls before the buttons.
    platform::Control& cmdBack;
    platform::Control& cmdNext;
    platform::Control& cmdCancel;

    // The permission pop-up menus of page 6's list, and the list's logic.
    platform::Control& mnuAccess;
    platform::Control& mnuServer;
    ProgramList programList;

    // Page switchers and initialisers.
    void HideAllPages();
    void ShowPage1();
    void ShowPage3();
    void ShowPage4();
    void ShowPage5();
    void ShowPage6();
    void ShowPage9();
    void InitPage1();
    void InitPage3();
    void InitPage4();
    void InitPage5();
    void InitPage6();
    void InitPage9();
    void PlacePageFrame(platform::Control& frame);

    // Page 4's check: true when both password boxes agree (and the password can be stored).
    bool CheckPasswordPage();

    void cmdNext_Click();
    void cmdBack_Click();
    void cmdCancel_Click();
    void optAlertAlltime_Click();
    void optAlertDoNot_Click();
    void txtPassword_GotFocus();
    void txtConfirmPass_GotFocus();

  protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel) override;

  private:
    void InitPageFrame(platform::Control& frame, const char* picture, int iconId);
    void Finish();
    void ConnectHandlers();
};

}  // namespace rg
