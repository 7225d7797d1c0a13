#pragma once
#include <scsi/sg.h>

#include <cstdint>
#include <string>

namespace corvane::os::linux_os {

// Heads and sectors per track as the disk geometry request reports them.
struct HdGeometry {
    unsigned heads = 0;
    unsigned sectorsPerTrack = 0;
};

// The block device requests the drive backend makes on an open descriptor. Each returns 0 on
// success or the errno of the failure. The real ones are the kernel's ioctls; tests hand in
// their own so the backend runs against a fake sysfs tree without devices.
class BlockCalls {
public:
    virtual ~BlockCalls() = default;
    virtual int LogicalSectorSize(int fd, std::uint32_t& bytes) const = 0; // BLKSSZGET
    virtual int SizeInBytes(int fd, std::uint64_t& bytes) const = 0;       // BLKGETSIZE64
    virtual int Geometry(int fd, HdGeometry& geometry) const = 0;          // HDIO_GETGEO
    virtual int ScsiIo(int fd, sg_io_hdr_t& request) const = 0;            // SG_IO
};

// The kernel's requests.
const BlockCalls& RealBlockCalls();

// Where the drive backend looks. The real machine's values are the defaults; a test points
// them into a temporary folder.
struct LinuxDriveEnv {
    std::string sysRoot = "/sys";
    std::string devRoot = "/dev";
    std::string mountInfoPath = "/proc/self/mountinfo";
    std::string swapsPath = "/proc/swaps";
    const BlockCalls* calls = &RealBlockCalls();
};

} // namespace corvane::os::linux_os
