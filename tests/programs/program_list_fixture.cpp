#include "tests/programs/program_list_fixture.h"

#include <filesystem>

#include "platform/os/shell_icon.h"
#include "wizard/page_layout.h"

namespace rg::test {

std::string FixtureProgram(const std::string& name) {
    return std::string(RG_PE_FIXTURES) + "/" + name + ".exe";
}

ProgramListTest::ProgramListTest() {
    platform::Control& frame = wizard::AddPage6(form);
    frame.setVisible(true);
    platform::Control& access = wizard::AddPermissionMenu(form, "mnuAccess", "Access");
    platform::Control& server = wizard::AddPermissionMenu(form, "mnuServer", "Server");
    programs = std::make_unique<ProgramList>(ProgramListControls{
        form.Get("lvwPrograms"), form.Get("cmdAdd"), form.Get("cmdRemove"), access, server});
}

ProgramListTest::~ProgramListTest() {
    platform::SetFileTypeIconProvider({});
    EXPECT_EQ(screen.pendingAnswers(), 0u);
    EXPECT_EQ(screen.pendingFileDialogs(), 0u);
    EXPECT_EQ(screen.pendingMenuChoices(), 0u);
}

std::string ProgramListTest::MakeFile(const std::string& name, const std::string& bytes,
                                      const std::string& folder) {
    const std::string path = install.root() + "/" + folder + "/" + name;
    TempInstall::WriteFile(path, bytes);
    return path;
}

void ProgramListTest::AddThroughDialog(const std::string& path) {
    screen.AnswerNextFileDialog(path);
    ASSERT_TRUE(form.Click(form.Get("cmdAdd")));
}

void ProgramListTest::AddFiles(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        AddThroughDialog(MakeFile(name));
    }
}

std::vector<std::string> ProgramListTest::Names() {
    std::vector<std::string> names;
    for (const platform::ListRow& row : rows().rows()) {
        names.push_back(row.text);
    }
    return names;
}

void ProgramListTest::SelectRows(const std::vector<std::size_t>& selected, int current) {
    ASSERT_TRUE(form.SelectListRows(lvw(), selected, current));
}

std::string ProgramListTest::ErrorLog() const {
    return TempInstall::ReadFile(install.appPath() + "/Err.log");
}

}  // namespace rg::test
