#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "os/aligned_buffer.h"

namespace corvane::os::linux_os::testing {

// Bytes that differ from sector to sector and from seed to seed.
inline std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + i / 512);
    return bytes;
}

inline AlignedBuffer Aligned(const std::vector<std::uint8_t>& bytes) {
    AlignedBuffer buffer(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.data());
    return buffer;
}

// Reads a file's bytes directly, past any device on it.
inline std::vector<std::uint8_t> FileBytes(const std::string& path, std::uint64_t offset,
                                           std::size_t length) {
    std::vector<std::uint8_t> bytes(length);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t n = fd < 0 ? -1 : pread(fd, bytes.data(), length, static_cast<off_t>(offset));
    if (fd >= 0)
        close(fd);
    bytes.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    return bytes;
}

// Writes into a file directly and pushes it to its storage; false on failure.
inline bool PutFileBytes(const std::string& path, std::uint64_t offset,
                         const std::vector<std::uint8_t>& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) ==
                        static_cast<ssize_t>(bytes.size()) &&
                    fsync(fd) == 0;
    close(fd);
    return ok;
}

} // namespace corvane::os::linux_os::testing
