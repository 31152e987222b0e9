// Files and folders as the logic sees them on Windows: the executable's folder, the system
// directory, existence tests, deletion, one-level folder creation, file stamps, times and sizes,
// and whole-file reads, appends and atomic replacement. Declared here, implemented by the
// system's backend (platform/posix on Linux).
//
// A file whose owner-write bit is clear carries the Windows read-only attribute: writing,
// replacing or deleting it fails with ERROR_ACCESS_DENIED, also for root, because the Windows
// attribute binds administrators too.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/byte_source.h"
#include "platform/base/win_types.h"

namespace rg::platform {

// Paths inside the program are code page 1252 texts, as the Windows ANSI calls take them; the
// Linux file system names files in UTF-8. NativePath converts at the system call; every
// function of the platform layer that touches the file system takes code page 1252 paths.
std::string NativePath(std::string_view path);
// A name from the system (command line, environment) as a code page 1252 path; a character the
// code page lacks becomes "?", as the Windows ANSI calls report such names.
std::string PathFromNative(std::string_view nativePath);

// The separator between a folder and a name in this system's paths.
char PathSeparator();
// folder, one separator, name: plain concatenation, so that a root folder gives two adjacent
// separators, as the program's paths have always been built.
std::string JoinPath(std::string_view folder, std::string_view name);
// The part of the path before its last separator ("." without one, the root for a name in it).
std::string FolderOfPath(std::string_view path);

// The folder of the running executable, without a trailing separator except for the root. On
// Linux the launcher of an installed wizard names another one in $RAVELGARD_APP_DIR: the user's
// own installation folder, whose Profiles the user may write. Tests may pin it to a folder of
// their own.
std::string AppPath();
void OverrideAppPathForTesting(std::optional<std::string> folder);

// On Linux, the folder that stands for the Windows machine: the one set by SetMachinePrefix
// (the empty text unsets it), else $RAVELGARD_PREFIX, else $HOME/.ravelgard. On Windows the
// empty text: the machine is the real one, and setting a prefix changes nothing.
std::string MachinePrefix();
void SetMachinePrefix(std::string_view prefix);

// Writes the system directory and a terminating NUL into buffer when it fits; returns the
// length written without the NUL, or the size needed (NUL included) when the buffer is short.
// On Linux the system directory is the machine prefix's system32 folder. Tests may pin it to a
// folder of their own (on Windows the only way to keep a test away from the real one).
UINT GetSystemDirectoryA(char* buffer, UINT size);
void OverrideSystemDirectoryForTesting(std::optional<std::string> folder);

bool PathFileExistsA(std::string_view path);
bool IsDirectory(std::string_view path);
bool IsReadOnlyFile(std::string_view path);

// Who may read a file or folder this program creates: everyone, as usual, or its owner alone
// (the password file and the machine prefix; on Linux modes 0600 and 0700; Windows keeps the
// rights the folder passes on). Existing files keep their rights.
enum class Privacy { Shared, OwnerOnly };

// Both return TRUE on success, else FALSE with the reason in GetLastError().
BOOL DeleteFileA(std::string_view path);
// One level only, like the Windows call.
BOOL CreateDirectoryA(std::string_view path, Privacy privacy = Privacy::Shared);

DWORD GetLastError();
void SetLastError(DWORD code);

// What identifies one version of a file on disk: a held copy of the file is current while its
// stamp is; a change of any field means the file changed.
struct FileStamp {
    bool exists = false;
    bool isFolder = false;
    bool readOnly = false;
    std::uint64_t volume = 0;
    std::uint64_t fileId = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanos = 0;
    std::int64_t changedNanos = 0;

    bool operator==(const FileStamp&) const = default;
};
// ERROR_SUCCESS with the stamp (exists false when the file or a folder above it is missing),
// or the Windows error that asking gave.
DWORD GetFileStamp(std::string_view path, FileStamp& stamp);

// A file's three times (seconds since 1970-01-01 UTC) and its size, read through a handle opened
// for reading, as OpenFile, GetFileTime and GetFileSize give them. `created` is the last write
// where the file system keeps no creation time.
struct FileTimes {
    std::int64_t written = 0;
    std::int64_t accessed = 0;
    std::int64_t created = 0;
    std::uint64_t size = 0;
};
enum class FileTimesResult {
    NotOpened,  // missing, a folder or device, or no read access
    NoTimes,    // opened, but the times could not be read
    Read,
};
FileTimesResult GetFileTimesAndSize(std::string_view path, FileTimes& times);

// A regular file opened for reading by offset; nullptr for a missing file, a folder, a device or
// a file that cannot be opened.
std::unique_ptr<ByteSource> OpenFileByteSource(std::string_view path);

// Whole-file operations; each returns ERROR_SUCCESS or the Windows error code.
// Reads a regular file of at most maxBytes bytes, never blocking: a folder gives
// ERROR_ACCESS_DENIED, a device, pipe or socket ERROR_BAD_FILE_TYPE, a larger file
// ERROR_FILE_TOO_LARGE; `contents` is then empty.
DWORD ReadWholeFile(std::string_view path, std::string& contents, std::uint64_t maxBytes);
// Writes a temporary file in the same folder, flushes it, and renames it over `path`, keeping
// the old file's permissions, owner and group. A crash leaves the old file or the new one,
// never a torn file. A symbolic link is followed and its target replaced in the target's
// folder. Refused: a folder or read-only file (ERROR_ACCESS_DENIED), a device, pipe or socket
// (ERROR_BAD_FILE_TYPE), a file with several hard links (ERROR_NOT_SUPPORTED), since replacing
// one name would split it from the others.
DWORD ReplaceFileAtomically(std::string_view path, std::string_view contents,
                            Privacy privacy = Privacy::Shared);
// The first half of ReplaceFileAtomically, for a caller that must do something before the
// replacement takes effect: the new content, complete and on disk, under `pendingPath` in the
// same folder as `path`, with the rights and owner the replacement of `path` would get. The
// same refusals apply. MoveFileReplacing(pendingPath, path) is the second half.
DWORD WriteReplacementBeside(std::string_view path, std::string_view pendingPath,
                             std::string_view contents, Privacy privacy = Privacy::Shared);
// Renames `from` over `to` in the same folder, durably (MoveFileExA with
// MOVEFILE_REPLACE_EXISTING and MOVEFILE_WRITE_THROUGH).
DWORD MoveFileReplacing(std::string_view from, std::string_view to);
// Appends to the file, creating it when missing (the error log's only way of writing).
DWORD AppendToFile(std::string_view path, std::string_view bytes);

// The right to read, change and write back one file, exclusive among every process that asks
// for it (a lock file beside the file, which is never replaced). Released when destroyed.
class UpdateLock {
  public:
    virtual ~UpdateLock() = default;
};
// Waits until no other process holds the file's lock; nullptr when the lock file cannot be
// made (the file's folder is missing or read-only: writing the file fails then too).
std::unique_ptr<UpdateLock> LockForUpdate(std::string_view path);

}  // namespace rg::platform
