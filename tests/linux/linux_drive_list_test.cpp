#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <fstream>

#include "linux/fake_machine.h"
#include "os/last_error.h"
#include "os/linux/linux_drives.h"

namespace corvane::os::linux_os::testing {
namespace {

class LinuxDriveListTest : public ::testing::Test {
protected:
    FakeMachine machine;
    std::unique_ptr<IDriveSystem> drives = MakeLinuxDrives(machine.Env());

    std::string ImageFile() {
        const std::string path = machine.root + "/stick.img";
        std::ofstream(path) << "image";
        return path;
    }
};

TEST_F(LinuxDriveListTest, ListsDrivableBlockDevicesInNaturalOrder) {
    const auto names = drives->LogicalDriveStrings();
    ASSERT_TRUE(names.has_value());
    // Not listed: loop0 (size 0), ram0, zram0, dm-0, and partitions.
    EXPECT_EQ(*names, (std::vector<std::string>{"loop3", "loop12", "mmcblk0", "mmcblk1", "nvme0n1",
                                                "sda", "sdb", "sdc", "sr0", "vda"}));
}

TEST_F(LinuxDriveListTest, NoBlockFolderMeansTheDrivesCannotBeListed) {
    std::filesystem::remove_all(machine.sys + "/block");
    EXPECT_FALSE(drives->LogicalDriveStrings().has_value());
}

TEST_F(LinuxDriveListTest, DriveTypes) {
    const std::string image = ImageFile();
    const struct {
        std::string drive;
        DriveType type;
    } cases[] = {
        {"sdb", kDriveRemovable},
        {"sdb1", kDriveRemovable}, // a partition: its disk's
        {"sda", kDriveFixed},
        {"sdc", kDriveFixed},
        {"sr0", kDriveCdrom},
        {"mmcblk0", kDriveRemovable}, // SD card, removable 0
        {"mmcblk1", kDriveFixed},
        {"nvme0n1", kDriveFixed},
        {"loop3", kDriveFixed},
        {"ram0", kDriveRamdisk},
        {"zram0", kDriveRamdisk},
        {image, kDriveFixed},
        {"sdz", kDriveNoRootDir},
        {"", kDriveNoRootDir},
        {"..", kDriveNoRootDir},
        {machine.root + "/none", kDriveNoRootDir},
        {machine.root, kDriveNoRootDir}, // a folder
    };
    for (const auto& c : cases)
        EXPECT_EQ(drives->GetDriveType(c.drive), c.type) << c.drive;
}

TEST_F(LinuxDriveListTest, BusTypesFromTheDevicePath) {
    const struct {
        std::string drive;
        std::optional<std::int32_t> bus;
    } cases[] = {
        {"sdb", 7},
        {"sdb1", 7},
        {"sda", 11},
        {"sdc", 3},
        {"sr0", 11},
        {"mmcblk0", 12},
        {"mmcblk1", 13},
        {"nvme0n1", 17},
        {"vda", 14},
        {"loop3", std::nullopt},
        {"ram0", std::nullopt},
        {ImageFile(), std::nullopt},
        {"sdz", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(drives->BusType(c.drive), c.bus) << c.drive;
}

// A /dev entry that is not the device sysfs named (stale, or made by someone else) must never
// be opened in its place.
TEST_F(LinuxDriveListTest, ANodeOfAnotherDeviceIsNeverOpened) {
    std::string other;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
        struct stat st {};
        if (stat(entry.path().c_str(), &st) == 0 && S_ISBLK(st.st_mode)) {
            other = entry.path().string();
            break;
        }
    }
    if (other.empty())
        GTEST_SKIP() << "no block device on this machine to stand for a stale node";
    std::filesystem::create_symlink(other, machine.dev + "/sdb");

    const std::uint32_t enodev = static_cast<std::uint32_t>(ENODEV);
    SetLastOsError(0);
    EXPECT_EQ(drives->OpenVolume("sdb", VolumeAccess::Read, VolumeShare::ReadWrite), nullptr);
    EXPECT_EQ(LastOsError(), enodev);
    SetLastOsError(0);
    EXPECT_EQ(drives->OpenScsi("sdb"), nullptr);
    EXPECT_EQ(LastOsError(), enodev);
    SetLastOsError(0);
    EXPECT_FALSE(drives->Geometry("sdb").has_value());
    EXPECT_EQ(LastOsError(), enodev);
}

TEST(LinuxBusType, OnlyThePathBelowTheSysfsRootCounts) {
    // A tree kept below a folder called "usb1" must not make its SATA disk a USB one.
    FakeSysfs outer;
    std::filesystem::create_directory(outer.root + "/usb1");
    FakeMachine machine(outer.root + "/usb1");
    const auto drives = MakeLinuxDrives(machine.Env());
    EXPECT_EQ(drives->BusType("sda"), 11);
    EXPECT_EQ(drives->BusType("loop3"), std::nullopt);
}

} // namespace
} // namespace corvane::os::linux_os::testing
