#include "platform/registry_hives.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <utility>

#include "platform/file_system.h"
#include "platform/registry_parser.h"
#include "platform/registry_writer.h"

namespace rg::platform {
namespace {

constexpr std::array<std::string_view, 4> kRootNames = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                        "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

// A missing file (or folder) is a stamp of its own; other failures give their error code.
DWORD StampOf(const std::string& path, FileStamp& stamp) {
    stamp = FileStamp{};
    struct stat info {};
    if (::stat(NativePath(path).c_str(), &info) != 0) {
        return (errno == ENOENT || errno == ENOTDIR) ? ERROR_SUCCESS : WindowsErrorFromErrno(errno);
    }
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedSeconds = info.st_mtim.tv_sec;
    stamp.modifiedNanos = info.st_mtim.tv_nsec;
    stamp.changedSeconds = info.st_ctim.tv_sec;
    stamp.changedNanos = info.st_ctim.tv_nsec;
    return ERROR_SUCCESS;
}

}  // namespace

std::string_view RootKeyName(HKEY root) {
    if (root < HKEY_CLASSES_ROOT || root > HKEY_USERS) {
        return {};
    }
    return kRootNames[root - HKEY_CLASSES_ROOT];
}

std::string RegistryFilePath(HKEY root) {
    return MachinePrefix() + "/" + std::string(RootKeyName(root)) + ".reg";
}

DWORD RegistryHive::Refresh(const std::string& path, std::string_view rootName) {
    FileStamp stamp;
    if (const DWORD error = StampOf(path, stamp); error != ERROR_SUCCESS) {
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
    if (const DWORD error = ReadWholeFile(path, text); error != ERROR_SUCCESS) {
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
    if (StampOf(path_, stamp) == ERROR_SUCCESS) {
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
