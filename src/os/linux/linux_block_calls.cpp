#include <linux/fs.h>
#include <linux/hdreg.h>
#include <sys/ioctl.h>

#include <cerrno>

#include "os/linux/linux_drive_env.h"

namespace corvane::os::linux_os {
namespace {

int ErrnoOf(int rc) {
    return rc == 0 ? 0 : errno;
}

class KernelBlockCalls : public BlockCalls {
public:
    int LogicalSectorSize(int fd, std::uint32_t& bytes) const override {
        int size = 0;
        const int rc = ErrnoOf(ioctl(fd, BLKSSZGET, &size));
        if (rc == 0)
            bytes = size > 0 ? static_cast<std::uint32_t>(size) : 0;
        return rc;
    }
    int SizeInBytes(int fd, std::uint64_t& bytes) const override {
        return ErrnoOf(ioctl(fd, BLKGETSIZE64, &bytes));
    }
    int Geometry(int fd, HdGeometry& geometry) const override {
        struct hd_geometry geo {};
        const int rc = ErrnoOf(ioctl(fd, HDIO_GETGEO, &geo));
        if (rc == 0) {
            geometry.heads = geo.heads;
            geometry.sectorsPerTrack = geo.sectors;
        }
        return rc;
    }
    int ScsiIo(int fd, sg_io_hdr_t& request) const override {
        // Not retried on EINTR: a command is not always safe to send twice.
        return ErrnoOf(ioctl(fd, SG_IO, &request));
    }
};

} // namespace

const BlockCalls& RealBlockCalls() {
    static const KernelBlockCalls calls;
    return calls;
}

} // namespace corvane::os::linux_os
