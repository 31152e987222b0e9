#include "platform/posix/file_byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace rg::platform {

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& nativePath) {
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<FileByteSource> source(
        new FileByteSource(fd, static_cast<std::uint64_t>(info.st_size)));
    std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(source->size_, kHeadBytes)),
                     '\0');
    if (source->ReadFromFile(0, head.data(), head.size())) {
        source->head_ = std::move(head);
    }
    return source;
}

FileByteSource::~FileByteSource() {
    ::close(fd_);
}

bool FileByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t length) const {
    if (!Contains(offset, length)) {
        return false;
    }
    if (offset <= head_.size() && length <= head_.size() - offset) {
        if (length > 0) {
            std::memcpy(buffer, head_.data() + offset, length);
        }
        return true;
    }
    return ReadFromFile(offset, buffer, length);
}

bool FileByteSource::ReadFromFile(std::uint64_t offset, void* buffer, std::size_t length) const {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got =
            ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;  // a read error, or the file shrank under us
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace rg::platform
