// Files and folders as the logic sees them on Windows: the executable's folder, the system
// directory inside the machine prefix, existence tests, deletion, one-level folder creation,
// and whole-file reads and atomic replacement.
//
// A file whose owner-write bit is clear carries the Windows read-only attribute: writing,
// replacing or deleting it fails with ERROR_ACCESS_DENIED, also for root, because the Windows
// attribute binds administrators too.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace rg::platform {

// Paths inside the program are code page 1252 texts, as the Windows ANSI calls take them; the
// Linux file system names files in UTF-8. NativePath converts at the system call; every
// function of the platform layer that touches the file system takes code page 1252 paths.
std::string NativePath(std::string_view path);
// A UTF-8 name from the system as a code page 1252 path; a character the code page lacks becomes
// "?", as the Windows ANSI calls report such names.
std::string PathFromNative(std::string_view nativePath);

// The folder of the running executable (from /proc/self/exe), without a trailing separator
// except for "/". Tests may pin it to a folder of their own.
std::string AppPath();
void OverrideAppPathForTesting(std::optional<std::string> folder);

// The folder that stands for the Windows machine: $RAVELGARD_PREFIX, else $HOME/.ravelgard.
std::string MachinePrefix();

// Writes "<prefix>/system32" and a terminating NUL into buffer when it fits; returns the
// length written without the NUL, or the size needed (NUL included) when the buffer is short.
UINT GetSystemDirectoryA(char* buffer, UINT size);

bool PathFileExistsA(std::string_view path);
bool IsDirectory(std::string_view path);
bool IsReadOnlyFile(std::string_view path);

// Both return TRUE on success, else FALSE with the reason in GetLastError().
BOOL DeleteFileA(std::string_view path);
BOOL CreateDirectoryA(std::string_view path);  // one level only, like the Windows call

DWORD GetLastError();
void SetLastError(DWORD code);

// Whole-file operations; each returns ERROR_SUCCESS or the Windows error code.
DWORD ReadWholeFile(std::string_view path, std::string& contents);
// Writes a temporary file in the same folder, flushes it, and renames it over `path`, keeping
// the old file's permissions. A crash leaves the old file or the new one, never a torn file.
DWORD ReplaceFileAtomically(std::string_view path, std::string_view contents);
// Appends to the file, creating it when missing (the error log's only way of writing).
DWORD AppendToFile(std::string_view path, std::string_view bytes);

// Maps an errno value to the Windows error code that the same failure gives there.
DWORD WindowsErrorFromErrno(int errnoValue);

}  // namespace rg::platform
