#include "platform/os/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/api_buffer.h"
#include "platform/base/codepage.h"
#include "platform/posix/file_byte_source.h"

namespace rg::platform {
namespace {

thread_local DWORD lastError = ERROR_SUCCESS;
std::optional<std::string> appPathOverride;
std::optional<std::string> machinePrefixOverride;
std::optional<std::string> systemDirectoryOverride;

std::string ToPath(std::string_view path) {
    return NativePath(path);
}

// The checks below take paths already converted by ToPath.
bool NativeIsDirectory(const std::string& native) {
    struct stat info {};
    return ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool NativeIsReadOnlyFile(const std::string& native) {
    struct stat info {};
    return ::stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & S_IWUSR) == 0;
}

// Writes all bytes, retrying short writes and interrupted calls.
bool WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string TemporaryNameBeside(const std::string& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    const std::string folder = FolderOfPath(path);
    const std::string base = path.substr(path.find_last_of('/') + 1);
    return folder + "/." + base + ".tmp" + std::to_string(::getpid()) + "_" +
           std::to_string(generator() % 1000000000ULL);
}

// A writer killed between creating its temporary file and renaming it leaves the temporary file
// behind. Before the next replacement of the same file, remove those of processes that are gone.
void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOfPath(path);
    const std::string stem = "." + path.substr(path.find_last_of('/') + 1) + ".tmp";
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name.rfind(stem, 0) != 0) {
            continue;
        }
        const std::string rest = name.substr(stem.size());
        const auto underscore = rest.find('_');
        if (underscore == 0 || underscore == std::string::npos ||
            rest.find_first_not_of("0123456789_") != std::string::npos) {
            continue;
        }
        const long pid = std::strtol(rest.substr(0, underscore).c_str(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::string stale = folder;
            stale.append(1, '/').append(name);
            ::unlink(stale.c_str());
        }
    }
    ::closedir(entries);
}

// A symbolic link names the file to work on: its target, followed through further links (up to
// the system's limit), relative links read from the link's folder. A path that is no link, or
// a link whose target cannot be read, stays as it is.
std::string FollowLinks(std::string path) {
    constexpr int kMaxLinks = 40;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string target(4096, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return path;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : FolderOfPath(path) + "/" + target;
    }
    return path;
}

// Why an existing file may not be replaced, or ERROR_SUCCESS.
DWORD RefusalToReplace(const struct stat& file) {
    if (S_ISDIR(file.st_mode) || (S_ISREG(file.st_mode) && (file.st_mode & S_IWUSR) == 0)) {
        return ERROR_ACCESS_DENIED;
    }
    if (!S_ISREG(file.st_mode)) {
        return ERROR_BAD_FILE_TYPE;  // a device, FIFO or socket is no file to replace
    }
    if (file.st_nlink > 1) {
        return ERROR_NOT_SUPPORTED;  // a new file under one name would split the hard links
    }
    return ERROR_SUCCESS;
}

// Makes a rename inside the folder durable.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Maps an errno value to the Windows error code that the same failure gives there.
DWORD WindowsErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case ENOSPC:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case EBUSY:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        case ENAMETOOLONG:
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        default:
            return ERROR_WRITE_FAULT;
    }
}

DWORD Fail(int errnoValue) {
    lastError = WindowsErrorFromErrno(errnoValue);
    return lastError;
}

}  // namespace

namespace {

// Paths the system gave the program whose names the code page cannot spell (a home folder in
// Cyrillic, say): their code page form and their native form. A path built on one (AppPath and
// "/Lang/English.INI") goes back to the system in its native form, so that the program works
// wherever it is installed, whatever the folders are called.
std::vector<std::pair<std::string, std::string>>& RememberedPaths() {
    static std::vector<std::pair<std::string, std::string>> remembered;
    return remembered;
}

void Remember(const std::string& path, std::string_view nativePath) {
    for (auto& [known, native] : RememberedPaths()) {
        if (known == path) {
            native = std::string(nativePath);
            return;
        }
    }
    RememberedPaths().emplace_back(path, nativePath);
}

bool StartsWithFolder(std::string_view path, std::string_view folder) {
    return path.substr(0, folder.size()) == folder &&
           (path.size() == folder.size() || folder.back() == '/' || path[folder.size()] == '/');
}

}  // namespace

std::string NativePath(std::string_view path) {
    const std::pair<std::string, std::string>* best = nullptr;
    for (const auto& entry : RememberedPaths()) {
        if (StartsWithFolder(path, entry.first) &&
            (best == nullptr || entry.first.size() > best->first.size())) {
            best = &entry;
        }
    }
    if (best == nullptr) {
        return Cp1252ToUtf8(path);
    }
    return best->second + Cp1252ToUtf8(path.substr(best->first.size()));
}

std::string PathFromNative(std::string_view nativePath) {
    std::string path;
    if (Utf8ToCp1252Exact(nativePath, path)) {
        return path;
    }
    // One "?" for each character the code page lacks, as the Windows ANSI calls show such a
    // name; the native form is kept for the way back.
    path = Utf8ToCp1252Lossy(nativePath);
    Remember(path, nativePath);
    return path;
}

