#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "linux/loop_device.h"
#include "linux/volume_helpers.h"
#include "os/last_error.h"
#include "os/linux/linux_drives.h"
#include "os/linux/linux_mounts.h"
#include "os/linux/linux_target.h"

namespace corvane::os::linux_os::testing {
namespace {

constexpr std::uint64_t kMiB = 1ULL << 20;
// Past 4 GiB, so positions need the high half of the offset.
constexpr std::uint64_t kLoopSize = 5 * 1024 * kMiB;

const std::uint32_t kEbusy = static_cast<std::uint32_t>(EBUSY);

// Real loop devices: run as root on a machine with loop support, skipped elsewhere.
class LoopVolumeTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string whyNot;
        loop = LoopDevice::Attach(kLoopSize, whyNot);
        if (!loop)
            GTEST_SKIP() << whyNot;
    }

    std::unique_ptr<IRawVolume> Open(VolumeShare share = VolumeShare::ReadWrite,
                                     VolumeAccess access = VolumeAccess::ReadWrite) {
        return drives->OpenVolume(loop->device, access, share);
    }

    std::unique_ptr<LoopDevice> loop;
    std::unique_ptr<IDriveSystem> drives = MakeLinuxDrives();
};

TEST_F(LoopVolumeTest, WritesReachTheDeviceAndReadBack) {
    auto volume = Open();
    ASSERT_NE(volume, nullptr) << LastOsError();
    const std::vector<std::uint8_t> data = Pattern(4 * 512, 1);
    AlignedBuffer buffer = Aligned(data);
    for (const std::uint64_t offset :
         {std::uint64_t{0}, std::uint64_t{7 * 512}, 4 * 1024 * kMiB + 3 * 512}) {
        SCOPED_TRACE(offset);
        ASSERT_TRUE(volume->Seek(offset));
        const IoResult written = volume->Write(buffer.data(), 2048);
        ASSERT_TRUE(written.ok) << written.error;
        EXPECT_EQ(written.bytes, 2048U);
        ASSERT_TRUE(volume->Flush());
        EXPECT_EQ(FileBytes(loop->backing, offset, 2048), data);

        AlignedBuffer back(2048);
        ASSERT_TRUE(volume->Seek(offset));
        const IoResult read = volume->Read(back.data(), 2048);
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.bytes, 2048U);
        EXPECT_EQ(std::memcmp(back.data(), data.data(), 2048), 0);
    }
}

// What sets a raw volume apart from a buffered one: a read right after a write must come from
// the device. The bytes are changed behind the loop device, in its backing file; a volume
// served from /dev/loopN's page cache still sees what it wrote.
TEST_F(LoopVolumeTest, ReadBackComesFromTheDeviceNotThePageCache) {
    auto volume = Open();
    ASSERT_NE(volume, nullptr) << LastOsError();
    const std::uint64_t offset = 64 * kMiB;
    AlignedBuffer written = Aligned(Pattern(2048, 1));
    ASSERT_TRUE(volume->Seek(offset));
    ASSERT_TRUE(volume->Write(written.data(), 2048).ok);
    ASSERT_TRUE(volume->Flush());
    AlignedBuffer back(2048);
    ASSERT_TRUE(volume->Seek(offset));
    ASSERT_TRUE(volume->Read(back.data(), 2048).ok);
    ASSERT_EQ(std::memcmp(back.data(), written.data(), 2048), 0);

    const std::vector<std::uint8_t> changed = Pattern(2048, 99);
    ASSERT_TRUE(PutFileBytes(loop->backing, offset, changed));
    ASSERT_TRUE(volume->Seek(offset));
    ASSERT_TRUE(volume->Read(back.data(), 2048).ok);
    EXPECT_EQ(std::memcmp(back.data(), changed.data(), 2048), 0)
        << "the read was served from a cache, not from the device";
}

TEST_F(LoopVolumeTest, ExclusiveOpensAndTheLockExcludeEachOther) {
    auto exclusive = Open(VolumeShare::None);
    ASSERT_NE(exclusive, nullptr) << LastOsError();
    SetLastOsError(0);
    EXPECT_EQ(Open(VolumeShare::None, VolumeAccess::Read), nullptr);
    EXPECT_EQ(LastOsError(), kEbusy);

    // A shared open still succeeds, but cannot take the lock while the exclusive one lives.
    auto shared = Open();
    ASSERT_NE(shared, nullptr);
    EXPECT_FALSE(shared->Lock());
    EXPECT_EQ(LastOsError(), kEbusy);
    exclusive.reset();
    EXPECT_TRUE(shared->Lock());
    EXPECT_EQ(Open(VolumeShare::None, VolumeAccess::Read), nullptr);
    EXPECT_EQ(LastOsError(), kEbusy);
    EXPECT_TRUE(shared->Unlock());
    EXPECT_FALSE(shared->Unlock()); // no longer locked
    EXPECT_NE(Open(VolumeShare::None, VolumeAccess::Read), nullptr);
}

