// The machine the default network programs are read from, as a test installs it: services.exe
// (with a version resource), svchost.exe (without one) in the system folder, and a browser
// named by the registry's command line in the usual form, a quoted path, a space and %1.
#pragma once

#include <string>
#include <vector>

#include "save_expectations.h"
#include "tests/support/temp_install.h"

namespace rg::test {

struct SystemPrograms {
    std::string services;
    std::string svchost;
    std::string browser;
};

// Copies the three programs from `fixtureFolder` into the installation; registers the browser's
// command line when asked.
SystemPrograms InstallSystemPrograms(const TempInstall& install, const std::string& fixtureFolder,
                                     bool registerBrowser);

// The three sections a save with the default programs writes, in order, all codes "Allow".
std::vector<ExpectedProgram> DefaultProgramSections(const SystemPrograms& programs);

}  // namespace rg::test
