#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <fcntl.h>

#include "linux/fake_block_calls.h"
#include "linux/fake_machine.h"
#include "os/last_error.h"
#include "os/linux/linux_drives.h"

namespace corvane::os::linux_os::testing {
namespace {

class LinuxGeometryTest : public ::testing::Test {
protected:
    LinuxGeometryTest() { machine.AddNode("sdb"); }
    FakeMachine machine;
    FakeBlockCalls calls;
    std::unique_ptr<IDriveSystem> drives = MakeLinuxDrives(machine.Env(&calls));
};

std::uint64_t Product(const DiskGeometry& g) {
    return g.cylinders * g.tracksPerCylinder * g.sectorsPerTrack * g.bytesPerSector;
}

TEST_F(LinuxGeometryTest, SizeAndSectorFromTheDeviceHeadsFromTheGeometryRequestOrTheFallback) {
    const struct {
        const char* what;
        std::uint64_t size;
        std::uint32_t sector;
        int geometryError;
        unsigned heads;
        unsigned sectorsPerTrack;
        DiskGeometry expected;
    } cases[] = {
        {"16 GB stick, no geometry request",
         16008609792ULL,
         512,
         ENOTTY,
         0,
         0,
         {16008609792ULL / (255 * 63 * 512), 255, 63, 512}},
        {"4096-byte sectors",
         16008609792ULL,
         4096,
         ENOTTY,
         0,
         0,
         {16008609792ULL / (255ULL * 63 * 4096), 255, 63, 4096}},
        {"geometry answered",
         16008609792ULL,
         512,
         0,
         64,
         32,
         {16008609792ULL / (64 * 32 * 512), 64, 32, 512}},
        // 121601 cylinders: more than the request's 16-bit field can carry
        {"1 TB disk", 1000204886016ULL, 512, 0, 255, 63, {121601, 255, 63, 512}},
        {"geometry answered with zero heads", 16008609792ULL, 512, 0, 0, 63, {1946, 255, 63, 512}},
        {"smaller than one cylinder", 4194304, 512, ENOTTY, 0, 0, {0, 255, 63, 512}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        calls.size = c.size;
        calls.sector = c.sector;
        calls.geometryError = c.geometryError;
        calls.geometry = HdGeometry{c.heads, c.sectorsPerTrack};
        const auto g = drives->Geometry("sdb");
        ASSERT_TRUE(g.has_value());
        EXPECT_EQ(g->cylinders, c.expected.cylinders);
        EXPECT_EQ(g->tracksPerCylinder, c.expected.tracksPerCylinder);
        EXPECT_EQ(g->sectorsPerTrack, c.expected.sectorsPerTrack);
        EXPECT_EQ(g->bytesPerSector, c.expected.bytesPerSector);
    }
}

TEST_F(LinuxGeometryTest, The16GbFallbackMatchesWhatWindowsShows) {
    calls.size = kStickSectors * 512;
    const auto g = drives->Geometry("sdb");
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->cylinders, 1946U);
    EXPECT_EQ(Product(*g), 16006394880ULL);
}

TEST_F(LinuxGeometryTest, FailedRequestsGiveNoGeometry) {
    calls.size = 16008609792ULL;
    calls.sizeError = EIO;
    SetLastOsError(0);
    EXPECT_FALSE(drives->Geometry("sdb").has_value());
    EXPECT_EQ(LastOsError(), static_cast<std::uint32_t>(EIO));
    calls.sizeError = 0;
    calls.sectorError = ENOTTY;
    EXPECT_FALSE(drives->Geometry("sdb").has_value());
    EXPECT_FALSE(drives->Geometry("sda").has_value()); // no node to open
    EXPECT_FALSE(drives->Geometry("sdy").has_value()); // no such drive
}

TEST_F(LinuxGeometryTest, AnImageFileHas512ByteSectorsAndItsLength) {
    const std::string image = machine.root + "/stick.img";
    const int fd = open(image.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, static_cast<off_t>(kStickSectors * 512)), 0); // sparse
    close(fd);
    const auto g = drives->Geometry(image);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->bytesPerSector, 512U);
    EXPECT_EQ(g->cylinders, 1946U);
    EXPECT_EQ(Product(*g), 16006394880ULL);
}

class LinuxFreeSpaceTest : public LinuxGeometryTest {
protected:
    LinuxFreeSpaceTest() {
        std::filesystem::create_directories(mountPoint);
        FakeSysfs::Write(machine.sdb + "/queue/logical_block_size", "512\n");
    }
    void Mount(const std::string& devNumber) {
        FakeSysfs::Write(machine.root + "/mountinfo",
                         "27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                         "91 27 " +
                             devNumber + " / " + machine.root +
                             "/media/MY\\040STICK rw,nosuid shared:50 - vfat /dev/x rw\n");
    }
    std::string mountPoint = machine.root + "/media/MY STICK";
};

TEST_F(LinuxFreeSpaceTest, TheFileSystemOnTheDeviceOrItsFirstPartition) {
    struct statvfs vfs {};
    ASSERT_EQ(statvfs(mountPoint.c_str(), &vfs), 0);
    const struct {
        const char* mounted;
        const char* drive;
        bool found;
    } cases[] = {
        {"8:16", "sdb", true}, // the whole disk holds the file system
        {"8:17", "sdb", true}, // its first partition does
        {"8:17", "sdb1", true},
        {"8:18", "sdb", false}, // only a later partition: not the drive's free space
        {"8:18", "sdb1", false},
        {"8:16", "sda", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mounted) + " " + c.drive);
        Mount(c.mounted);
        const auto space = drives->FreeSpace(c.drive);
        ASSERT_EQ(space.has_value(), c.found);
        if (!space)
            continue;
        EXPECT_EQ(space->bytesPerSector, 512U);
        EXPECT_EQ(std::uint64_t{space->sectorsPerCluster} * space->bytesPerSector, vfs.f_frsize);
        // The folder's file system is shared with everything else in /tmp: allow for change.
        const double expected =
            static_cast<double>(vfs.f_bavail) * static_cast<double>(vfs.f_frsize);
        const double got = static_cast<double>(space->freeClusters) * space->sectorsPerCluster *
                           space->bytesPerSector;
        EXPECT_NEAR(got, expected, expected * 0.05 + 1e6);
        EXPECT_EQ(space->totalClusters, vfs.f_blocks);
    }
}

} // namespace
} // namespace corvane::os::linux_os::testing
