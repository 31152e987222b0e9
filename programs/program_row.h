// One row of the program permission list as the save step reads it.
#pragma once

#include <string>

namespace rg {

// The row's text (the display name, which names the program's section), its tag (the full
// path), and its two permission texts.
struct ProgramRowSettings {
    std::string Name;
    std::string Path;
    std::string Access;
    std::string Server;
};

}  // namespace rg
