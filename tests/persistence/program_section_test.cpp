// One program's section in the program control profile, byte for byte as the firewall reads it.
#include <gtest/gtest.h>

#include "persistence/profile_reload.h"
#include "persistence/program_section.h"
#include "platform/ini/profile_api.h"
#include "services/run_error.h"
#include "tests/persistence/save_expectations.h"

namespace rg::test {
namespace {

// Written again under another spelling, a section keeps its place and its first header; the
// values are enciphered with the new spelling, which the firewall matches without regard to
// case. A value that cannot be stored raises before the section is touched.
TEST(WriteProgramSection, WritesFifteenEncipheredKeysAndRewritesASectionInPlace) {
    TempInstall install;
    ReloadProfiles(install.appPath() + "/Profiles/");
    const std::string file = install.appPath() + "/Profiles/ProgramControl.RVL";
    WriteProgramSection("Internet Explorer", "C:\\ie.exe", "6.0", 1, 2, file);
    WriteProgramSection("services.exe", "C:\\WINDOWS\\services.exe", "", 0, 0, file);
    WriteProgramSection("internet explorer", "D:\\ie.exe", "7.0", 2, 1, file);
    // Under the key "services.exe" the first character is shifted by 'e' (101): 0xA8 becomes CR.
    EXPECT_THROW(WriteProgramSection("services.exe", "\xA8:\\x.exe", "2.0", 1, 1, file), RunError);
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
    std::string expected =
        ProgramControlBytes({{"internet explorer", "D:\\ie.exe", "7.0", 2, 1},
                             {"services.exe", "C:\\WINDOWS\\services.exe", "", 0, 0}});
    expected.replace(expected.find("[internet explorer]"), 19, "[Internet Explorer]");
    EXPECT_EQ(TempInstall::ReadFile(file), expected);
}

}  // namespace
}  // namespace rg::test
