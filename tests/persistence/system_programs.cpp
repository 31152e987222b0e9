#include "tests/persistence/system_programs.h"

#include <filesystem>

#include "platform/os/registry.h"
#include "programs/default_programs.h"
#include "services/registry_access.h"

namespace rg::test {

SystemPrograms InstallSystemPrograms(const TempInstall& install, const std::string& fixtureFolder,
                                     bool registerBrowser) {
    SystemPrograms programs;
    programs.services = install.systemDir() + "/services.exe";
    programs.svchost = install.systemDir() + "/svchost.exe";
    programs.browser = install.prefix() + "/Program Files/Internet Explorer/iexplore.exe";
    std::filesystem::create_directories(std::filesystem::path(programs.browser).parent_path());
    std::filesystem::copy_file(fixtureFolder + "/services.exe", programs.services);
    std::filesystem::copy_file(fixtureFolder + "/svchost.exe", programs.svchost);
    std::filesystem::copy_file(fixtureFolder + "/iexplore.exe", programs.browser);
    if (registerBrowser) {
        RegCreateString(kBrowserCommandKey, platform::HKEY_CLASSES_ROOT,
                        "\"" + programs.browser + "\" %1");
    }
    return programs;
}

std::vector<ExpectedProgram> DefaultProgramSections(const SystemPrograms& programs) {
    return {
        {"Services and Controller app", programs.services,
         "5.1.2600.2180 (xpsp_sp2_rtm.040803-2158)", 0, 0},
        // No version resource: named by the file name, with an empty version.
        {"svchost.exe", programs.svchost, "", 0, 0},
        {"Internet Explorer", programs.browser, "6.00.2900.2180 (xpsp_sp2_rtm.040803-2158)", 0, 0},
    };
}

}  // namespace rg::test
