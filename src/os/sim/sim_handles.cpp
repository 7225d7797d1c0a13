#include "os/sim/sim_handles.h"

#include <algorithm>
#include <cstring>

#include "os/last_error.h"
#include "os/scsi.h"
#include "os/sim/sim_error_codes.h"

namespace corvane::os::sim {
namespace {

using Layout = PassThroughLayout;

constexpr std::uint8_t kCheckCondition = 0x02;
constexpr std::uint8_t kFixedSense = 0x70;
constexpr std::uint8_t kSenseNotReady = 0x02;
constexpr std::uint8_t kSenseIllegalRequest = 0x05;
constexpr std::uint8_t kAscMediumNotPresent = 0x3A;
constexpr std::uint8_t kAscInvalidOpcode = 0x20;

IoResult Recorded(IoResult result) {
    if (!result.ok)
        SetLastOsError(result.error);
    return result;
}

bool Succeeded(std::uint32_t error) {
    if (error != 0)
        SetLastOsError(error);
    return error == 0;
}

class SimVolume : public IRawVolume {
public:
    SimVolume(std::shared_ptr<SimDrive> drive, std::uint64_t id, VolumeAccess access)
        : drive_(std::move(drive)), id_(id), access_(access) {}
    ~SimVolume() override { drive_->Close(id_); }

    bool Seek(std::uint64_t offset) override {
        if (!Present())
            return false;
        position_ = offset;
        return true;
    }
    IoResult Read(void* buffer, std::uint32_t length) override {
        const IoResult r = Recorded(drive_->Read(position_, buffer, length));
        position_ += r.bytes;
        return r;
    }
    IoResult Write(const void* buffer, std::uint32_t length) override {
        if (access_ != VolumeAccess::ReadWrite)
            return Recorded(IoResult{false, 0, kSimErrorAccessDenied});
        const IoResult r = Recorded(drive_->Write(position_, buffer, length));
        position_ += r.bytes;
        return r;
    }
    bool Flush() override { return Present(); }
    bool Lock() override { return Succeeded(drive_->Lock(id_)); }
    bool Dismount() override { return Present(); }
    bool Unlock() override { return Succeeded(drive_->Unlock(id_)); }

private:
    // A handle to a drive that vanished fails every call.
    bool Present() const { return Succeeded(drive_->Gone() ? kSimErrorGone : 0); }
    std::shared_ptr<SimDrive> drive_;
    std::uint64_t id_;
    VolumeAccess access_;
    std::uint64_t position_ = 0;
};

void PutSense(PassThroughBlock& block, std::uint8_t key, std::uint8_t asc) {
    block[Layout::kScsiStatus] = kCheckCondition;
    std::uint8_t* sense = block.data() + Layout::kSense;
    std::memset(sense, 0, 18);
    sense[0] = kFixedSense;
    sense[2] = key;
    sense[7] = 10; // additional sense length
    sense[12] = asc;
}

class SimScsiDevice : public IScsiDevice {
public:
    SimScsiDevice(std::shared_ptr<SimDrive> drive, std::uint64_t id)
        : drive_(std::move(drive)), id_(id) {}
    ~SimScsiDevice() override { drive_->Close(id_); }

    bool PassThroughDirect(PassThroughBlock& block, void* dataBuffer,
                           std::uint32_t& bytesReturned) override {
        const SimDriveConfig& config = drive_->Config();
        if (drive_->Gone()) {
            SetLastOsError(kSimErrorGone);
            return false;
        }
        if (config.inquiry == InquiryAnswer::Fail) {
            SetLastOsError(kSimErrorIo);
            return false;
        }
        bytesReturned = Layout::kBlockSize;
        const std::uint8_t opcode = block[Layout::kCdb];
        if (opcode != InquiryLayout::kOpcode) {
            PutSense(block, kSenseIllegalRequest, kAscInvalidOpcode);
            SetPassThrough32(block, Layout::kDataTransferLength, 0);
            return true;
        }
        if (config.inquiry == InquiryAnswer::Sense) {
            PutSense(block, kSenseNotReady, kAscMediumNotPresent);
            SetPassThrough32(block, Layout::kDataTransferLength, 0);
            return true;
        }
        std::uint8_t data[kSimInquiryBytes];
        BuildSimInquiry(config, data);
        const std::uint32_t allocation = CdbAllocationLength(block);
        const std::uint32_t length =
            std::min<std::uint32_t>({GetPassThrough32(block, Layout::kDataTransferLength),
                                     allocation, static_cast<std::uint32_t>(kSimInquiryBytes)});
        if (dataBuffer != nullptr)
            std::memcpy(dataBuffer, data, length);
        SetPassThrough32(block, Layout::kDataTransferLength, length);
        block[Layout::kScsiStatus] = 0;
        return true;
    }

private:
    std::shared_ptr<SimDrive> drive_;
    std::uint64_t id_;
};

class SimMediaChangeSwitch : public IMediaChangeSwitch {
public:
    explicit SimMediaChangeSwitch(std::shared_ptr<SimDrive> drive) : drive_(std::move(drive)) {}
    bool Control(bool, std::uint32_t& bytesReturned) override {
        bytesReturned = 0;
        return Succeeded(drive_->Gone() ? kSimErrorGone : 0);
    }
    bool Close() override { return true; }

private:
    std::shared_ptr<SimDrive> drive_;
};

// A field of the INQUIRY data: the text blank-padded to width, or zeros for an empty text.
void PutField(std::uint8_t* at, const std::string& text, std::size_t width) {
    if (text.empty())
        return;
    std::memset(at, ' ', width);
    std::memcpy(at, text.data(), std::min(width, text.size()));
}

} // namespace

void BuildSimInquiry(const SimDriveConfig& config, std::uint8_t* data) {
    std::memset(data, 0, kSimInquiryBytes);
    data[0] = config.peripheral;
    data[1] = config.type == kDriveRemovable ? 0x80 : 0x00; // removable medium bit
    data[2] = 0x06;                                         // SPC-4
    data[3] = 0x02;                                         // response data format
    data[4] = static_cast<std::uint8_t>(kSimInquiryBytes - 5);
    using F = InquiryLayout;
    PutField(data + F::kVendorAt, config.vendor, F::kVendorWidth);
    PutField(data + F::kProductAt, config.product, F::kProductWidth);
    PutField(data + F::kRevisionAt, config.revision, F::kRevisionWidth);
}

std::unique_ptr<IRawVolume> OpenSimVolume(const std::shared_ptr<SimDrive>& drive,
                                          VolumeAccess access, VolumeShare share) {
    const SimDrive::Opened opened = drive->Open(share);
    if (opened.error != 0) {
        SetLastOsError(opened.error);
        return nullptr;
    }
    return std::make_unique<SimVolume>(drive, opened.id, access);
}

std::unique_ptr<IScsiDevice> OpenSimScsi(const std::shared_ptr<SimDrive>& drive) {
    const SimDrive::Opened opened = drive->Open(VolumeShare::ReadWrite);
    if (opened.error != 0) {
        SetLastOsError(opened.error);
        return nullptr;
    }
    return std::make_unique<SimScsiDevice>(drive, opened.id);
}

std::unique_ptr<IMediaChangeSwitch>
OpenSimMediaChangeSwitch(const std::shared_ptr<SimDrive>& drive) {
    return std::make_unique<SimMediaChangeSwitch>(drive);
}

} // namespace corvane::os::sim
