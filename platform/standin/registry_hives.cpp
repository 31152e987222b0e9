#include "platform/standin/registry_hives.h"

#include <array>
#include <cstdio>
#include <utility>

#include "platform/os/file_system.h"
#include "platform/registry/registry_parser.h"
#include "platform/registry/registry_writer.h"

namespace rg::platform {
namespace {

constexpr std::array<std::string_view, 4> kRootNames = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                        "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

}  // namespace

std::string_view RootKeyName(HKEY root) {
    if (root < HKEY_CLASSES_ROOT || root > HKEY_USERS) {
        return {};
    }
    return kRootNames[root - HKEY_CLASSES_ROOT];
}

std::string RegistryFilePath(HKEY root) {
    return JoinPath(MachinePrefix(), std::string(RootKeyName(root)) + ".reg");
}

DWORD RegistryHive::Refresh(const std::string& path, std::string_view rootName) {
    FileStamp stamp;
    if (const DWORD error = GetFileStamp(path, stamp); error != ERROR_SUCCESS) {
        stamp_.reset();
        root_ = RegistryKey{};
        status_ = error;
        return status_;
    }
    if (path == path_ && stamp_ == stamp) {
        return status_;
    }
    path_ = path;
    rootName_ = std::string(rootName);
    stamp_ = stamp;
    root_ = RegistryKey{};
    status_ = ERROR_SUCCESS;
    if (!stamp.exists) {
        return status_;
    }
    std::string text;
    if (const DWORD error = ReadWholeFile(path, text, kMaxRegistryFileBytes);
        error != ERROR_SUCCESS) {
        if (error == ERROR_FILE_TOO_LARGE || error == ERROR_BAD_FILE_TYPE) {
            std::fprintf(stderr, "%s: %s, read as a damaged registry file\n", path.c_str(),
                         error == ERROR_FILE_TOO_LARGE ? "too large" : "not a regular file");
        }
        // Not remembered as read: the next call tries again.
        stamp_.reset();
        status_ = error;
        return status_;
    }
    std::optional<RegistryKey> parsed = ParseRegistryFile(text, rootName_);
    if (!parsed) {
        status_ = ERROR_BADDB;
        return status_;
    }
    root_ = std::move(*parsed);
    return status_;
}

DWORD RegistryHive::Save(RegistryKey updated) {
    if (status_ != ERROR_SUCCESS) {
        return status_;
    }
    const DWORD written = ReplaceFileAtomically(path_, SerializeRegistryFile(updated, rootName_));
    if (written != ERROR_SUCCESS) {
        return written;
    }
    root_ = std::move(updated);
    FileStamp stamp;
    if (GetFileStamp(path_, stamp) == ERROR_SUCCESS) {
        stamp_ = stamp;
    } else {
        stamp_.reset();
    }
    return ERROR_SUCCESS;
}

RegistryHive* HiveFor(HKEY root, DWORD& status) {
    static std::array<RegistryHive, kRootNames.size()> hives;
    const std::string_view name = RootKeyName(root);
    if (name.empty()) {
        status = ERROR_BADKEY;
        return nullptr;
    }
    RegistryHive& hive = hives[root - HKEY_CLASSES_ROOT];
    status = hive.Refresh(RegistryFilePath(root), name);
    return &hive;
}

}  // namespace rg::platform
