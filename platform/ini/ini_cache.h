// The profile files held in memory between calls of the profile API, and their write-back.
//
// A held file without pending changes is checked against the file on disk at every call: its
// identity (device and inode), modification and change times and size; when any differs, the
// file is read again. A held file with pending changes is used without looking at the disk
// until the next flush; its write checks (folder present, file not read-only) were made by the
// call that started the pending changes, and what changes on disk after that shows as a failed
// flush. Every write call is kept as an edit. The flush takes the file's update lock (so that
// no other writer, of this program or another process, writes between its reading and its
// writing), and when the file changed on disk since it was read, reads it again and applies
// the edits to what is there now: no writer drops another one's committed change. Then it
// replaces the file atomically.
//
// Files larger than kMaxProfileFileBytes (profile_api.h), and devices, pipes and sockets, are not
// read: they count as unreadable (the reason goes to standard error).
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/base/win_types.h"
#include "platform/ini/ini_document.h"
#include "platform/ini/profile_api.h"

namespace rg::platform {

// One write call, applied to a document; returns whether it changed it. It works on code page
// texts and converts them for the document it is given, whose encoding may differ from the
// one the call first saw.
using ProfileEdit = std::function<bool(ProfileDocument&)>;

struct HeldProfile {
    ProfileDocument document;
    std::vector<ProfileEdit> edits;  // every write call since the file was last read or written
    bool pending = false;            // changed in memory, not yet written

    // Applies the edit to the document and keeps it for the flush.
    void Apply(ProfileEdit edit);
};

// The file's current document, for reading. A missing or unreadable file reads as empty; the
// reason (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ...) goes to `error`, else 0.
HeldProfile& HoldProfileForReading(std::string_view path, DWORD& error);

// The file's current document, for writing, or nullptr with the Windows error when the file
// cannot be written: ERROR_PATH_NOT_FOUND when its folder is missing, ERROR_ACCESS_DENIED when
// it is read-only (owner-write bit clear, for root too) or a folder.
HeldProfile* HoldProfileForWriting(std::string_view path, DWORD& error);

// Writes every file with pending changes, each under its update lock, applying its edits to
// the file's current content when another writer changed it meanwhile. Returns ERROR_SUCCESS or
// the first failure; a file that failed loses its pending changes (the file on disk stays as it
// was).
DWORD FlushProfileCache();

void DiscardProfileCache();

}  // namespace rg::platform
