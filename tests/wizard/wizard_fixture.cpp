#include "tests/wizard/wizard_fixture.h"

#include "startup/globals.h"
#include "startup/password_store.h"
#include "startup/startup.h"

namespace rg::test {

void WizardTest::Start(const std::string& storedPassword) {
    LoginAccepted = false;
    InitPaths();
    TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
    SavePassword(storedPassword);
    Main([this]() -> platform::Form& {
        wizard_ = std::make_unique<StartupMainForm>();
        return *wizard_;
    });
}

void WizardTest::WalkToFinish(const char* programOption) {
    Next();  // 1 -> 3
    Next();  // 3 -> 4
    Next();  // 4 -> 5: empty passwords agree
    Choose(programOption);
    Next();
    if (wizard_->CurrentPage == 6) {
        Next();
    }
    ASSERT_EQ(wizard_->CurrentPage, 9);
}

std::string WizardTest::VisiblePage() const {
    std::string found;
    for (const char* frame :
         {"fraPage1", "fraPage3", "fraPage4", "fraPage5", "fraPage6", "fraPage9"}) {
        if (wizard_->Get(frame).visible()) {
            found = found.empty() ? frame : "several";
        }
    }
    return found;
}

}  // namespace rg::test
