#include <windows.h>

#include <winioctl.h>

#include <cstddef>
#include <cstring>

#include "os/win32/win32_handle.h"
#include "os/win32/win32_os.h"
#include "os/win32/win32_scsi.h"
#include "os/win32/win32_volume.h"

namespace corvane::os::win32_os {
namespace {

// Room for 26 entries of four characters ("E:\" and its NUL) and the final NUL.
constexpr DWORD kDriveStringsChars = 105;
// The storage device descriptor with room for its identity strings.
constexpr DWORD kDeviceDescriptorBytes = 551;

class Win32DriveSystem : public IDriveSystem {
public:
    std::optional<std::vector<std::string>> LogicalDriveStrings() override {
        char buffer[kDriveStringsChars] = {};
        const DWORD length = ::GetLogicalDriveStringsA(kDriveStringsChars, buffer);
        if (length == 0) {
            RecordLastError();
            return std::nullopt;
        }
        // A length above the buffer is the size the system would have needed; only what fits
        // was written, and the zeroed rest ends the walk.
        const std::size_t end = length < kDriveStringsChars ? length : kDriveStringsChars - 1;
        std::vector<std::string> drives;
        std::size_t at = 0;
        while (at < end && buffer[at] != '\0') {
            const std::size_t size = strnlen(buffer + at, end - at);
            drives.emplace_back(buffer + at, size);
            at += size + 1;
        }
        return drives;
    }

    DriveType GetDriveType(const std::string& drive) override {
        return static_cast<DriveType>(::GetDriveTypeA(RootPath(drive).c_str()));
    }

    std::optional<std::int32_t> BusType(const std::string& drive) override {
        if (drive.empty())
            return std::nullopt;
        const char letter = drive[0];
        const std::string root = std::string(1, letter) + ":\\";
        switch (::GetDriveTypeA(root.c_str())) {
        case DRIVE_REMOVABLE:
        case DRIVE_FIXED:
        case DRIVE_CDROM:
        case DRIVE_RAMDISK:
            break;
        default:
            return std::nullopt; // a remote drive is never queried
        }
        const std::string path = std::string("\\\\?\\") + letter + ":";
        UniqueHandle handle(::CreateFileA(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        if (!handle) {
            RecordLastError();
            return std::nullopt;
        }
        STORAGE_PROPERTY_QUERY query{};
        query.PropertyId = StorageDeviceProperty;
        query.QueryType = PropertyStandardQuery;
        static_assert(sizeof query == 12);
        alignas(STORAGE_DEVICE_DESCRIPTOR) unsigned char descriptor[kDeviceDescriptorBytes] = {};
        DWORD returned = 0;
        if (!::DeviceIoControl(handle.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query,
                               descriptor, sizeof descriptor, &returned, nullptr)) {
            RecordLastError();
            return std::nullopt;
        }
        constexpr std::size_t busEnd = offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) +
                                       sizeof(STORAGE_DEVICE_DESCRIPTOR::BusType);
        if (returned < busEnd)
            return std::nullopt; // the answer stops before the field: no bus type was learned
        STORAGE_BUS_TYPE bus{};
        std::memcpy(&bus, descriptor + offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType), sizeof bus);
        return static_cast<std::int32_t>(bus);
    }

    std::optional<DiskGeometry> Geometry(const std::string& drive) override {
        const std::optional<std::string> path = DevicePath(drive);
        if (!path)
            return std::nullopt;
        UniqueHandle handle(::CreateFileA(path->c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        if (!handle) {
            RecordLastError();
            return std::nullopt;
        }
        DISK_GEOMETRY native{};
        DWORD returned = 0;
        if (!::DeviceIoControl(handle.Get(), IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &native,
                               sizeof native, &returned, nullptr)) {
            RecordLastError();
            return std::nullopt;
        }
        DiskGeometry geometry;
        geometry.cylinders = static_cast<std::uint64_t>(native.Cylinders.QuadPart);
        geometry.tracksPerCylinder = native.TracksPerCylinder;
        geometry.sectorsPerTrack = native.SectorsPerTrack;
        geometry.bytesPerSector = native.BytesPerSector;
        return geometry;
    }

    std::optional<DiskFreeSpace> FreeSpace(const std::string& drive) override {
        DWORD sectorsPerCluster = 0;
        DWORD bytesPerSector = 0;
        DWORD freeClusters = 0;
        DWORD totalClusters = 0;
        if (!::GetDiskFreeSpaceA(RootPath(drive).c_str(), &sectorsPerCluster, &bytesPerSector,
                                 &freeClusters, &totalClusters)) {
            RecordLastError();
            return std::nullopt;
        }
        return DiskFreeSpace{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
    }

    std::unique_ptr<IScsiDevice> OpenScsi(const std::string& drive) override {
        const std::optional<std::string> path = DevicePath(drive);
        return path ? OpenScsiDevice(*path) : nullptr;
    }

    std::unique_ptr<IMediaChangeSwitch> OpenMediaChangeSwitch(const std::string& drive) override {
        const std::optional<std::string> path = DevicePath(drive);
        return path ? OpenMediaChange(*path) : nullptr;
    }

    std::unique_ptr<IRawVolume> OpenVolume(const std::string& drive, VolumeAccess access,
                                           VolumeShare share) override {
        const std::optional<std::string> path = DevicePath(drive);
        return path ? OpenRawVolume(*path, access, share) : nullptr;
    }
};

} // namespace

std::unique_ptr<IDriveSystem> MakeWin32Drives() {
    return std::make_unique<Win32DriveSystem>();
}

} // namespace corvane::os::win32_os
