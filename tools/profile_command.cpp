// ravelgard-tool profile: reads and writes profile values through the same routines the wizard
// uses (ReadINI and WriteINI with the section name as cipher key, and the section-emptying call),
// so that support sees exactly what the firewall will read.
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "services/cipher.h"
#include "services/ini_access.h"
#include "services/run_error.h"
#include "tools/commands.h"
#include "tools/text_args.h"

namespace rg::tool {
namespace {

constexpr const char* kProfileUsage =
    "Usage: ravelgard-tool profile dump FILE\n"
    "       ravelgard-tool profile get SECTION KEY FILE\n"
    "       ravelgard-tool profile set SECTION KEY VALUE FILE\n"
    "       ravelgard-tool profile clear SECTION FILE\n";

// A list of NUL-separated names as the profile API returns it for a NULL section or key; the
// buffer grows until the list fits.
std::vector<std::string> ListNames(platform::OptText section, const std::string& file) {
    std::vector<char> buffer(4096);
    for (;;) {
        const auto size = static_cast<platform::DWORD>(buffer.size());
        const platform::DWORD length = platform::GetPrivateProfileStringA(
            section, std::nullopt, "", buffer.data(), size, file);
        if (length + 2 < size) {
            std::vector<std::string> names;
            std::string current;
            for (platform::DWORD i = 0; i < length; ++i) {
                if (buffer[i] == '\0') {
                    names.push_back(current);
                    current.clear();
                } else {
                    current += buffer[i];
                }
            }
            if (!current.empty()) {
                names.push_back(current);
            }
            return names;
        }
        buffer.resize(buffer.size() * 4);
    }
}

bool CheckReadable(const std::string& file, std::ostream& err) {
    std::string contents;
    const platform::DWORD result =
        platform::ReadWholeFile(file, contents, platform::kMaxProfileFileBytes);
    if (result == platform::ERROR_SUCCESS) {
        return true;
    }
    err << "ravelgard-tool profile: cannot read " << file << ": "
        << RunError::FromWindowsError(result).description() << "\n";
    return false;
}

bool FlushOrReport(const std::string& file, std::ostream& err) {
    if (platform::FlushPrivateProfiles() != platform::FALSE) {
        return true;
    }
    err << "ravelgard-tool profile: cannot write " << file << ": "
        << RunError::FromWindowsError(platform::GetLastError()).description() << "\n";
    return false;
}

int Dump(const std::string& file, std::ostream& out, std::ostream& err) {
    if (!CheckReadable(file, err)) {
        return 1;
    }
    for (const std::string& section : ListNames(std::nullopt, file)) {
        out << "[" << ForTerminal(section) << "]\n";
        for (const std::string& key : ListNames(section, file)) {
            const std::string value = ReadINI(section, key, "", file, true);
            out << ForTerminal(key) << "=" << ForTerminal(value) << "\n";
        }
    }
    return 0;
}

int Get(const std::string& section, const std::string& key, const std::string& file,
        std::ostream& out, std::ostream& err) {
    if (!CheckReadable(file, err)) {
        return 1;
    }
    out << ForTerminal(ReadINI(section, key, "", file, true)) << "\n";
    return 0;
}

int Set(const std::string& section, const std::string& key, const std::string& value,
        const std::string& file, std::ostream& err) {
    if (!CanStoreINIValue(section, value, true)) {
        err << "ravelgard-tool profile: the value cannot be stored in section ["
            << ForTerminal(section)
            << "]: enciphered with the section name it would hold a line break, a NUL, "
               "blanks at an end or enclosing quotes, and would not read back unchanged\n";
        return 1;
    }
    try {
        WriteINI(section, key, value, file, true);
    } catch (const RunError& error) {
        err << "ravelgard-tool profile: " << error.description() << "\n";
        return 1;
    }
    if (!FlushOrReport(file, err)) {
        return 1;
    }
    // The profile API reports a refused write (read-only file, missing folder) only through its
    // own result, which WriteINI does not pass on; reading the value back tells for sure.
    // A CR can never be stored, so the fallback cannot be mistaken for a written value.
    const std::string plain(value.substr(std::min(value.find_first_not_of(' '), value.size())));
    if (ReadINI(section, key, "\r", file, false) != EncryptText(plain, section)) {
        err << "ravelgard-tool profile: cannot write " << file
            << ": the file is read-only or its folder does not exist\n";
        return 1;
    }
    return 0;
}

int Clear(const std::string& section, const std::string& file, std::ostream& err) {
    if (!CheckReadable(file, err)) {
        return 1;
    }
    if (platform::IsReadOnlyFile(file)) {
        err << "ravelgard-tool profile: cannot write " << file << ": the file is read-only\n";
        return 1;
    }
    if (platform::WritePrivateProfileSectionA(section, std::string_view(), file) ==
        platform::FALSE) {
        err << "ravelgard-tool profile: cannot write " << file << ": "
            << RunError::FromWindowsError(platform::GetLastError()).description() << "\n";
        platform::FlushPrivateProfiles();
        return 1;
    }
    return FlushOrReport(file, err) ? 0 : 1;
}

}  // namespace

int RunProfileCommand(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kProfileUsage;
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        out << kProfileUsage;
        return 0;
    }
    // Sections, keys, values and the file's path are code page 1252 texts inside the program.
    std::vector<std::string> texts;
    for (std::size_t i = 1; i + 1 < args.size(); ++i) {
        const auto converted = ArgumentAsCp1252(args[i]);
        if (!converted) {
            err << "ravelgard-tool profile: '" << args[i]
                << "' holds a character outside code page 1252\n";
            return 2;
        }
        texts.push_back(*converted);
    }
    const std::string& verb = args[0];
    const std::string file = platform::PathFromNative(args.back());
    if (verb == "dump" && args.size() == 2) {
        return Dump(file, out, err);
    }
    if (verb == "get" && args.size() == 4) {
        return Get(texts[0], texts[1], file, out, err);
    }
    if (verb == "set" && args.size() == 5) {
        return Set(texts[0], texts[1], texts[2], file, err);
    }
    if (verb == "clear" && args.size() == 3) {
        return Clear(texts[0], file, err);
    }
    err << "ravelgard-tool profile: wrong arguments\n" << kProfileUsage;
    return 2;
}

}  // namespace rg::tool
