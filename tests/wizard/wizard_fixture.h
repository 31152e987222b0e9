// Starts the real wizard window through Main on a throw-away installation, with the scripted
// window system standing in for the screen and the user.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"
#include "wizard/startup_main_form.h"

namespace rg::test {

class WizardTest : public ::testing::Test {
  protected:
    // Runs Main with a password store holding `storedPassword` (empty: none set).
    void Start(const std::string& storedPassword = "");
    void WriteLanguageFile(const std::string& contents) {
        TempInstall::WriteFile(install.appPath() + "/Lang/English.INI", contents);
    }

    StartupMainForm& wizard() { return *wizard_; }
    platform::Control& Get(std::string_view name) { return wizard_->Get(name); }
    void Next() { ASSERT_TRUE(wizard_->PressEnter()); }
    void Back() { ASSERT_TRUE(wizard_->Click(wizard_->cmdBack)); }
    void Choose(std::string_view option) { ASSERT_TRUE(wizard_->Click(Get(option))); }
    void TypePasswords(const std::string& password, const std::string& confirm) {
        ASSERT_TRUE(wizard_->TypeText(Get("txtPassword"), password));
        ASSERT_TRUE(wizard_->TypeText(Get("txtConfirmPass"), confirm));
    }
    // Walks from page 1 to the finish page with the given page-5 option.
    void WalkToFinish(const char* programOption);
    // The one visible page frame's name, or "" / "several".
    std::string VisiblePage() const;

    TempInstall install;
    ScriptedWindowSystem screen;

  private:
    std::unique_ptr<StartupMainForm> wizard_;
};

}  // namespace rg::test
