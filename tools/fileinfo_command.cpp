// ravelgard-tool fileinfo [--json] PATH...: shows, for each path, the file properties exactly
// as the wizard reads them, so that support can see why a program is listed under its name.
// Text mode prints one "Field: value" line per field and a blank line between files; --json
// prints one object per file on one line. Texts are code page 1252 bytes, shown as the
// characters they stand for (UTF-8 in text mode, \u escapes in JSON). Paths are used as given.
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "fileinfo/file_properties.h"
#include "platform/base/codepage.h"
#include "platform/os/file_system.h"
#include "tools/commands.h"
#include "tools/options.h"
#include "tools/usage.h"

namespace rg::tool {
namespace {

std::string DateText(const std::optional<CalendarDate>& date) {
    if (!date) {
        return {};
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date->year, date->month, date->day);
    return text;
}

// The eight version entries in the record's order, with their field names.
std::vector<std::pair<const char*, const std::string*>> VersionFields(const FileProperties& p) {
    return {{"CompanyName", &p.CompanyName},       {"FileDescription", &p.FileDescription},
            {"FileVersion", &p.FileVersion},       {"InternalName", &p.InternalName},
            {"LegalCopyright", &p.LegalCopyright}, {"OriginalFileName", &p.OriginalFileName},
            {"ProductName", &p.ProductName},       {"ProductVersion", &p.ProductVersion}};
}

// Control characters would break the one-field-per-line layout; they are shown as \xNN.
std::string ForTextLine(const std::string& cp1252) {
    std::string visible;
    for (const char byte : cp1252) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 || code == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
            visible += escaped;
        } else {
            visible += byte;
        }
    }
    return platform::Cp1252ToUtf8(visible);
}

void PrintText(const FileProperties& p, std::ostream& out) {
    out << "FullPath: " << ForTextLine(p.FullPath) << '\n'
        << "FileName: " << ForTextLine(p.FileName) << '\n'
        << "SizeBytes: " << p.SizeBytes << '\n'
        << "SizeText: " << p.SizeText << '\n'
        << "Modified: " << DateText(p.Modified) << '\n'
        << "Accessed: " << DateText(p.Accessed) << '\n'
        << "Created: " << DateText(p.Created) << '\n';
    for (const auto& [name, value] : VersionFields(p)) {
        out << name << ": " << ForTextLine(*value) << '\n';
    }
}

std::string JsonString(const std::string& cp1252) {
    std::string json = "\"";
    for (const char byte : cp1252) {
        const char16_t unit = platform::Cp1252ToUnicode(static_cast<unsigned char>(byte));
        if (unit == u'"' || unit == u'\\') {
            json += '\\';
            json += static_cast<char>(unit);
        } else if (unit >= 0x20 && unit < 0x7F) {
            json += static_cast<char>(unit);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
            json += escaped;
        }
    }
    json.push_back('"');
    return json;
}

std::string JsonDate(const std::optional<CalendarDate>& date) {
    if (!date) {
        return "null";
    }
    std::string quoted(1, '"');
    quoted.append(DateText(date)).push_back('"');
    return quoted;
}

void PrintJson(const FileProperties& p, std::ostream& out) {
    out << "{\"FullPath\":" << JsonString(p.FullPath) << ",\"FileName\":" << JsonString(p.FileName)
        << ",\"SizeBytes\":" << p.SizeBytes << ",\"SizeText\":" << JsonString(p.SizeText)
        << ",\"Modified\":" << JsonDate(p.Modified) << ",\"Accessed\":" << JsonDate(p.Accessed)
        << ",\"Created\":" << JsonDate(p.Created);
    for (const auto& [name, value] : VersionFields(p)) {
        out << ",\"" << name << "\":" << JsonString(*value);
    }
    out << "}\n";
}

}  // namespace

// Exit code 0 when every path named an existing file, 1 when some did not (their fallbacks are
// printed all the same), 2 for a usage error.
int RunFileinfoCommand(const Args& args, std::ostream& out, std::ostream& err) {
    const ParsedOptions options = ParseOptions(args, {{"json", false}, {"help", false}});
    if (options.Has("help")) {
        out << kFileinfoUsage;
        return 0;
    }
    if (!options.error.empty() || options.operands.empty()) {
        err << "ravelgard-tool fileinfo: "
            << (options.error.empty() ? "a path is missing" : options.error) << "\n\n"
            << kFileinfoUsage;
        return 2;
    }
    const bool json = options.Has("json");
    std::vector<std::string> paths;
    for (const std::string& arg : options.operands) {
        // The terminal names files in UTF-8; the wizard reads them as code page 1252 paths.
        paths.push_back(platform::PathFromNative(arg));
    }
    int status = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!platform::PathFileExistsA(paths[i])) {
            err << "ravelgard-tool fileinfo: " << options.operands[i]
                << ": no such file; its fallbacks follow\n";
            status = 1;
        }
        getFileProperty(paths[i]);
        if (json) {
            PrintJson(fileProperties(), out);
        } else {
            if (i > 0) {
                out << '\n';
            }
            PrintText(fileProperties(), out);
        }
    }
    return status;
}

}  // namespace rg::tool
