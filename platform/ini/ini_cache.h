// The profile files held in memory between calls of the profile API, and their write-back.
//
// A held file without pending changes is checked against the file on disk at every call: its
// identity (device and inode), modification and change times and size; when any differs, the
// file is read again. A held file with pending changes is used without looking at the disk:
// this process is the writer of record until the next flush, which replaces the file with the
// held copy (an edit made on disk in between is overwritten). Its write checks (folder present,
// file not read-only) were made by the call that started the pending changes; what changes on
// disk after that shows as a failed flush. Pending changes go to disk only in
// FlushProfileCache, each file replaced atomically.
#pragma once

#include <string_view>

#include "platform/base/win_types.h"
#include "platform/ini/ini_document.h"

namespace rg::platform {

struct HeldProfile {
    ProfileDocument document;
    bool pending = false;  // changed in memory, not yet written
};

// The file's current document, for reading. A missing or unreadable file reads as empty; the
// reason (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ...) goes to `error`, else 0.
HeldProfile& HoldProfileForReading(std::string_view path, DWORD& error);

// The file's current document, for writing, or nullptr with the Windows error when the file
// cannot be written: ERROR_PATH_NOT_FOUND when its folder is missing, ERROR_ACCESS_DENIED when
// it is read-only (owner-write bit clear, for root too) or a folder.
HeldProfile* HoldProfileForWriting(std::string_view path, DWORD& error);

// Writes every file with pending changes. Returns ERROR_SUCCESS or the first failure; a file
// that failed loses its pending changes (the file on disk stays as it was).
DWORD FlushProfileCache();

void DiscardProfileCache();

}  // namespace rg::platform
