// Page 6 of the wizard (the list, its buttons and the two permission menus) with the program
// list's logic on it, on a throw-away installation, with the scripted window system standing in
// for the screen and the user.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/os/shell_icon.h"
#include "programs/program_list.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"
#include "wizard/page_layout.h"

namespace rg::test {

class ProgramListTest : public ::testing::Test {
  protected:
    ProgramListTest() {
        wizard::AddPage6(form).setVisible(true);
        programs = std::make_unique<ProgramList>(
            ProgramListControls{lvw(), form.Get("cmdAdd"), form.Get("cmdRemove"),
                                wizard::AddPermissionMenu(form, "mnuAccess", "Access"),
                                wizard::AddPermissionMenu(form, "mnuServer", "Server")});
    }
    ~ProgramListTest() override {
        platform::SetFileTypeIconProvider({});
        EXPECT_EQ(screen.pendingAnswers() + screen.pendingFileDialogs(), 0u);
    }

    // A file without a version resource: its display name is its file name.
    std::string MakeFile(const std::string& name) {
        const std::string path = install.root() + "/files/" + name;
        TempInstall::WriteFile(path, "data");
        return path;
    }
    void Add(const std::string& path) {  // cmdAdd, the dialog answering `path`
        screen.AnswerNextFileDialog(path);
        ASSERT_TRUE(form.Click(form.Get("cmdAdd")));
    }
    void AddFiles(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            Add(MakeFile(name));
        }
    }
    void Select(const std::vector<std::size_t>& selected, int current) {
        ASSERT_TRUE(form.SelectListRows(lvw(), selected, current));
    }
    platform::Control& lvw() { return form.Get("lvwPrograms"); }
    const platform::ListViewContent& rows() { return lvw().list(); }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const platform::ListRow& row : rows().rows()) {
            names.push_back(row.text);
        }
        return names;
    }
    std::string ErrorLog() const { return TempInstall::ReadFile(install.appPath() + "/Err.log"); }

    TempInstall install;
    ScriptedWindowSystem screen;
    platform::Form form{"frmStartupMain"};
    std::unique_ptr<ProgramList> programs;
};

}  // namespace rg::test
