#include "os/linux/linux_volume.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

#include "os/aligned_buffer.h"
#include "os/last_error.h"
#include "os/linux/linux_device_family.h"

namespace corvane::os::linux_os {
namespace {

constexpr std::uint32_t kDefaultSector = 512;
// What an image file's file system may ask of O_DIRECT transfers beyond 512 bytes: the page
// size satisfies every file system in use, whatever its block size and the disk beneath it.
constexpr std::uint32_t kPageAlignment = 4096;
constexpr std::uint64_t kBounceBytes = 1U << 20;
constexpr std::uint64_t kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());

bool IsPowerOfTwo(std::uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

std::uint64_t RoundUp(std::uint64_t value, std::uint64_t step) {
    return (value + step - 1) / step * step;
}

// Bytes moved by one run of pread/pwrite calls, and the errno that ended it early (0 when it
// ended at the end of the device or with everything moved).
struct Moved {
    std::uint64_t bytes = 0;
    int error = 0;
};

class LinuxRawVolume : public IRawVolume {
public:
    LinuxRawVolume(const LinuxDriveEnv& env, const ResolvedDrive& drive, int fd, bool exclusive,
                   bool isFile, std::uint32_t alignment, std::uint64_t fileLimit)
        : env_(env), drive_(drive), fd_(fd), exclusive_(exclusive), isFile_(isFile),
          align_(alignment), fileLimit_(fileLimit), chunk_(RoundUp(kBounceBytes, alignment)) {}
    LinuxRawVolume(const LinuxRawVolume&) = delete;
    LinuxRawVolume& operator=(const LinuxRawVolume&) = delete;
    ~LinuxRawVolume() override {
        if (lockFd_ >= 0)
            close(lockFd_);
        close(fd_);
    }

    bool Seek(std::uint64_t offset) override {
        if (offset > kMaxOffset)
            return Fail(EINVAL);
        pos_ = offset;
        return true;
    }

    IoResult Read(void* buffer, std::uint32_t length) override {
        return Transfer(static_cast<unsigned char*>(buffer), length, false);
    }
    IoResult Write(const void* buffer, std::uint32_t length) override {
        // The buffer is only read from when writing.
        return Transfer(const_cast<unsigned char*>(static_cast<const unsigned char*>(buffer)),
                        length, true);
    }

    bool Flush() override { return fdatasync(fd_) == 0 || Fail(errno); }

    bool Lock() override {
        lockWanted_ = true;
        if (exclusive_ || lockFd_ >= 0 || fileLocked_)
            return true;
        return TryLock();
    }

    bool Dismount() override {
        std::vector<MountEntry> mounts = MountsOn(env_, DeviceAndPartitions(drive_));
        bool ok = true;
        // Last mounted first, so a mount stacked on another goes before it.
        for (auto it = mounts.rbegin(); it != mounts.rend(); ++it)
            if (umount2(it->mountPoint.c_str(), 0) != 0)
                ok = Fail(errno);
        if (lockWanted_ && !exclusive_ && lockFd_ < 0 && !fileLocked_)
            TryLock();
        return ok;
    }

    bool Unlock() override {
        const bool held = lockWanted_ && (exclusive_ || lockFd_ >= 0 || fileLocked_);
        lockWanted_ = false;
        if (lockFd_ >= 0) {
            close(lockFd_);
            lockFd_ = -1;
        }
        if (fileLocked_) {
            flock(fd_, LOCK_UN);
            fileLocked_ = false;
        }
        return held || Fail(EINVAL);
    }

private:
    static bool Fail(int error) {
        SetLastOsError(static_cast<std::uint32_t>(error));
        return false;
    }

    bool TryLock() {
        if (isFile_) {
            // An image file's lock is a lock on this very descriptor: nothing to reopen.
            if (flock(fd_, LOCK_EX | LOCK_NB) != 0)
                return Fail(errno == EWOULDBLOCK ? EBUSY : errno);
            fileLocked_ = true;
            return true;
        }
        const int fd = OpenResolved(drive_, O_RDONLY | O_EXCL);
        if (fd < 0)
            return Fail(errno);
        lockFd_ = fd;
        return true;
    }

    bool Aligned(const unsigned char* buffer, std::uint32_t length) const {
        return pos_ % align_ == 0 && length % align_ == 0 &&
               reinterpret_cast<std::uintptr_t>(buffer) % align_ == 0;
    }

    // pread/pwrite until length bytes at offset have moved, the end is reached or a call fails.
    Moved MoveAt(unsigned char* buffer, std::uint64_t length, std::uint64_t offset, bool write) {
        Moved moved;
        if (write && isFile_) {
            if (offset >= fileLimit_)
                return Moved{0, ENOSPC};
            length = std::min(length, fileLimit_ - offset);
        }
        while (moved.bytes < length) {
            const auto at = static_cast<off_t>(offset + moved.bytes);
            const auto count = static_cast<std::size_t>(length - moved.bytes);
            const ssize_t n = write ? pwrite(fd_, buffer + moved.bytes, count, at)
                                    : pread(fd_, buffer + moved.bytes, count, at);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                moved.error = errno;
                break;
            }
            if (n == 0)
                break;
            moved.bytes += static_cast<std::uint64_t>(n);
        }
        return moved;
    }

    // Reads the sector at offset into buffer for a partial write; bytes beyond the end of the
    // device stay zero.
    int Prefetch(unsigned char* buffer, std::uint64_t offset) {
        std::memset(buffer, 0, align_);
        return MoveAt(buffer, align_, offset, false).error;
    }

    IoResult Transfer(unsigned char* user, std::uint32_t length, bool write) {
        if (length == 0)
            return Finish(0, 0);
        if (pos_ > kMaxOffset - length)
            return Finish(0, EINVAL);
        if (Aligned(user, length)) {
            const Moved moved = MoveAt(user, length, pos_, write);
            return Finish(moved.bytes, moved.error);
        }
        if (!bounce_) {
            bounce_ = AlignedBuffer(static_cast<std::size_t>(chunk_));
            if (!bounce_)
                return Finish(0, ENOMEM);
        }
        unsigned char* b = bounce_.data();
        std::uint64_t done = 0;
        int error = 0;
        while (done < length && error == 0) {
            const std::uint64_t offset = pos_ + done;
            const std::uint64_t start = offset - offset % align_;
            const std::uint64_t head = offset - start;
            const std::uint64_t want = std::min<std::uint64_t>(length - done, chunk_ - head);
            const std::uint64_t span = RoundUp(head + want, align_);
            Moved moved;
            if (write) {
                if (head != 0)
                    error = Prefetch(b, start);
                if (error == 0 && span != head + want && (span > align_ || head == 0))
                    error = Prefetch(b + span - align_, start + span - align_);
                if (error != 0)
                    break;
                std::memcpy(b + head, user + done, static_cast<std::size_t>(want));
                moved = MoveAt(b, span, start, true);
            } else {
                moved = MoveAt(b, span, start, false);
            }
            const std::uint64_t got = moved.bytes > head ? std::min(moved.bytes - head, want) : 0;
            if (!write && got > 0)
                std::memcpy(user + done, b + head, static_cast<std::size_t>(got));
            done += got;
            error = moved.error;
            if (got < want)
                break;
        }
        return Finish(done, error);
    }

    // A transfer that ran into the end of the device after moving something is a short one;
    // anything else that ended in an error failed.
    IoResult Finish(std::uint64_t bytes, int error) {
        pos_ += bytes;
        IoResult result;
        result.bytes = static_cast<std::uint32_t>(bytes);
        result.ok = error == 0 || (error == ENOSPC && bytes > 0);
        if (!result.ok) {
            result.error = static_cast<std::uint32_t>(error);
            SetLastOsError(result.error);
        }
        return result;
    }

    LinuxDriveEnv env_;
    ResolvedDrive drive_;
    int fd_;
    bool exclusive_;
    bool isFile_;
    std::uint32_t align_;
    std::uint64_t fileLimit_;
    std::uint64_t chunk_;
    std::uint64_t pos_ = 0;
    int lockFd_ = -1;
    bool fileLocked_ = false;
    bool lockWanted_ = false;
    AlignedBuffer bounce_;
};

// The alignment an image file's file system needs for O_DIRECT: a 512-byte read at a
// 512-byte (not page) aligned address tells whether sectors of 512 bytes will do.
std::uint32_t FileAlignment(int fd) {
    AlignedBuffer probe(2 * kDefaultSector);
    if (!probe)
        return kPageAlignment;
    ssize_t n = 0;
    do
        n = pread(fd, probe.data() + kDefaultSector, kDefaultSector, 0);
    while (n < 0 && errno == EINTR);
    return n >= 0 ? kDefaultSector : kPageAlignment;
}

} // namespace

