#include "startup/password_store.h"

#include <cstdio>
#include <optional>

#include "platform/os/file_system.h"
#include "platform/os/registry.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "services/run_error.h"
#include "startup/fatal.h"
#include "startup/globals.h"

namespace rg {
namespace {

constexpr std::size_t kFrameLength = kPasswordFilePrefix.size() + kPasswordFileTrailer.size();
constexpr std::size_t kMaxCipherText = 32767;

std::string FramedText(std::string_view password) {
    std::string framed(kPasswordFilePrefix);
    framed += password;
    framed += kPasswordFileTrailer;
    return framed;
}

// The line runs up to the first CR; a file without one is all line.
std::string FirstLine(const std::string& contents) {
    return contents.substr(0, contents.find('\r'));
}

// The password between the frame: the L - 99 characters from position 25 (the prefix's closing
// space and the password) are deciphered as if they began at position 1, and the space is then
// dropped. A line shorter than the frame does not hold one.
bool PasswordFromLine(const std::string& line, std::string& password) {
    if (line.size() < kFrameLength || line.size() - (kFrameLength - 1) > kMaxCipherText) {
        return false;
    }
    const std::string middle =
        line.substr(kPasswordFilePrefix.size() - 1, line.size() - (kFrameLength - 1));
    password = DecryptText(middle, kPasswordKey).substr(1);
    return true;
}

bool HasAny(std::string_view text, std::string_view bytes) {
    return text.find_first_of(bytes) != std::string_view::npos;
}

// The password a password file holds, or nothing when it cannot be read or holds no frame.
std::optional<std::string> PasswordInFile(const std::string& path) {
    std::string contents;
    std::string password;
    const platform::DWORD read = platform::ReadWholeFile(path, contents, kMaxPasswordFileBytes);
    if (read == platform::ERROR_FILE_TOO_LARGE || read == platform::ERROR_BAD_FILE_TYPE) {
        std::fprintf(stderr, "%s: %s, read as a damaged password file\n", path.c_str(),
                     read == platform::ERROR_FILE_TOO_LARGE ? "too large" : "not a regular file");
    }
    if (read != platform::ERROR_SUCCESS || !PasswordFromLine(FirstLine(contents), password)) {
        return std::nullopt;
    }
    return password;
}

// A save cut short after the registry write left the new file beside the old one: when it
// holds exactly the registry's password, the rename that was to come is made now.
std::optional<std::string> FinishCutShortSave(const std::string& fromRegistry) {
    const std::string pending = PendingPasswordFilePath();
    const auto password = PasswordInFile(pending);
    if (password && *password == fromRegistry &&
        platform::MoveFileReplacing(pending, PasswordFilePath()) == platform::ERROR_SUCCESS) {
        return password;
    }
    return std::nullopt;
}

}  // namespace

std::string PasswordFilePath() {
    if (SystemDirPath.empty()) {
        return {};
    }
    return SystemDirPath + std::string(kPasswordFileName);
}

std::string PendingPasswordFilePath() {
    const std::string path = PasswordFilePath();
    return path.empty() ? path : path + std::string(kPendingPasswordSuffix);
}

std::string PasswordFileLine(std::string_view password) {
    return EncryptText(FramedText(password), kPasswordKey);
}

void SavePassword(std::string_view password) {
    const std::string path = PasswordFilePath();
    const std::string pending = PendingPasswordFilePath();
    if (path.empty()) {
        throw RunError::FromWindowsError(platform::ERROR_PATH_NOT_FOUND);
    }
    const std::string contents = PasswordFileLine(password) + "\r\n";
    if (const platform::DWORD written =
            platform::WriteReplacementBeside(path, pending, contents, platform::Privacy::OwnerOnly);
        written != platform::ERROR_SUCCESS) {
        throw RunError::FromWindowsError(written);
    }
    const platform::LONG set =
        TryRegWriteString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, kPasswordValueName,
                          EncryptText(password, kPasswordKey));
    if (set != static_cast<platform::LONG>(platform::ERROR_SUCCESS)) {
        platform::DeleteFileA(pending);  // the old password stays in force in both copies
        throw RunError::RegistryNotWritten(static_cast<platform::DWORD>(set));
    }
    if (const platform::DWORD moved = platform::MoveFileReplacing(pending, path);
        moved != platform::ERROR_SUCCESS) {
        throw RunError::FromWindowsError(moved);  // the next start finishes the rename
    }
}

std::string LoadStoredPassword() {
    const std::string value =
        RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, kPasswordValueName, "");
    if (value.size() > kMaxCipherText) {
        FailStartup(StoresCorruptedText(), "the registry value RVPSD is too long to be a password");
    }
    const std::string fromRegistry = DecryptText(value, kPasswordKey);

    const std::string path = PasswordFilePath();
    if (path.empty() || !platform::PathFileExistsA(path)) {
        FailStartup(kInstallationCorruptedText, "the password file " + path + " is missing");
    }
    // A file that exists but cannot be read (a folder, no rights) cannot vouch for the
    // registry copy either: it counts as a corrupted store.
    std::optional<std::string> fromFile = PasswordInFile(path);
    if (!fromFile || *fromFile != fromRegistry) {
        fromFile = FinishCutShortSave(fromRegistry);
    }
    // Whatever pending file is left matched nothing: no save of ours can still need it.
    if (platform::PathFileExistsA(PendingPasswordFilePath())) {
        platform::DeleteFileA(PendingPasswordFilePath());
    }
    if (!fromFile) {
        FailStartup(StoresCorruptedText(),
                    "the password file " + path +
                        " does not hold the password of the registry value RVPSD (or none)");
    }
    return *fromFile;
}

bool CanStorePassword(std::string_view password) {
    if (password.size() + kFrameLength > kMaxCipherText) {
        return false;
    }
    const std::string registryForm = EncryptText(password, kPasswordKey);
    if (!registryForm.empty() && (registryForm.front() == ' ' || registryForm.back() == ' ')) {
        return false;
    }
    if (HasAny(registryForm, std::string_view("\0", 1))) {
        return false;
    }
    return !HasAny(PasswordFileLine(password), std::string_view("\r\n\0", 3));
}

}  // namespace rg