char PathSeparator() {
    return '/';
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += PathSeparator();
    path += name;
    return path;
}

std::string FolderOfPath(std::string_view path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return slash == 0 ? "/" : std::string(path.substr(0, slash));
}

std::string AppPath() {
    if (appPathOverride) {
        return *appPathOverride;
    }
    // The launcher of an installed wizard names the user's own installation folder.
    if (const char* folder = std::getenv("RAVELGARD_APP_DIR"); folder != nullptr && *folder) {
        return PathFromNative(folder);
    }
    std::string buffer(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) {
        return ".";
    }
    buffer.resize(static_cast<std::size_t>(length));
    return PathFromNative(FolderOfPath(buffer));
}

void OverrideAppPathForTesting(std::optional<std::string> folder) {
    appPathOverride = std::move(folder);
}

std::string MachinePrefix() {
    if (machinePrefixOverride) {
        return *machinePrefixOverride;
    }
    if (const char* prefix = std::getenv("RAVELGARD_PREFIX"); prefix && *prefix) {
        return PathFromNative(prefix);
    }
    const char* home = std::getenv("HOME");
    return PathFromNative(std::string(home && *home ? home : "/root") + "/.ravelgard");
}

void SetMachinePrefix(std::string_view prefix) {
    if (prefix.empty()) {
        machinePrefixOverride.reset();
    } else {
        machinePrefixOverride = std::string(prefix);
    }
}

void OverrideSystemDirectoryForTesting(std::optional<std::string> folder) {
    systemDirectoryOverride = std::move(folder);
}

UINT GetSystemDirectoryA(char* buffer, UINT size) {
    const std::string folder =
        systemDirectoryOverride ? *systemDirectoryOverride : JoinPath(MachinePrefix(), "system32");
    return CopyToApiBuffer(folder, buffer, size);
}

bool PathFileExistsA(std::string_view path) {
    struct stat info {};
    return ::stat(ToPath(path).c_str(), &info) == 0;
}

bool IsDirectory(std::string_view path) {
    return NativeIsDirectory(ToPath(path));
}

bool IsReadOnlyFile(std::string_view path) {
    return NativeIsReadOnlyFile(ToPath(path));
}

BOOL DeleteFileA(std::string_view path) {
    const std::string name = ToPath(path);
    struct stat info {};
    if (::lstat(name.c_str(), &info) != 0) {
        Fail(errno);
        return FALSE;
    }
    if (S_ISDIR(info.st_mode) || NativeIsReadOnlyFile(name)) {
        lastError = ERROR_ACCESS_DENIED;
        return FALSE;
    }
    if (::unlink(name.c_str()) != 0) {
        Fail(errno);
        return FALSE;
    }
    return TRUE;
}

BOOL CreateDirectoryA(std::string_view path, Privacy privacy) {
    std::string name = ToPath(path);
    while (name.size() > 1 && name.back() == '/') {
        name.pop_back();
    }
    if (::mkdir(name.c_str(), privacy == Privacy::OwnerOnly ? 0700 : 0777) != 0) {
        Fail(errno == ENOENT ? ENOTDIR : errno);
        return FALSE;
    }
    return TRUE;
}

DWORD GetLastError() {
    return lastError;
}
void SetLastError(DWORD code) {
    lastError = code;
}

DWORD GetFileStamp(std::string_view path, FileStamp& stamp) {
    stamp = FileStamp{};
    struct stat info {};
    if (::stat(ToPath(path).c_str(), &info) != 0) {
        return (errno == ENOENT || errno == ENOTDIR) ? ERROR_SUCCESS : WindowsErrorFromErrno(errno);
    }
    constexpr std::int64_t kNanosPerSecond = 1000000000;
    stamp.exists = true;
    stamp.isFolder = S_ISDIR(info.st_mode);
    stamp.readOnly = (info.st_mode & S_IWUSR) == 0;
    stamp.volume = info.st_dev;
    stamp.fileId = info.st_ino;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modifiedNanos = info.st_mtim.tv_sec * kNanosPerSecond + info.st_mtim.tv_nsec;
    stamp.changedNanos = info.st_ctim.tv_sec * kNanosPerSecond + info.st_ctim.tv_nsec;
    return ERROR_SUCCESS;
}

FileTimesResult GetFileTimesAndSize(std::string_view path, FileTimes& times) {
    times = FileTimes{};
    const int fd = ::open(ToPath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return FileTimesResult::NotOpened;
    }
    struct statx info {};
    const bool read = ::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &info) == 0;
    ::close(fd);
    if (!read) {
        return FileTimesResult::NoTimes;
    }
    if (!S_ISREG(info.stx_mode)) {
        return FileTimesResult::NotOpened;  // Windows cannot open a folder or device as a file
    }
    times.written = info.stx_mtime.tv_sec;
    times.accessed = info.stx_atime.tv_sec;
    // The birth time where the file system records it, else the last write.
    const bool hasBirth = (info.stx_mask & STATX_BTIME) != 0;
    times.created = hasBirth ? info.stx_btime.tv_sec : info.stx_mtime.tv_sec;
    times.size = info.stx_size;
    return FileTimesResult::Read;
}

