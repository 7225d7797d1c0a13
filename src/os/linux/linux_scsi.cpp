#include "os/linux/linux_scsi.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "os/last_error.h"
#include "os/linux/linux_bus_type.h"
#include "os/linux/linux_inquiry.h"

namespace corvane::os::linux_os {
namespace {

using L = PassThroughLayout;

constexpr std::size_t kSenseBytes = 18;
// Driver status bits: the low three tell a failure, 0x08 only says sense data is present.
constexpr unsigned kDriverFailureMask = 0x07;
constexpr unsigned kDriverTimeout = 0x06;
constexpr unsigned kHostTimeout = 0x03;
// The kernel's SG_DXFER_UNKNOWN, which the C library's sg.h leaves out: data of a direction the
// caller did not state.
constexpr int kDxferUnknown = -5;

bool Fail(int error) {
    SetLastOsError(static_cast<std::uint32_t>(error));
    return false;
}

// Clears the sense area and copies what the device returned into it; the count copied.
std::size_t PutSense(PassThroughBlock& block, const std::uint8_t* sense, std::size_t length) {
    auto* area = block.data() + L::kSense;
    std::memset(area, 0, kSenseBytes);
    const std::size_t n =
        std::min({length, kSenseBytes, static_cast<std::size_t>(block[L::kSenseInfoLength])});
    if (n > 0)
        std::memcpy(area, sense, n);
    return n;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            close(fd_);
    }
    int get() const { return fd_; }
    // Closes now; false when the close failed (the errno is recorded).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        if (fd >= 0 && close(fd) != 0)
            return Fail(errno);
        return true;
    }

private:
    int fd_;
};

// Every command through SG_IO. The block's direction, length and timeout (seconds) become
// the request's; status, sense and the length really moved come back into the block, as the
// Windows pass-through returns them.
class SgIoDevice : public IScsiDevice {
public:
    SgIoDevice(int fd, const BlockCalls& calls) : fd_(fd), calls_(calls) {}

    bool PassThroughDirect(PassThroughBlock& block, void* dataBuffer,
                           std::uint32_t& bytesReturned) override {
        bytesReturned = 0;
        const std::uint8_t cdbLength = block[L::kCdbLength];
        const std::uint32_t length = GetPassThrough32(block, L::kDataTransferLength);
        if (cdbLength == 0 || cdbLength > 16 || (length != 0 && dataBuffer == nullptr))
            return Fail(EINVAL);

        std::uint8_t cdb[16] = {};
        std::memcpy(cdb, block.data() + L::kCdb, cdbLength);
        std::uint8_t sense[32] = {};
        sg_io_hdr_t request{};
        request.interface_id = 'S';
        request.cmd_len = cdbLength;
        request.cmdp = cdb;
        request.dxfer_direction = Direction(block[L::kDataIn], length);
        request.dxfer_len = length;
        request.dxferp = dataBuffer;
        request.sbp = sense;
        request.mx_sb_len = sizeof sense;
        const std::uint64_t ms = std::uint64_t{GetPassThrough32(block, L::kTimeOutValue)} * 1000U;
        request.timeout = static_cast<unsigned>(
            std::min<std::uint64_t>(ms, std::numeric_limits<unsigned>::max()));

        if (const int rc = calls_.ScsiIo(fd_.get(), request); rc != 0)
            return Fail(rc);

        block[L::kScsiStatus] = request.status;
        const std::size_t senseCopied = PutSense(block, sense, request.sb_len_wr);
        const auto resid = static_cast<std::uint32_t>(std::max(request.resid, 0));
        SetPassThrough32(block, L::kDataTransferLength, length - std::min(resid, length));
        bytesReturned = static_cast<std::uint32_t>(
            senseCopied > 0 ? static_cast<std::size_t>(L::kSense) + senseCopied
                            : static_cast<std::size_t>(L::kStructSize));

        // The command never reached the device, or the transport gave up on it.
        if (request.host_status != 0 || (request.driver_status & kDriverFailureMask) != 0) {
            const bool timedOut = request.host_status == kHostTimeout ||
                                  (request.driver_status & kDriverFailureMask) == kDriverTimeout;
            return Fail(timedOut ? ETIMEDOUT : EIO);
        }
        return true;
    }

private:
    static int Direction(std::uint8_t dataIn, std::uint32_t length) {
        if (length == 0)
            return SG_DXFER_NONE;
        if (dataIn == kScsiDataIn)
            return SG_DXFER_FROM_DEV;
        if (dataIn == kScsiDataOut)
            return SG_DXFER_TO_DEV;
        return kDxferUnknown;
    }

