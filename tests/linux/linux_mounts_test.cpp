#include <gtest/gtest.h>

#include <fstream>

#include "linux/fake_machine.h"
#include "os/linux/linux_mounts.h"
#include "os/linux/linux_target.h"

namespace corvane::os::linux_os::testing {
namespace {

TEST(LinuxMountInfo, ParsesFieldsAndUndoesEscapes) {
    const auto mounts = ParseMountInfo(
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard\n"
        "91 27 8:17 / /media/user/MY\\040STICK rw,nosuid shared:50 master:3 - vfat /dev/sdb1 "
        "rw,uid=1000\n"
        "92 27 8:18 /sub\\011dir /mnt/back\\134slash rw - ext4 /dev/disk\\040one rw\n"
        "garbage line\n"
        "93 27 8:19 / /mnt/no-separator rw ext4 /dev/sdb3 rw\n"
        "94 27 x:y / /mnt/bad-number rw - ext4 /dev/sdb4 rw\n"
        "95 27 0:45 / /mnt/unterminated\\04 rw - btrfs /dev/sdc1 rw");
    ASSERT_EQ(mounts.size(), 4U);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[0].major, 254U);
    EXPECT_EQ(mounts[0].minor, 0U);
    EXPECT_EQ(mounts[0].source, "/dev/vda");
    EXPECT_EQ(mounts[1].mountPoint, "/media/user/MY STICK");
    EXPECT_EQ(mounts[1].fsType, "vfat"); // found after the optional fields
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[1].minor, 17U);
    EXPECT_EQ(mounts[2].root, "/sub\tdir");
    EXPECT_EQ(mounts[2].mountPoint, "/mnt/back\\slash");
    EXPECT_EQ(mounts[2].source, "/dev/disk one");
    EXPECT_EQ(mounts[3].mountPoint, "/mnt/unterminated\\04"); // a cut escape stays as it is
    EXPECT_EQ(mounts[3].source, "/dev/sdc1");
}

TEST(LinuxMountInfo, SwapsSkipTheHeader) {
    EXPECT_EQ(ParseSwaps("Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
                         "/dev/sdb2                               partition\t1048572\t\t0\t\t-2\n"
                         "/swap\\040file                          file\t\t524284\t\t0\t\t-3\n"),
              (std::vector<std::string>{"/dev/sdb2", "/swap file"}));
    EXPECT_TRUE(ParseSwaps("Filename\tType\tSize\tUsed\tPriority\n").empty());
}

// The fake machine with its root file system on an encrypted volume dm-0 over sda2, /boot on
// sda1, a stick partition mounted twice and its second partition as swap, and an image file
// behind loop3, which is mounted.
class LinuxTargetTest : public ::testing::Test {
protected:
    LinuxTargetTest() {
        machine.AddHolder(machine.sda2, machine.dm0);
        image = machine.root + "/fake stick.img";
        std::ofstream(image) << "image";
        FakeSysfs::Write(machine.loop3 + "/loop/backing_file", image + "\n");
        FakeSysfs::Write(machine.root + "/mountinfo",
                         "27 1 253:0 / / rw - ext4 /dev/mapper/root rw\n"
                         "28 27 8:1 / /boot rw - ext4 /dev/sda1 rw\n"
                         "91 27 8:17 / /media/user/MY\\040STICK rw - vfat /dev/sdb1 rw\n"
                         "92 27 8:17 /photos /srv/photos rw - vfat /dev/sdb1 rw\n"
                         "93 27 7:3 / /mnt/image rw - ext2 /dev/loop3 rw\n");
        FakeSysfs::Write(machine.root + "/swaps", "Filename\tType\tSize\tUsed\tPriority\n" +
                                                      machine.dev +
                                                      "/sdb2 partition 1048572 0 -2\n");
        env = machine.Env();
    }

    static std::vector<std::string> MountPoints(const TargetDescription& t) {
        std::vector<std::string> points;
        for (const auto& m : t.mounts)
            points.push_back(m.device + " " + m.mountPoint + (m.system ? " system" : ""));
        return points;
    }

    FakeMachine machine;
    std::string image;
    LinuxDriveEnv env;
};

TEST_F(LinuxTargetTest, AStickWithMountedPartitionsAndSwap) {
    const TargetDescription t = DescribeTarget(env, "sdb");
    EXPECT_EQ(t.kind, TargetDescription::Kind::BlockDevice);
    EXPECT_EQ(t.wholeDisk, "sdb");
    EXPECT_FALSE(t.partition);
    EXPECT_TRUE(t.removable);
    EXPECT_EQ(MountPoints(t),
              (std::vector<std::string>{"sdb1 /media/user/MY STICK", "sdb1 /srv/photos"}));
    EXPECT_EQ(t.swaps, (std::vector<std::string>{machine.dev + "/sdb2"}));
    EXPECT_FALSE(t.HoldsRoot());
    EXPECT_TRUE(t.HoldsSystem()); // swap in use
}

TEST_F(LinuxTargetTest, ARootBehindADeviceMapperHolderIsFound) {
    const TargetDescription t = DescribeTarget(env, "sda");
    EXPECT_FALSE(t.removable);
    EXPECT_EQ(t.holders, (std::vector<std::string>{"dm-0"}));
    EXPECT_EQ(MountPoints(t), (std::vector<std::string>{"dm-0 / system", "sda1 /boot system"}));
    EXPECT_TRUE(t.HoldsRoot());
    EXPECT_TRUE(t.HoldsSystem());

    const TargetDescription part = DescribeTarget(env, "sda2");
    EXPECT_TRUE(part.partition);
    EXPECT_EQ(part.wholeDisk, "sda");
    EXPECT_EQ(MountPoints(part), (std::vector<std::string>{"dm-0 / system"}));
}

TEST_F(LinuxTargetTest, APartitionReportsOnlyItsOwnMounts) {
    const TargetDescription t = DescribeTarget(env, "sdb2");
    EXPECT_TRUE(t.partition);
    EXPECT_TRUE(t.removable); // the whole disk's attribute
    EXPECT_TRUE(t.mounts.empty());
    EXPECT_EQ(t.swaps.size(), 1U);
}

TEST_F(LinuxTargetTest, AnImageFileReportsTheMountsOfItsLoopDevice) {
    const TargetDescription t = DescribeTarget(env, image);
    EXPECT_EQ(t.kind, TargetDescription::Kind::RegularFile);
    EXPECT_EQ(t.name, "fake stick.img");
    EXPECT_TRUE(t.wholeDisk.empty());
    EXPECT_EQ(t.holders, (std::vector<std::string>{"loop3"}));
    EXPECT_EQ(MountPoints(t), (std::vector<std::string>{"loop3 /mnt/image"}));
    EXPECT_FALSE(t.HoldsSystem());
}

TEST_F(LinuxTargetTest, UnmountedAndMissingTargets) {
    const TargetDescription cd = DescribeTarget(env, "sr0");
    EXPECT_EQ(cd.kind, TargetDescription::Kind::BlockDevice);
    EXPECT_TRUE(cd.mounts.empty());
    EXPECT_FALSE(cd.HoldsSystem());
    EXPECT_EQ(DescribeTarget(env, "sdy").kind, TargetDescription::Kind::Missing);
    EXPECT_EQ(DescribeTarget(env, machine.root + "/none").kind, TargetDescription::Kind::Missing);
    EXPECT_EQ(DescribeTarget(env, machine.root).kind, TargetDescription::Kind::Other);
}

} // namespace
} // namespace corvane::os::linux_os::testing
