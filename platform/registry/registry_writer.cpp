#include "platform/registry/registry_writer.h"

#include "platform/os/registry.h"
#include "platform/registry/registry_parser.h"

namespace rg::platform {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr char kHexDigits[] = "0123456789abcdef";

void AppendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

// True when "text" would import back to exactly these bytes.
bool IsLiteralText(std::string_view data) {
    if (data.empty() || data.back() != '\0') {
        return false;
    }
    return IsStorableName(data.substr(0, data.size() - 1));
}

void AppendHexNumber(std::string& out, DWORD number, int minDigits) {
    std::string digits;
    do {
        digits.insert(digits.begin(), kHexDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    if (static_cast<int>(digits.size()) < minDigits) {
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    }
    out += digits;
}

// The byte list, wrapped after a comma with "\" and a two-space indent once the line is long.
void AppendByteList(std::string& out, std::string_view data, std::size_t lineStart) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out.push_back(kHexDigits[byte >> 4]);
        out.push_back(kHexDigits[byte & 0xF]);
        if (i + 1 == data.size()) {
            break;
        }
        out.push_back(',');
        if (out.size() - lineStart > kRegistryLineWidth) {
            out += "\\";
            out += kLineEnd;
            lineStart = out.size();
            out += "  ";
        }
    }
}

void AppendValue(std::string& out, const RegistryValue& value) {
    const std::size_t lineStart = out.size();
    if (value.name.empty()) {
        out.push_back('@');
    } else {
        AppendQuoted(out, value.name);
    }
    out.push_back('=');
    if (value.type == REG_SZ && IsLiteralText(value.data)) {
        AppendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD number = 0;
        for (int i = 3; i >= 0; --i) {
            number =
                (number << 8) | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
        }
        out += "dword:";
        AppendHexNumber(out, number, 8);
    } else {
        out += "hex";
        if (value.type != REG_BINARY) {
            out.push_back('(');
            AppendHexNumber(out, value.type, 1);
            out.push_back(')');
        }
        out.push_back(':');
        AppendByteList(out, value.data, lineStart);
    }
    out += kLineEnd;
}

void AppendKey(std::string& out, const RegistryKey& key, const std::string& path) {
    out.push_back('[');
    out += path;
    out.push_back(']');
    out += kLineEnd;
    for (const RegistryValue& value : key.values) {
        AppendValue(out, value);
    }
    out += kLineEnd;
    for (const RegistryKey& subkey : key.subkeys) {
        AppendKey(out, subkey, path + "\\" + subkey.name);
    }
}

}  // namespace

std::string SerializeRegistryFile(const RegistryKey& root, std::string_view rootName) {
    std::string out(kRegistryFileHeader);
    out += kLineEnd;
    out += kLineEnd;
    AppendKey(out, root, std::string(rootName));
    return out;
}

}  // namespace rg::platform
