// The registry files of the machine prefix, one per root key (HKEY_LOCAL_MACHINE.reg, ...),
// each kept parsed in memory and read again whenever the file on disk changed (its device,
// inode, size or times differ), so that an edit made outside the program is seen. A file that
// cannot be read or parsed leaves the hive unusable until it is repaired: it is never written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/os/file_system.h"
#include "platform/os/registry.h"
#include "platform/registry/registry_model.h"

namespace rg::platform {

// Far above a real machine's registry (an export of HKEY_LOCAL_MACHINE with hundreds of
// thousands of keys is a few hundred megabytes); a larger file counts as damaged.
constexpr std::uint64_t kMaxRegistryFileBytes = std::uint64_t{1} << 30;

// "HKEY_LOCAL_MACHINE" and so on; empty for a handle that is not a predefined root key.
std::string_view RootKeyName(HKEY root);
std::string RegistryFilePath(HKEY root);

class RegistryHive {
  public:
    // Brings the picture up to date with `path`. Returns ERROR_SUCCESS (a missing file is an
    // empty hive), ERROR_BADDB for a file that cannot be parsed, or the error reading gave.
    DWORD Refresh(const std::string& path, std::string_view rootName);

    const RegistryKey& Root() const { return root_; }

    // Writes `updated` to the file atomically; only once it is on disk does it become the
    // picture, so a refused write (read-only file, full disk) changes nothing.
    DWORD Save(RegistryKey updated);

  private:
    std::string path_;
    std::string rootName_;
    std::optional<FileStamp> stamp_;
    DWORD status_ = ERROR_SUCCESS;
    RegistryKey root_;
};

// The up-to-date hive of a predefined root key, with the result of bringing it up to date in
// `status`; null (status ERROR_BADKEY) for any other handle.
RegistryHive* HiveFor(HKEY root, DWORD& status);

}  // namespace rg::platform
