#include "os/win32/win32_scsi.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>

#include "os/win32/win32_handle.h"

namespace corvane::os::win32_os {
namespace {

using L = PassThroughLayout;

class Win32ScsiDevice : public IScsiDevice {
public:
    explicit Win32ScsiDevice(UniqueHandle handle) : handle_(std::move(handle)) {}

    bool PassThroughDirect(PassThroughBlock& block, void* dataBuffer,
                           std::uint32_t& bytesReturned) override {
        NativePassThrough native = ToNativePassThrough(block, dataBuffer);
        DWORD returned = 0;
        const BOOL ok =
            ::DeviceIoControl(handle_.Get(), IOCTL_SCSI_PASS_THROUGH_DIRECT, &native,
                              kPassThroughInSize, &native, kPassThroughOutSize, &returned, nullptr);
        if (!ok)
            RecordLastError();
        bytesReturned = returned;
        FromNativePassThrough(native, block);
        return ok != FALSE;
    }

private:
    UniqueHandle handle_;
};

class Win32MediaChangeSwitch : public IMediaChangeSwitch {
public:
    explicit Win32MediaChangeSwitch(UniqueHandle handle) : handle_(std::move(handle)) {}

    bool Control(bool prevent, std::uint32_t& bytesReturned) override {
        // The system reads the 4-byte value as PREVENT_MEDIA_REMOVAL.
        DWORD flag = prevent ? TRUE : FALSE;
        DWORD returned = 0;
        const BOOL ok = ::DeviceIoControl(handle_.Get(), IOCTL_STORAGE_MCN_CONTROL, &flag,
                                          sizeof flag, nullptr, 0, &returned, nullptr);
        if (!ok)
            RecordLastError();
        bytesReturned = returned;
        return ok != FALSE;
    }

    bool Close() override {
        if (!handle_.Valid())
            return false;
        const bool ok = handle_.Reset();
        if (!ok)
            RecordLastError();
        return ok;
    }

private:
    UniqueHandle handle_;
};

} // namespace

NativePassThrough ToNativePassThrough(const PassThroughBlock& block, void* dataBuffer) {
    NativePassThrough native{};
    SCSI_PASS_THROUGH_DIRECT& s = native.sptd;
    s.Length = sizeof(SCSI_PASS_THROUGH_DIRECT);
    s.ScsiStatus = block[L::kScsiStatus];
    s.PathId = block[L::kPathId];
    s.TargetId = block[L::kTargetId];
    s.Lun = block[L::kLun];
    s.CdbLength = block[L::kCdbLength];
    // The driver writes at most this many sense bytes: never more than the area holds.
    s.SenseInfoLength =
        static_cast<UCHAR>(std::min<std::size_t>(block[L::kSenseInfoLength], sizeof native.sense));
    s.DataIn = block[L::kDataIn];
    s.DataTransferLength = GetPassThrough32(block, L::kDataTransferLength);
    s.TimeOutValue = GetPassThrough32(block, L::kTimeOutValue);
    s.DataBuffer = dataBuffer;
    s.SenseInfoOffset = offsetof(NativePassThrough, sense);
    std::memcpy(s.Cdb, block.data() + L::kCdb, sizeof s.Cdb);
    std::memcpy(native.sense, block.data() + L::kSense, sizeof native.sense);
    return native;
}

void FromNativePassThrough(const NativePassThrough& native, PassThroughBlock& block) {
    block[L::kScsiStatus] = native.sptd.ScsiStatus;
    std::memcpy(block.data() + L::kSense, native.sense, sizeof native.sense);
}

std::unique_ptr<IScsiDevice> OpenScsiDevice(const std::string& path) {
    UniqueHandle handle(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    if (!handle) {
        RecordLastError();
        return nullptr;
    }
    return std::make_unique<Win32ScsiDevice>(std::move(handle));
}

std::unique_ptr<IMediaChangeSwitch> OpenMediaChange(const std::string& path) {
    UniqueHandle handle(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, nullptr));
    if (!handle) {
        RecordLastError();
        return nullptr;
    }
    return std::make_unique<Win32MediaChangeSwitch>(std::move(handle));
}

} // namespace corvane::os::win32_os
