// Placeholder until the file property reader lands; replaced by the real command.
#include <ostream>

#include "tools/commands.h"

namespace rg::tool {

int RunFileinfoCommand(const Args&, std::ostream&, std::ostream& err) {
    err << "ravelgard-tool fileinfo: not available in this build\n";
    return 1;
}

}  // namespace rg::tool
