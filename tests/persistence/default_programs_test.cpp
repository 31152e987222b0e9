// The default network programs: services.exe, svchost.exe and the browser named by the
// registry, each written with both permissions "Allow" under its display name.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "persistence/default_programs.h"
#include "persistence/profile_reload.h"
#include "platform/ini/profile_api.h"
#include "platform/os/registry.h"
#include "programs/default_programs.h"
#include "services/error_log.h"
#include "services/ini_access.h"
#include "services/registry_access.h"
#include "services/run_error.h"
#include "tests/support/temp_install.h"

namespace rg {
namespace {

using test::TempInstall;

std::vector<std::string> SectionHeaders(const std::string& bytes) {
    std::vector<std::string> headers;
    for (std::size_t at = bytes.find("\r\n["); at != std::string::npos;
         at = bytes.find("\r\n[", at + 1)) {
        const std::size_t end = bytes.find("]\r\n", at);
        headers.push_back(bytes.substr(at + 3, end - at - 3));
    }
    return headers;
}

class DefaultProgramsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        systemDir = install.systemDir() + "/";
        browser = install.prefix() + "/Program Files/Internet Explorer/iexplore.exe";
        std::filesystem::create_directories(std::filesystem::path(browser).parent_path());
        std::filesystem::copy_file(RG_SYSTEM_FIXTURES "/services.exe", systemDir + "services.exe");
        std::filesystem::copy_file(RG_SYSTEM_FIXTURES "/svchost.exe", systemDir + "svchost.exe");
        std::filesystem::copy_file(RG_SYSTEM_FIXTURES "/iexplore.exe", browser);
        ReloadProfiles(install.appPath() + "/Profiles/");
        file = install.appPath() + "/Profiles/ProgramControl.RVL";
    }
    std::string Read(const std::string& section, const std::string& key) {
        return ReadINI(section, key, "<absent>", file, true);
    }
    void ExpectAllowed(const std::string& section, const std::string& path,
                       const std::string& version) {
        SCOPED_TRACE(section);
        EXPECT_EQ(Read(section, "Path"), path);
        EXPECT_EQ(Read(section, "Version"), version);
        for (const char* column : {"Column1", "Column2", "Column3", "Column4"}) {
            EXPECT_EQ(Read(section, column), "0") << column;
        }
    }
    std::string FlushedBytes() {
        EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
        return TempInstall::ReadFile(file);
    }

    TempInstall install;
    std::string systemDir;
    std::string browser;
    std::string file;
};

TEST_F(DefaultProgramsTest, WritesTheThreeProgramsInOrderWithAllow) {
    RegCreateString(kBrowserCommandKey, platform::HKEY_CLASSES_ROOT, "\"" + browser + "\" %1");

    WriteDefaultPrograms(systemDir, file);

    const std::vector<std::string> expected = {"Services and Controller app", "svchost.exe",
                                               "Internet Explorer"};
    EXPECT_EQ(SectionHeaders(FlushedBytes()), expected);
    ExpectAllowed("Services and Controller app", systemDir + "services.exe",
                  "5.1.2600.2180 (xpsp_sp2_rtm.040803-2158)");
    // svchost.exe has no version resource: named by its file name, with an empty version.
    ExpectAllowed("svchost.exe", systemDir + "svchost.exe", "");
    ExpectAllowed("Internet Explorer", browser, "6.00.2900.2180 (xpsp_sp2_rtm.040803-2158)");
}

TEST_F(DefaultProgramsTest, MissingBrowserCommandFailsAfterTheSystemPrograms) {
    EXPECT_THROW(WriteDefaultPrograms(systemDir, file), RunError);

    // Through a trapping caller, as the save step calls it: one line in the error log.
    const bool ranToEnd = RunTrapped("saveStartupWizardSettings of frmStartupMain",
                                     [&] { WriteDefaultPrograms(systemDir, file); });
    EXPECT_FALSE(ranToEnd);
    const std::string log = TempInstall::ReadFile(install.appPath() + "/Err.log");
    EXPECT_EQ(log.rfind("saveStartupWizardSettings of frmStartupMain:---->5,", 0), 0u) << log;
    EXPECT_EQ(log.find("\r\n"), log.size() - 2);

    const std::vector<std::string> expected = {"Services and Controller app", "svchost.exe"};
    EXPECT_EQ(SectionHeaders(FlushedBytes()), expected);
}

TEST(BrowserPathFromCommand, CutsQuotesAndArgumentOrFailsWhenTooShort) {
    EXPECT_EQ(BrowserPathFromCommand("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" %1"),
              "C:\\Program Files\\Internet Explorer\\iexplore.exe");
    // Another form is cut the same way, whatever comes out.
    EXPECT_EQ(BrowserPathFromCommand("C:\\browser.exe -nohome"), ":\\browser.exe -no");
    EXPECT_EQ(BrowserPathFromCommand("\"\" %1"), "");
    EXPECT_THROW(BrowserPathFromCommand("\" %1"), RunError);
    EXPECT_THROW(BrowserPathFromCommand(""), RunError);
}

}  // namespace
}  // namespace rg
