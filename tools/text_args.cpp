#include "tools/text_args.h"

#include "platform/os/process.h"

namespace rg::tool {

std::optional<std::string> ArgumentAsCp1252(std::string_view argument) {
    return platform::TextFromCommandLine(argument);
}

std::string ForTerminal(std::string_view cp1252) {
    return platform::TextForTerminal(cp1252);
}

}  // namespace rg::tool
