#include "startup/password_store.h"

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

}  // namespace

std::string PasswordFilePath() {
    if (SystemDirPath.empty()) {
        return {};
    }
    return SystemDirPath + std::string(kPasswordFileName);
}

std::string PasswordFileLine(std::string_view password) {
    return EncryptText(FramedText(password), kPasswordKey);
}

void SavePassword(std::string_view password) {
    RegWriteString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, kPasswordValueName,
                   EncryptText(password, kPasswordKey));
    const std::string contents = PasswordFileLine(password) + "\r\n";
    const platform::DWORD result = platform::ReplaceFileAtomically(PasswordFilePath(), contents);
    if (result != platform::ERROR_SUCCESS) {
        throw RunError::FromWindowsError(result);
    }
}

std::string LoadStoredPassword() {
    const std::string value =
        RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, kPasswordValueName, "");
    if (value.size() > kMaxCipherText) {
        FailStartup(StoresCorruptedText());
    }
    const std::string fromRegistry = DecryptText(value, kPasswordKey);

    const std::string path = PasswordFilePath();
    if (path.empty() || !platform::PathFileExistsA(path)) {
        FailStartup(kInstallationCorruptedText);
    }
    // A file that exists but cannot be read (a folder, no rights) cannot vouch for the
    // registry copy either: it counts as a corrupted store.
    std::string contents;
    std::string fromFile;
    if (platform::ReadWholeFile(path, contents) != platform::ERROR_SUCCESS ||
        !PasswordFromLine(FirstLine(contents), fromFile) || fromRegistry != fromFile) {
        FailStartup(StoresCorruptedText());
    }
    return fromFile;
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
