// The Windows profile (INI) API, ANSI variants, byte for byte as the firewall's reader expects.
//
// Files are held parsed in memory between calls (checked against the file's identity,
// modification time and size, and read again when they changed) and written back by
// FlushPrivateProfiles(), which the save step and the support tool call at their end and in
// their error handlers; EndProgram() flushes as well. While a file has changes not yet written,
// those changes win: the disk is not looked at again until the flush, which overwrites any
// edit made there in between (see ini_cache.h).
// A write that changes nothing leaves the file untouched. Lines a write does not touch stay
// byte for byte.
//
// Where the real API is unsafe we refuse: a section name, key or value holding CR, LF or NUL is
// not written (FALSE, ERROR_INVALID_PARAMETER, file unchanged), and neither is a key that would
// read back as another key or as a header ("k=x", "[evil]").
//
// Write calls check the file at once: a missing folder gives FALSE with ERROR_PATH_NOT_FOUND, a
// read-only file (owner-write bit clear, for root too) or a folder ERROR_ACCESS_DENIED; nothing
// is then changed. The check is made by the call that starts a file's pending changes; what
// changes on disk after it shows as a failed flush. A call with section, key and value all NULL
// flushes, as on Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/base/win_types.h"

namespace rg::platform {

// The largest profile file read, far above any real one (1,000 programs make about 1.5 MB); a
// larger one is read as unreadable, as a damaged file would be.
constexpr std::uint64_t kMaxProfileFileBytes = 16 << 20;

using OptText = std::optional<std::string_view>;  // std::nullopt stands for a NULL pointer

// Copies the value (or the default) into buffer, cut to size - 1 characters and a NUL;
// returns the number of characters copied. A NULL section or key lists section or key names.
DWORD GetPrivateProfileStringA(OptText section, OptText key, OptText defaultText, char* buffer,
                               DWORD size, std::string_view fileName);

// Sets (value), deletes (value NULL) a key, or deletes a section (key NULL).
BOOL WritePrivateProfileStringA(OptText section, OptText key, OptText value,
                                std::string_view fileName);

// Replaces every entry of the section by the list "k=v\0k=v\0\0"; an empty list ("\0\0" or
// "") empties every section of that name and keeps its header; NULL deletes the section.
BOOL WritePrivateProfileSectionA(std::string_view section, OptText entries,
                                 std::string_view fileName);

// The section's entries as "k=v\0k=v\0\0" (values as stored, comment lines left out); a list
// that does not fit is cut to size - 2 characters and two NULs, and size - 2 is returned.
DWORD GetPrivateProfileSectionA(std::string_view section, char* buffer, DWORD size,
                                std::string_view fileName);

// Writes every pending change to disk. Returns FALSE (with the first failure in GetLastError())
// when any file could not be written; the failed files' changes are dropped from memory.
BOOL FlushPrivateProfiles();

// Forgets every cached file without writing (tests use it to simulate a crash).
void DiscardPrivateProfileCacheForTesting();

}  // namespace rg::platform
