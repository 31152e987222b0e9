#include "tools/text_args.h"

#include "platform/base/codepage.h"

namespace rg::tool {

std::optional<std::string> ArgumentAsCp1252(std::string_view utf8) {
    std::string bytes;
    if (!platform::Utf8ToCp1252Exact(utf8, bytes)) {
        return std::nullopt;
    }
    return bytes;
}

std::string ForTerminal(std::string_view cp1252) {
    return platform::Cp1252ToUtf8(cp1252);
}

}  // namespace rg::tool
