// Starts the real wizard window through Main on a throw-away installation, with the scripted
// window system standing in for the screen and the user.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "startup/globals.h"
#include "startup/password_store.h"
#include "startup/startup.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"
#include "wizard/startup_main_form.h"

namespace rg::test {

class WizardTest : public ::testing::Test {
  protected:
    // Runs Main with a password store holding `storedPassword` (empty: none set).
    void Start(const std::string& storedPassword = "") {
        LoginAccepted = false;
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
        SavePassword(storedPassword);
        Main([this]() -> platform::Form& {
            wizard_ = std::make_unique<StartupMainForm>();
            return *wizard_;
        });
    }

    StartupMainForm& wizard() { return *wizard_; }
    platform::Control& Get(std::string_view name) { return wizard_->Get(name); }
    void Next() { ASSERT_TRUE(wizard_->PressEnter()); }
    void Back() { ASSERT_TRUE(wizard_->Click(wizard_->cmdBack)); }
    void Choose(std::string_view option) { ASSERT_TRUE(wizard_->Click(Get(option))); }

    // Walks from page 1 to the finish page with the given page-5 option, the passwords empty.
    void WalkToFinish(const char* programOption) {
        for (int i = 0; i < 3; ++i) {
            Next();  // 1 -> 3 -> 4 -> 5
        }
        Choose(programOption);
        Next();
        if (wizard_->CurrentPage == 6) {
            Next();
        }
        ASSERT_EQ(wizard_->CurrentPage, 9);
    }

    // The one visible page frame's name, or "" / "several".
    std::string VisiblePage() const {
        std::string found;
        for (const char* frame :
             {"fraPage1", "fraPage3", "fraPage4", "fraPage5", "fraPage6", "fraPage9"}) {
            if (wizard_->Get(frame).visible()) {
                found = found.empty() ? frame : "several";
            }
        }
        return found;
    }

    TempInstall install;
    ScriptedWindowSystem screen;

  private:
    std::unique_ptr<StartupMainForm> wizard_;
};

}  // namespace rg::test