std::unique_ptr<IRawVolume> OpenLinuxVolume(const LinuxDriveEnv& env, const ResolvedDrive& drive,
                                            VolumeAccess access, VolumeShare share) {
    const bool image = drive.kind == ResolvedDrive::Kind::ImageFile;
    const bool exclusive = share == VolumeShare::None;
    int flags = (access == VolumeAccess::ReadWrite ? O_RDWR : O_RDONLY) | O_DIRECT;
    // O_EXCL without O_CREAT means something only for block devices.
    if (exclusive && !image)
        flags |= O_EXCL;
    const int fd = OpenResolved(drive, flags);
    if (fd < 0) {
        SetLastOsError(static_cast<std::uint32_t>(errno));
        return nullptr;
    }
    auto failWith = [fd](int error) -> std::unique_ptr<IRawVolume> {
        close(fd);
        SetLastOsError(static_cast<std::uint32_t>(error));
        return nullptr;
    };

    struct stat st {};
    if (fstat(fd, &st) != 0)
        return failWith(errno);
    const bool isFile = S_ISREG(st.st_mode);
    if (isFile && exclusive && flock(fd, LOCK_EX | LOCK_NB) != 0)
        return failWith(errno == EWOULDBLOCK ? EBUSY : errno);

    std::uint32_t alignment = kDefaultSector;
    std::uint64_t fileLimit = 0;
    if (isFile) {
        alignment = FileAlignment(fd);
        fileLimit = static_cast<std::uint64_t>(st.st_size) / alignment * alignment;
    } else {
        std::uint32_t sector = 0;
        alignment = env.calls->LogicalSectorSize(fd, sector) == 0 && IsPowerOfTwo(sector)
                        ? sector
                        : kDefaultSector;
    }
    return std::make_unique<LinuxRawVolume>(env, drive, fd, exclusive, isFile, alignment,
                                            fileLimit);
}

} // namespace corvane::os::linux_os
