// The sub-commands of ravelgard-tool. Each takes the arguments after its own name, writes to
// the given streams and returns the process exit code.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace rg::tool {

using Args = std::vector<std::string>;

int RunInstallCommand(const Args& args, std::ostream& out, std::ostream& err);
int RunProfileCommand(const Args& args, std::ostream& out, std::ostream& err);
int RunFileinfoCommand(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace rg::tool