TEST_F(LoopVolumeTest, TransfersOverTheEndAreShort) {
    auto volume = Open();
    ASSERT_NE(volume, nullptr);
    AlignedBuffer data = Aligned(Pattern(4096, 3));
    ASSERT_TRUE(volume->Seek(kLoopSize - 1024));
    IoResult r = volume->Write(data.data(), 4096);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, 1024U);
    ASSERT_TRUE(volume->Seek(kLoopSize - 1024));
    AlignedBuffer back(4096);
    r = volume->Read(back.data(), 4096);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, 1024U);
    EXPECT_EQ(std::memcmp(back.data(), data.data(), 1024), 0);

    // At the end: nothing to read, and a write has nowhere to go.
    r = volume->Read(back.data(), 512);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, 0U);
    r = volume->Write(data.data(), 512);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, static_cast<std::uint32_t>(ENOSPC));
    EXPECT_EQ(LastOsError(), static_cast<std::uint32_t>(ENOSPC));
}

TEST_F(LoopVolumeTest, UnalignedBuffersAndLengthsGoThroughABounceBuffer) {
    std::vector<std::uint8_t> expected = Pattern(8 * kMiB, 50);
    ASSERT_TRUE(PutFileBytes(loop->backing, 0, expected));
    auto volume = Open();
    ASSERT_NE(volume, nullptr);

    const struct {
        std::uint64_t offset;
        std::size_t length;
    } cases[] = {
        {4096, 2048},                  // whole sectors from a buffer that is not aligned
        {700, 1000},                   // partial sectors at both ends
        {512 * 9 + 5, 3 * kMiB + 123}, // longer than the bounce buffer
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        const std::vector<std::uint8_t> data =
            Pattern(c.length, static_cast<std::uint8_t>(c.offset));
        std::vector<std::uint8_t> misaligned(c.length + 1);
        std::copy(data.begin(), data.end(), misaligned.begin() + 1);
        ASSERT_TRUE(volume->Seek(c.offset));
        const IoResult w =
            volume->Write(misaligned.data() + 1, static_cast<std::uint32_t>(c.length));
        ASSERT_TRUE(w.ok) << w.error;
        EXPECT_EQ(w.bytes, c.length);
        ASSERT_TRUE(volume->Flush());

        // The bytes around the write are kept.
        std::copy(data.begin(), data.end(),
                  expected.begin() + static_cast<std::ptrdiff_t>(c.offset));
        const std::vector<std::uint8_t> got = FileBytes(loop->backing, 0, expected.size());
        ASSERT_EQ(got.size(), expected.size());
        EXPECT_TRUE(got == expected);

        std::vector<std::uint8_t> back(c.length + 1, 0);
        ASSERT_TRUE(volume->Seek(c.offset));
        const IoResult r = volume->Read(back.data() + 1, static_cast<std::uint32_t>(c.length));
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.bytes, c.length);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin() + 1));
    }
}

TEST_F(LoopVolumeTest, TheMachinesOwnSysfsDescribesTheLoopDevice) {
    const auto names = drives->LogicalDriveStrings();
    ASSERT_TRUE(names.has_value());
    EXPECT_NE(std::find(names->begin(), names->end(), loop->name), names->end());
    EXPECT_EQ(drives->GetDriveType(loop->name), kDriveFixed);
    EXPECT_EQ(drives->BusType(loop->name), std::nullopt);

    for (const std::string& drive : {loop->name, loop->device}) {
        SCOPED_TRACE(drive);
        const auto g = drives->Geometry(drive);
        ASSERT_TRUE(g.has_value()) << LastOsError();
        EXPECT_EQ(g->bytesPerSector, 512U);
        EXPECT_EQ(g->tracksPerCylinder, 255U); // the loop driver has no geometry
        EXPECT_EQ(g->sectorsPerTrack, 63U);
        EXPECT_EQ(g->cylinders, kLoopSize / (255 * 63 * 512));
    }

    auto scsi = drives->OpenScsi(loop->name);
    ASSERT_NE(scsi, nullptr);
    PassThroughBlock block{};
    block[PassThroughLayout::kCdbLength] = 6;
    block[PassThroughLayout::kSenseInfoLength] = 18;
    block[PassThroughLayout::kDataIn] = kScsiDataIn;
    block[PassThroughLayout::kDataTransferLength] = 254;
    block[PassThroughLayout::kCdb] = 0x12;
    block[PassThroughLayout::kCdb + 4] = 254;
    std::vector<std::uint8_t> data(254, 0);
    std::uint32_t returned = 0;
    ASSERT_TRUE(scsi->PassThroughDirect(block, data.data(), returned));
    // The product is the backing file's name ("corvane-loop-XXXXXX", 19 characters), cut.
    const std::string product(data.begin() + 16, data.begin() + 32);
    EXPECT_EQ(product, std::filesystem::path(loop->backing).filename().string().substr(0, 16));
}

