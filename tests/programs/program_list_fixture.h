// A form with page 6 of the wizard (the list, its buttons and the two permission menus) and the
// program list's logic on it, on a throw-away installation, with the scripted window system
// standing in for the screen and the user.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/form.h"
#include "programs/program_list.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg::test {

// A PE program built by tests/fileinfo (fixtures/NAME.rc); "full" has its own icon and the
// display name "Sample Tool".
std::string FixtureProgram(const std::string& name);

class ProgramListTest : public ::testing::Test {
  protected:
    ProgramListTest();
    ~ProgramListTest() override;

    // A file with the given name and bytes in a folder of the installation; returns its path.
    std::string MakeFile(const std::string& name, const std::string& bytes = "data",
                         const std::string& folder = "files");
    // cmdAdd with the dialog answering `path`.
    void AddThroughDialog(const std::string& path);
    // Adds plain files named name0, name1, ... (display names as the file names).
    void AddFiles(const std::vector<std::string>& names);

    platform::Control& lvw() { return form.Get("lvwPrograms"); }
    const platform::ListViewContent& rows() { return lvw().list(); }
    std::vector<std::string> Names();
    std::string Access(std::size_t row) { return rows().rows().at(row).subItem(1); }
    std::string Server(std::size_t row) { return rows().rows().at(row).subItem(2); }
    void SelectRows(const std::vector<std::size_t>& selected, int current);
    std::string ErrorLog() const;

    TempInstall install;
    ScriptedWindowSystem screen;
    platform::Form form{"frmStartupMain"};
    std::unique_ptr<ProgramList> programs;
};

}  // namespace rg::test
