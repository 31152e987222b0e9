// ravelgard-tool profile: reads and writes profile values through the same routines the wizard
// uses (ReadINI and WriteINI with the section name as cipher key, and the section-emptying call),
// so that support sees exactly what the firewall will read.
#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "services/cipher.h"
#include "services/ini_access.h"
#include "services/run_error.h"
#include "tools/commands.h"
#include "tools/options.h"
#include "tools/text_args.h"
#include "tools/usage.h"

namespace rg::tool {
namespace {

// Reading a profile value gives back at most this many characters.
constexpr std::size_t kLongestReadableValue = 254;

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
    const std::string plain(value.substr(std::min(value.find_first_not_of(' '), value.size())));
    if (plain.size() > kLongestReadableValue) {
        err << "ravelgard-tool profile: the value is " << plain.size()
            << " characters long; a profile value reads back with at most " << kLongestReadableValue
            << ", so it is not written\n";
        return 1;
    }
    if (!CanStoreSectionName(section)) {
        err << "ravelgard-tool profile: the section name [" << ForTerminal(section)
            << "] is empty or has blanks at an end, which reading would lose\n";
        return 1;
    }
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
    const ParsedOptions options = ParseOptions(args, {{"help", false}});
    if (options.Has("help")) {
        out << kProfileUsage;
        return 0;
    }
    const std::vector<std::string>& words = options.operands;
    const auto usageError = [&err](const std::string& problem) {
        err << "ravelgard-tool profile: " << problem << "\n\n" << kProfileUsage;
        return 2;
    };
    if (!options.error.empty()) {
        return usageError(options.error);
    }
    if (words.empty()) {
        return usageError("dump, get, set or clear is missing");
    }
    const std::string& verb = words[0];
    static const std::map<std::string, std::size_t> kOperands = {
        {"dump", 1}, {"get", 3}, {"set", 4}, {"clear", 2}};
    const auto expected = kOperands.find(verb);
    if (expected == kOperands.end()) {
        return usageError("unknown profile command '" + verb + "'");
    }
    if (words.size() - 1 != expected->second) {
        return usageError("profile " + verb + " takes " + std::to_string(expected->second) +
                          " arguments, not " + std::to_string(words.size() - 1));
    }
    // Sections, keys, values and the file's path are code page 1252 texts inside the program.
    std::vector<std::string> texts;
    for (std::size_t i = 1; i + 1 < words.size(); ++i) {
        const auto converted = ArgumentAsCp1252(words[i]);
        if (!converted) {
            err << "ravelgard-tool profile: '" << words[i]
                << "' holds a character outside code page 1252, which profile files cannot "
                   "hold\n";
            return 2;
        }
        texts.push_back(*converted);
    }
    const std::string file = platform::PathFromNative(words.back());
    if (verb == "dump") {
        return Dump(file, out, err);
    }
    if (verb == "get") {
        return Get(texts[0], texts[1], file, out, err);
    }
    if (verb == "set") {
        return Set(texts[0], texts[1], texts[2], file, err);
    }
    return Clear(texts[0], file, err);
}

}  // namespace rg::tool