// A file system mounted from the device: the lock is refused until it is unmounted, a busy
// one stays mounted.
class MountedLoopTest : public LoopVolumeTest {
protected:
    void SetUp() override {
        LoopVolumeTest::SetUp();
        if (IsSkipped())
            return;
        std::string output;
        if (LoopDevice::Run("mke2fs -q -F " + loop->device + " 2>&1", output) != 0)
            GTEST_SKIP() << "cannot make a file system: " << output;
        char pattern[] = "/tmp/corvane-mount-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        mountPoint = folder + "/stick one";
        std::filesystem::create_directory(mountPoint);
        if (mount(loop->device.c_str(), mountPoint.c_str(), "ext2", 0, nullptr) != 0)
            GTEST_SKIP() << "cannot mount: " << std::strerror(errno);
    }
    void TearDown() override {
        if (!mountPoint.empty() && Mounted())
            umount2(mountPoint.c_str(), MNT_DETACH);
        std::error_code ec;
        if (!folder.empty())
            std::filesystem::remove_all(folder, ec);
    }
    bool Mounted() const {
        const auto mounts = ParseMountInfo(ReadWholeFile("/proc/self/mountinfo"));
        return std::any_of(mounts.begin(), mounts.end(),
                           [&](const MountEntry& m) { return m.mountPoint == mountPoint; });
    }

    std::string folder;
    std::string mountPoint;
};

TEST_F(MountedLoopTest, DescribeTargetShowsTheMountAndFreeSpaceReadsIt) {
    const TargetDescription t = DescribeTarget(loop->device);
    EXPECT_EQ(t.kind, TargetDescription::Kind::BlockDevice);
    ASSERT_EQ(t.mounts.size(), 1U);
    EXPECT_EQ(t.mounts[0].mountPoint, mountPoint);
    EXPECT_EQ(t.mounts[0].device, loop->name);
    EXPECT_FALSE(t.HoldsSystem());
    const TargetDescription image = DescribeTarget(loop->backing);
    EXPECT_EQ(image.holders, (std::vector<std::string>{loop->name}));
    EXPECT_EQ(image.mounts.size(), 1U);

    const auto space = drives->FreeSpace(loop->name);
    ASSERT_TRUE(space.has_value());
    EXPECT_GT(space->freeClusters, 0U);
    EXPECT_GT(space->totalClusters, space->freeClusters);
}

TEST_F(MountedLoopTest, DismountUnmountsAndTakesTheRefusedLock) {
    auto volume = Open();
    ASSERT_NE(volume, nullptr);
    EXPECT_FALSE(volume->Lock());
    EXPECT_EQ(LastOsError(), kEbusy);

    {
        // A file open on it keeps the file system busy: it must stay mounted.
        std::ofstream busy(mountPoint + "/open file");
        ASSERT_TRUE(busy.is_open());
        EXPECT_FALSE(volume->Dismount());
        EXPECT_EQ(LastOsError(), kEbusy);
        EXPECT_TRUE(Mounted());
    }

    EXPECT_TRUE(volume->Dismount());
    EXPECT_FALSE(Mounted());
    // The lock asked for before is held now.
    EXPECT_EQ(Open(VolumeShare::None, VolumeAccess::Read), nullptr);
    EXPECT_EQ(LastOsError(), kEbusy);
    EXPECT_TRUE(volume->Unlock());
    EXPECT_NE(Open(VolumeShare::None, VolumeAccess::Read), nullptr);
}

} // namespace
} // namespace corvane::os::linux_os::testing