std::unique_ptr<ByteSource> OpenFileByteSource(std::string_view path) {
    return FileByteSource::Open(ToPath(path));
}

DWORD ReadWholeFile(std::string_view path, std::string& contents, std::uint64_t maxBytes) {
    contents.clear();
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that never comes.
    const int fd = ::open(ToPath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return Fail(errno);
    }
    struct stat info {};
    DWORD refusal = ERROR_SUCCESS;
    if (::fstat(fd, &info) != 0) {
        refusal = WindowsErrorFromErrno(errno);
    } else if (S_ISDIR(info.st_mode)) {
        refusal = ERROR_ACCESS_DENIED;
    } else if (!S_ISREG(info.st_mode)) {
        refusal = ERROR_BAD_FILE_TYPE;
    } else if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        refusal = ERROR_FILE_TOO_LARGE;
    }
    if (refusal != ERROR_SUCCESS) {
        ::close(fd);
        lastError = refusal;
        return refusal;
    }
    contents.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int saved = errno;
            ::close(fd);
            contents.clear();
            return Fail(saved);
        }
        if (got == 0) {
            break;
        }
        if (contents.size() + static_cast<std::size_t>(got) > maxBytes) {  // it grew meanwhile
            ::close(fd);
            contents.clear();
            lastError = ERROR_FILE_TOO_LARGE;
            return lastError;
        }
        contents.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ERROR_SUCCESS;
}

namespace {

// Writes `contents` into a new temporary file beside `target` with the rights and owner that a
// replacement of `target` gets, and renames it to `destination` (in the same folder).
DWORD WriteAndRename(const std::string& target, const std::string& destination,
                     std::string_view contents, Privacy privacy) {
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (const DWORD refusal = exists ? RefusalToReplace(old) : ERROR_SUCCESS;
        refusal != ERROR_SUCCESS) {
        lastError = refusal;
        return refusal;
    }
    if (!NativeIsDirectory(FolderOfPath(target))) {
        lastError = ERROR_PATH_NOT_FOUND;
        return lastError;
    }
    RemoveStaleTemporaries(target);
    const std::string temporary = TemporaryNameBeside(target);
    const mode_t mode =
        exists ? (old.st_mode & 07777) : (privacy == Privacy::OwnerOnly ? 0600 : 0666);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        return Fail(errno);
    }
    if (!WriteAll(fd, contents) || ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return Fail(saved);
    }
    if (exists) {
        // The replacement belongs to whoever owned the file (root editing another user's file
        // must not take it over; others cannot give files away, and the call then changes
        // nothing), and keeps exactly its permissions, which open() filtered by the umask.
        static_cast<void>(::fchown(fd, old.st_uid, old.st_gid) == 0);
        ::fchmod(fd, mode);
    }
    ::close(fd);
    if (::rename(temporary.c_str(), destination.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        return Fail(saved);
    }
    SyncFolder(FolderOfPath(destination));
    return ERROR_SUCCESS;
}

}  // namespace

DWORD ReplaceFileAtomically(std::string_view path, std::string_view contents, Privacy privacy) {
    const std::string target = FollowLinks(ToPath(path));
    return WriteAndRename(target, target, contents, privacy);
}

DWORD WriteReplacementBeside(std::string_view path, std::string_view pendingPath,
                             std::string_view contents, Privacy privacy) {
    return WriteAndRename(ToPath(path), ToPath(pendingPath), contents, privacy);
}

DWORD MoveFileReplacing(std::string_view from, std::string_view to) {
    const std::string target = ToPath(to);
    if (::rename(ToPath(from).c_str(), target.c_str()) != 0) {
        return Fail(errno);
    }
    SyncFolder(FolderOfPath(target));
    return ERROR_SUCCESS;
}

namespace {

class FlockUpdateLock final : public UpdateLock {
  public:
    explicit FlockUpdateLock(int fd) : fd_(fd) {}
    ~FlockUpdateLock() override {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    FlockUpdateLock(const FlockUpdateLock&) = delete;
    FlockUpdateLock& operator=(const FlockUpdateLock&) = delete;

  private:
    int fd_;
};

}  // namespace

std::unique_ptr<UpdateLock> LockForUpdate(std::string_view path) {
    const std::string target = FollowLinks(ToPath(path));
    const std::string name = target.substr(target.find_last_of('/') + 1);
    const std::string lockFile = FolderOfPath(target) + "/." + name + ".lock";
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return nullptr;
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return nullptr;
        }
    }
    return std::make_unique<FlockUpdateLock>(fd);
}

DWORD AppendToFile(std::string_view path, std::string_view bytes) {
    const std::string target = ToPath(path);
    if (NativeIsReadOnlyFile(target)) {
        lastError = ERROR_ACCESS_DENIED;
        return lastError;
    }
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        return Fail(errno);
    }
    const bool written = WriteAll(fd, bytes);
    const int saved = errno;
    ::close(fd);
    return written ? ERROR_SUCCESS : Fail(saved);
}

}  // namespace rg::platform
