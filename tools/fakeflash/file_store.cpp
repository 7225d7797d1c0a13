#include "file_store.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane::fakeflash {

std::unique_ptr<FileStore> FileStore::Open(const std::string& path, std::uint64_t capacity,
                                           std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot open store " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "store " + path + " is not a regular file";
        ::close(fd);
        return nullptr;
    }
    if (::ftruncate(fd, static_cast<off_t>(capacity)) != 0) {
        error = "cannot size store " + path + ": " + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FileStore>(new FileStore(fd));
}

FileStore::~FileStore() {
    ::close(fd_);
}

int FileStore::Read(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break; // past the end of a file shortened behind our back: zeros
        done += static_cast<std::size_t>(n);
    }
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(done), out.end(), std::uint8_t{0});
    return 0;
}

int FileStore::Write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int FileStore::Flush() {
    return ::fsync(fd_) == 0 ? 0 : errno;
}

std::uint64_t FileStore::StoredBytes() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_blocks) * 512;
}

} // namespace corvane::fakeflash
