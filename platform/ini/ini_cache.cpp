#include "platform/ini/ini_cache.h"

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "platform/os/file_system.h"

namespace rg::platform {
namespace {

struct Probe {
    FileStamp stamp;
    DWORD missingError = ERROR_SUCCESS;  // why the file is absent, when it is
};

struct CacheEntry {
    HeldProfile held;
    FileStamp stamp;
    DWORD readError = ERROR_SUCCESS;  // the file exists but could not be read
};

// Keyed by the path as the caller spells it; the wizard names each file by one fixed path.
std::map<std::string, CacheEntry, std::less<>>& Cache() {
    static std::map<std::string, CacheEntry, std::less<>> cache;
    return cache;
}

Probe ProbeFile(const std::string& path) {
    Probe probe;
    const DWORD error = GetFileStamp(path, probe.stamp);
    if (probe.stamp.exists) {
        return probe;
    }
    if (path.empty() || !IsDirectory(FolderOfPath(path))) {
        probe.missingError = ERROR_PATH_NOT_FOUND;
    } else {
        probe.missingError = error != ERROR_SUCCESS ? error : ERROR_FILE_NOT_FOUND;
    }
    return probe;
}

// The file's bytes; a file too large or of the wrong kind is said so on standard error, since
// the callers that read through the profile API treat any unreadable file as missing.
DWORD ReadProfileBytes(const std::string& path, std::string& bytes) {
    const DWORD error = ReadWholeFile(path, bytes, kMaxProfileFileBytes);
    if (error == ERROR_FILE_TOO_LARGE) {
        std::fprintf(stderr, "%s: larger than %llu bytes, not read as a profile file\n",
                     path.c_str(), static_cast<unsigned long long>(kMaxProfileFileBytes));
    } else if (error == ERROR_BAD_FILE_TYPE) {
        std::fprintf(stderr, "%s: not a regular file, not read as a profile file\n", path.c_str());
    }
    return error;
}

// Reads the file into the entry. A file that exists but cannot be read is held empty and
// remembered as unreadable, so that no write replaces what it holds.
void Load(CacheEntry& entry, const std::string& path, const Probe& probe) {
    std::string bytes;
    entry.readError = ERROR_SUCCESS;
    if (probe.stamp.exists && !probe.stamp.isFolder) {
        entry.readError = ReadProfileBytes(path, bytes);
    }
    entry.held.document = ProfileDocument::Parse(bytes);
    entry.held.edits.clear();
    entry.stamp = probe.stamp;
}

// Under the file's update lock: when another writer changed the file since it was read, the
// held edits are applied to what is on disk now.
DWORD CatchUpWithDisk(CacheEntry& entry, const std::string& path) {
    FileStamp now;
    if (const DWORD error = GetFileStamp(path, now); error != ERROR_SUCCESS) {
        return error;
    }
    if (now == entry.stamp) {
        return ERROR_SUCCESS;
    }
    std::string bytes;
    if (now.exists) {
        if (const DWORD error = ReadProfileBytes(path, bytes); error != ERROR_SUCCESS) {
            return error;
        }
    }
    ProfileDocument current = ProfileDocument::Parse(bytes);
    for (const ProfileEdit& edit : entry.held.edits) {
        edit(current);
    }
    entry.held.document = std::move(current);
    entry.stamp = now;
    return ERROR_SUCCESS;
}

DWORD WriteBack(CacheEntry& entry, const std::string& path) {
    const std::unique_ptr<UpdateLock> lock = LockForUpdate(path);
    if (const DWORD error = CatchUpWithDisk(entry, path); error != ERROR_SUCCESS) {
        return error;
    }
    if (const DWORD error = ReplaceFileAtomically(path, entry.held.document.Serialize());
        error != ERROR_SUCCESS) {
        return error;
    }
    entry.held.pending = false;
    entry.held.edits.clear();
    entry.stamp = ProbeFile(path).stamp;
    return ERROR_SUCCESS;
}

// The held copy, read again unless it is current or holds pending changes.
CacheEntry& Refresh(std::string_view path, const Probe& probe) {
    auto& cache = Cache();
    auto found = cache.find(path);
    if (found == cache.end()) {
        found = cache.emplace(std::string(path), CacheEntry{}).first;
        Load(found->second, found->first, probe);
        return found->second;
    }
    CacheEntry& entry = found->second;
    if (!entry.held.pending && !(entry.stamp == probe.stamp)) {
        Load(entry, found->first, probe);
    }
    return entry;
}

// A copy with pending changes is used as it is, without looking at the disk: its changes win
// over the disk anyway, and its file passed the write checks when the first change was made.
// This keeps a long run of writes free of system calls; the flush reports what changed since.
HeldProfile* PendingCopy(std::string_view path) {
    const auto found = Cache().find(path);
    return found != Cache().end() && found->second.held.pending ? &found->second.held : nullptr;
}

}  // namespace

void HeldProfile::Apply(ProfileEdit edit) {
    pending = edit(document) || pending;
    edits.push_back(std::move(edit));
}

HeldProfile& HoldProfileForReading(std::string_view path, DWORD& error) {
    error = ERROR_SUCCESS;
    if (HeldProfile* pending = PendingCopy(path)) {
        return *pending;
    }
    const Probe probe = ProbeFile(std::string(path));
    error = probe.stamp.isFolder ? ERROR_ACCESS_DENIED : probe.missingError;
    return Refresh(path, probe).held;
}

HeldProfile* HoldProfileForWriting(std::string_view path, DWORD& error) {
    error = ERROR_SUCCESS;
    if (HeldProfile* pending = PendingCopy(path)) {
        return pending;
    }
    const Probe probe = ProbeFile(std::string(path));
    if (probe.missingError == ERROR_PATH_NOT_FOUND) {
        error = ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    if (probe.stamp.isFolder || (probe.stamp.exists && probe.stamp.readOnly)) {
        error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    CacheEntry& entry = Refresh(path, probe);
    error = entry.readError;
    return error == ERROR_SUCCESS ? &entry.held : nullptr;
}

DWORD FlushProfileCache() {
    DWORD firstFailure = ERROR_SUCCESS;
    auto& cache = Cache();
    for (auto it = cache.begin(); it != cache.end();) {
        CacheEntry& entry = it->second;
        if (!entry.held.pending) {
            ++it;
            continue;
        }
        if (const DWORD result = WriteBack(entry, it->first); result != ERROR_SUCCESS) {
            if (firstFailure == ERROR_SUCCESS) {
                firstFailure = result;
            }
            it = cache.erase(it);  // the next call reads what is really on disk
            continue;
        }
        ++it;
    }
    return firstFailure;
}

void DiscardProfileCache() {
    Cache().clear();
}

}  // namespace rg::platform