    Descriptor fd_;
    const BlockCalls& calls_;
};

// A device that takes no SCSI commands. Its INQUIRY answer is synthesised from what sysfs
// knows of it (see IdentityFromSysfs): nothing is sent to the device.
class SynthesizedInquiryDevice : public IScsiDevice {
public:
    SynthesizedInquiryDevice(int fd, const InquiryData& data) : fd_(fd), data_(data) {}

    bool PassThroughDirect(PassThroughBlock& block, void* dataBuffer,
                           std::uint32_t& bytesReturned) override {
        bytesReturned = 0;
        const std::uint8_t* cdb = block.data() + L::kCdb;
        const std::uint32_t length = GetPassThrough32(block, L::kDataTransferLength);
        // Only the standard INQUIRY: no vital product data page, data towards the host.
        if (block[L::kCdbLength] < 6 || cdb[0] != InquiryLayout::kOpcode || (cdb[1] & 0x01) != 0 ||
            cdb[2] != 0 || block[L::kDataIn] == kScsiDataOut)
            return Fail(ENOTTY);
        const std::uint32_t allocation = CdbAllocationLength(block);
        const std::size_t n = std::min<std::size_t>({data_.size(), length, allocation});
        if (n > 0 && dataBuffer == nullptr)
            return Fail(EINVAL);
        if (n > 0)
            std::memcpy(dataBuffer, data_.data(), n);
        block[L::kScsiStatus] = 0;
        PutSense(block, nullptr, 0);
        SetPassThrough32(block, L::kDataTransferLength, static_cast<std::uint32_t>(n));
        bytesReturned = L::kStructSize;
        return true;
    }

private:
    Descriptor fd_;
    InquiryData data_;
};

class LinuxMediaChangeSwitch : public IMediaChangeSwitch {
public:
    explicit LinuxMediaChangeSwitch(int fd) : fd_(fd) {}
    bool Control(bool, std::uint32_t& bytesReturned) override {
        bytesReturned = 0;
        return Fail(ENOTTY);
    }
    bool Close() override { return fd_.Close(); }

private:
    Descriptor fd_;
};

int OpenForQueries(const ResolvedDrive& drive) {
    // O_NONBLOCK lets an optical drive or a card reader without a medium open.
    const int fd = OpenResolved(drive, O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        SetLastOsError(static_cast<std::uint32_t>(errno));
    return fd;
}

} // namespace

std::unique_ptr<IScsiDevice> OpenLinuxScsi(const LinuxDriveEnv& env, const ResolvedDrive& drive) {
    const int fd = OpenForQueries(drive);
    if (fd < 0)
        return nullptr;
    if (drive.kind == ResolvedDrive::Kind::BlockDevice && TakesScsiCommands(drive.diskDir))
        return std::make_unique<SgIoDevice>(fd, *env.calls);
    return std::make_unique<SynthesizedInquiryDevice>(fd,
                                                      BuildInquiryData(IdentityFromSysfs(drive)));
}

std::unique_ptr<IMediaChangeSwitch> OpenLinuxMediaChangeSwitch(const ResolvedDrive& drive) {
    const int fd = OpenForQueries(drive);
    if (fd < 0)
        return nullptr;
    return std::make_unique<LinuxMediaChangeSwitch>(fd);
}

} // namespace corvane::os::linux_os
