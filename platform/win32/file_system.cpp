// The Windows backend of the file services: the ANSI calls as they are, seen as the 32-bit
// firewall sees the machine (see system_view.h).
#include "platform/os/file_system.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "platform/base/api_buffer.h"
#include "platform/win32/handle.h"
#include "platform/win32/system_view.h"

// The Windows headers come last: their macros (TRUE, ERROR_SUCCESS, ...) would otherwise
// rewrite the declarations of the platform headers above.
#include <windows.h>

#include <shlwapi.h>

namespace rg::platform {
namespace {

std::optional<std::string> appPathOverride;
std::optional<std::string> systemDirectoryOverride;

constexpr std::int64_t kFileTimeTicksPerSecond = 10000000;
constexpr std::int64_t kFileTimeToUnixSeconds = 11644473600;  // 1601-01-01 to 1970-01-01

std::uint64_t Combine(DWORD high, DWORD low) {
    return (std::uint64_t{high} << 32) | low;
}

std::int64_t UnixSeconds(const FILETIME& time) {
    const auto ticks = static_cast<std::int64_t>(Combine(time.dwHighDateTime, time.dwLowDateTime));
    return ticks / kFileTimeTicksPerSecond - kFileTimeToUnixSeconds;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

DWORD Attributes(std::string_view path) {
    return ::GetFileAttributesA(NativePath(path).c_str());
}

bool HasAttribute(std::string_view path, DWORD attribute) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

// Opens an existing file for reading, sharing it with every other reader and writer.
Handle OpenForReading(std::string_view path, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    return Handle(::CreateFileA(NativePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, flags, nullptr));
}

bool IsRegularFile(HANDLE file) {
    return ::GetFileType(file) == FILE_TYPE_DISK;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<::DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        ::DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

std::string TemporaryNameBeside(const std::string& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    const std::string folder = FolderOfPath(path);
    const std::string base = path.substr(path.find_last_of("\\/") + 1);
    return JoinPath(folder, "~" + base + ".tmp" + std::to_string(::GetCurrentProcessId()) + "_" +
                                std::to_string(generator() % 1000000000ULL));
}

// A file read by offset through one handle; the handle is closed with the source.
class WindowsByteSource final : public ByteSource {
  public:
    WindowsByteSource(Handle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t length) const override {
        if (!Contains(offset, length)) {
            return false;
        }
        auto* out = static_cast<char*>(buffer);
        while (length > 0) {
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(offset);
            at.OffsetHigh = static_cast<DWORD>(offset >> 32);
            const auto chunk = static_cast<::DWORD>(std::min<std::size_t>(length, 1u << 30));
            ::DWORD got = 0;
            if (!::ReadFile(file_.get(), out, chunk, &got, &at) || got == 0) {
                return false;  // a read error, or the file shrank under us
            }
            out += got;
            offset += got;
            length -= got;
        }
        return true;
    }

  private:
    Handle file_;
    std::uint64_t size_;
};

}  // namespace

std::string NativePath(std::string_view path) {
    return ThirtyTwoBitView(path);
}

std::string PathFromNative(std::string_view nativePath) {
    return std::string(nativePath);  // the ANSI calls already give code page text
}

char PathSeparator() {
    return '\\';
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += PathSeparator();
    path += name;
    return path;
}

std::string FolderOfPath(std::string_view path) {
    const auto separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos) {
        return ".";
    }
    // "C:\name" keeps the root's separator; "\name" is the root of the current drive.
    if (separator == 0 || (separator == 2 && path[1] == ':')) {
        return std::string(path.substr(0, separator + 1));
    }
    return std::string(path.substr(0, separator));
}

std::string AppPath() {
    if (appPathOverride) {
        return *appPathOverride;
    }
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return ".";
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    std::string folder = FolderOfPath(buffer);
    // Without a trailing separator, except for a drive's root ("C:\").
    if (folder.size() > 3 && IsSeparator(folder.back())) {
        folder.pop_back();
    }
    return folder;
}

void OverrideAppPathForTesting(std::optional<std::string> folder) {
    appPathOverride = std::move(folder);
}

std::string MachinePrefix() {
    return {};  // the machine is the real one
}

void SetMachinePrefix(std::string_view) {}

void OverrideSystemDirectoryForTesting(std::optional<std::string> folder) {
    systemDirectoryOverride = std::move(folder);
}

UINT GetSystemDirectoryA(char* buffer, UINT size) {
    if (!systemDirectoryOverride) {
        return ::GetSystemDirectoryA(buffer, size);
    }
    return CopyToApiBuffer(*systemDirectoryOverride, buffer, size);
}

bool PathFileExistsA(std::string_view path) {
    return ::PathFileExistsA(NativePath(path).c_str()) != FALSE;
}

bool IsDirectory(std::string_view path) {
    return HasAttribute(path, FILE_ATTRIBUTE_DIRECTORY);
}

bool IsReadOnlyFile(std::string_view path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

BOOL DeleteFileA(std::string_view path) {
    return ::DeleteFileA(NativePath(path).c_str());
}

// New folders and files take the rights their folder passes on (the system directory's are an
// administrator's); there is nothing to narrow.
BOOL CreateDirectoryA(std::string_view path, Privacy) {
    return ::CreateDirectoryA(NativePath(path).c_str(), nullptr);
}

DWORD GetLastError() {
    return ::GetLastError();
}

void SetLastError(DWORD code) {
    ::SetLastError(code);
}

DWORD GetFileStamp(std::string_view path, FileStamp& stamp) {
    stamp = FileStamp{};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(NativePath(path).c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = ::GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? ERROR_SUCCESS
                                                                                : error;
    }
    stamp.exists = true;
    stamp.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    stamp.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    stamp.size = Combine(data.nFileSizeHigh, data.nFileSizeLow);
    stamp.modifiedNanos = static_cast<std::int64_t>(
        Combine(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime));
    if (!stamp.isFolder) {
        // The file's identity (a file replaced by a rename is another file) and its change
        // time (attributes too). Times here are in 100-nanosecond ticks; they are only compared.
        Handle file = OpenForReading(path);
        BY_HANDLE_FILE_INFORMATION info{};
        if (file.valid() && ::GetFileInformationByHandle(file.get(), &info)) {
            stamp.volume = info.dwVolumeSerialNumber;
            stamp.fileId = Combine(info.nFileIndexHigh, info.nFileIndexLow);
        }
        FILE_BASIC_INFO basic{};
        if (file.valid() &&
            ::GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic)) {
            stamp.changedNanos = basic.ChangeTime.QuadPart;
        }
    }
    return ERROR_SUCCESS;
}

FileTimesResult GetFileTimesAndSize(std::string_view path, FileTimes& times) {
    times = FileTimes{};
    Handle file = OpenForReading(path);
    if (!file.valid() || !IsRegularFile(file.get())) {
        return FileTimesResult::NotOpened;
    }
    FILETIME created{};
    FILETIME accessed{};
    FILETIME written{};
    if (!::GetFileTime(file.get(), &created, &accessed, &written)) {
        return FileTimesResult::NoTimes;
    }
    ::DWORD high = 0;
    const ::DWORD low = ::GetFileSize(file.get(), &high);
    times.written = UnixSeconds(written);
    times.accessed = UnixSeconds(accessed);
    times.created = UnixSeconds(created);
    times.size = Combine(high, low);
    return FileTimesResult::Read;
}

std::unique_ptr<ByteSource> OpenFileByteSource(std::string_view path) {
    Handle file = OpenForReading(path);
    LARGE_INTEGER size{};
    if (!file.valid() || !IsRegularFile(file.get()) || !::GetFileSizeEx(file.get(), &size)) {
        return nullptr;
    }
    return std::make_unique<WindowsByteSource>(std::move(file),
                                               static_cast<std::uint64_t>(size.QuadPart));
}

DWORD ReadWholeFile(std::string_view path, std::string& contents, std::uint64_t maxBytes) {
    contents.clear();
    if (IsDirectory(path)) {
        return ERROR_ACCESS_DENIED;
    }
    Handle file = OpenForReading(path, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file.valid()) {
        return ::GetLastError();
    }
    LARGE_INTEGER size{};
    if (!IsRegularFile(file.get())) {
        return ERROR_BAD_FILE_TYPE;
    }
    if (!::GetFileSizeEx(file.get(), &size) ||
        static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        return ERROR_FILE_TOO_LARGE;
    }
    contents.reserve(static_cast<std::size_t>(size.QuadPart));
    char chunk[65536];
    for (;;) {
        ::DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            contents.clear();
            return error;
        }
        if (got == 0) {
            return ERROR_SUCCESS;
        }
        if (contents.size() + got > maxBytes) {  // it grew meanwhile
            contents.clear();
            return ERROR_FILE_TOO_LARGE;
        }
        contents.append(chunk, got);
    }
}

namespace {

// Why an existing file may not be replaced, or ERROR_SUCCESS.
DWORD RefusalToReplace(const std::string& target) {
    const DWORD attributes = Attributes(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return ERROR_SUCCESS;  // a new file
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return ERROR_ACCESS_DENIED;
    }
    Handle existing = OpenForReading(target);
    BY_HANDLE_FILE_INFORMATION info{};
    if (existing.valid() && !IsRegularFile(existing.get())) {
        return ERROR_BAD_FILE_TYPE;
    }
    if (existing.valid() && ::GetFileInformationByHandle(existing.get(), &info) &&
        info.nNumberOfLinks > 1) {
        return ERROR_NOT_SUPPORTED;  // a new file under one name would split the hard links
    }
    return ERROR_SUCCESS;
}

// Writes `contents` into a new temporary file beside `target` and renames it to `destination`.
DWORD WriteAndRename(const std::string& target, const std::string& destination,
                     std::string_view contents) {
    if (const DWORD refusal = RefusalToReplace(target); refusal != ERROR_SUCCESS) {
        return refusal;
    }
    if (!IsDirectory(FolderOfPath(target))) {
        return ERROR_PATH_NOT_FOUND;
    }
    const std::string temporary = TemporaryNameBeside(target);
    const std::string nativeTemporary = NativePath(temporary);
    {
        Handle file(::CreateFileA(nativeTemporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return ::GetLastError();
        }
        if (!WriteAll(file.get(), contents) || !::FlushFileBuffers(file.get())) {
            const DWORD error = ::GetLastError();
            file.reset();
            ::DeleteFileA(nativeTemporary.c_str());
            return error;
        }
    }
    if (const DWORD moved = MoveFileReplacing(temporary, destination); moved != ERROR_SUCCESS) {
        ::DeleteFileA(nativeTemporary.c_str());
        return moved;
    }
    return ERROR_SUCCESS;
}

}  // namespace

DWORD ReplaceFileAtomically(std::string_view path, std::string_view contents, Privacy) {
    const std::string target(path);
    return WriteAndRename(target, target, contents);
}

DWORD WriteReplacementBeside(std::string_view path, std::string_view pendingPath,
                             std::string_view contents, Privacy) {
    return WriteAndRename(std::string(path), std::string(pendingPath), contents);
}

DWORD MoveFileReplacing(std::string_view from, std::string_view to) {
    if (!::MoveFileExA(NativePath(from).c_str(), NativePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return ::GetLastError();
    }
    return ERROR_SUCCESS;
}

DWORD AppendToFile(std::string_view path, std::string_view bytes) {
    if (IsReadOnlyFile(path)) {
        return ERROR_ACCESS_DENIED;
    }
    Handle file(::CreateFileA(NativePath(path).c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return ::GetLastError();
    }
    return WriteAll(file.get(), bytes) ? ERROR_SUCCESS : ::GetLastError();
}

namespace {

class LockFileUpdateLock final : public UpdateLock {
  public:
    explicit LockFileUpdateLock(Handle file) : file_(std::move(file)) {}
    ~LockFileUpdateLock() override {
        OVERLAPPED whole{};
        ::UnlockFileEx(file_.get(), 0, MAXDWORD, MAXDWORD, &whole);
    }

  private:
    Handle file_;
};

}  // namespace

std::unique_ptr<UpdateLock> LockForUpdate(std::string_view path) {
    const std::string target(path);
    const std::string name = target.substr(target.find_last_of("\\/") + 1);
    const std::string lockFile = JoinPath(FolderOfPath(target), "~" + name + ".lock");
    Handle file(::CreateFileA(NativePath(lockFile).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!file.valid()) {
        return nullptr;
    }
    OVERLAPPED whole{};
    if (!::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
        return nullptr;
    }
    return std::make_unique<LockFileUpdateLock>(std::move(file));
}

}  // namespace rg::platform
