#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "linux/fake_sysfs.h"
#include "linux/volume_helpers.h"
#include "os/last_error.h"
#include "os/linux/linux_drives.h"

namespace corvane::os::linux_os::testing {
namespace {

constexpr std::uint64_t kImageSize = 1 << 20;

// An image file is a drive of its size at opening, reached through the same raw volume.
class ImageVolumeTest : public ::testing::Test {
protected:
    ImageVolumeTest() {
        image = folder.root + "/stick.img";
        FakeSysfs::Write(image, std::string(kImageSize, '\x5A'));
    }
    std::unique_ptr<IRawVolume> Open(VolumeShare share) {
        return drives->OpenVolume(image, VolumeAccess::ReadWrite, share);
    }

    FakeSysfs folder; // only for its temporary folder
    std::string image;
    std::unique_ptr<IDriveSystem> drives = MakeLinuxDrives();
};

TEST_F(ImageVolumeTest, WritesLandInTheFileAndNeverGrowIt) {
    auto volume = Open(VolumeShare::ReadWrite);
    ASSERT_NE(volume, nullptr) << std::strerror(static_cast<int>(LastOsError()));
    const std::vector<std::uint8_t> data = Pattern(4096, 9);
    AlignedBuffer buffer = Aligned(data);
    ASSERT_TRUE(volume->Seek(512));
    IoResult r = volume->Write(buffer.data(), 2048);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, 2048U);
    ASSERT_TRUE(volume->Flush());
    EXPECT_TRUE(FileBytes(image, 512, 2048) ==
                std::vector<std::uint8_t>(data.begin(), data.begin() + 2048));

    ASSERT_TRUE(volume->Seek(kImageSize - 1024));
    r = volume->Write(buffer.data(), 4096);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, 1024U);
    r = volume->Write(buffer.data(), 512);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, static_cast<std::uint32_t>(ENOSPC));
    struct stat st {};
    ASSERT_EQ(stat(image.c_str(), &st), 0);
    EXPECT_EQ(static_cast<std::uint64_t>(st.st_size), kImageSize);

    AlignedBuffer back(4096);
    ASSERT_TRUE(volume->Seek(kImageSize - 1024));
    r = volume->Read(back.data(), 4096);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, 1024U);
    EXPECT_EQ(std::memcmp(back.data(), data.data(), 1024), 0);
}

TEST_F(ImageVolumeTest, AnExclusiveOpenKeepsOthersFromTheLockAndFromExclusiveOpens) {
    auto exclusive = Open(VolumeShare::None);
    ASSERT_NE(exclusive, nullptr);
    EXPECT_EQ(Open(VolumeShare::None), nullptr);
    EXPECT_EQ(LastOsError(), static_cast<std::uint32_t>(EBUSY));
    auto shared = Open(VolumeShare::ReadWrite);
    ASSERT_NE(shared, nullptr);
    EXPECT_FALSE(shared->Lock());
    exclusive.reset();
    EXPECT_TRUE(shared->Lock());
    EXPECT_EQ(Open(VolumeShare::None), nullptr);
    EXPECT_TRUE(shared->Unlock());
    EXPECT_NE(Open(VolumeShare::None), nullptr);
}

TEST_F(ImageVolumeTest, AMissingImageCannotBeOpened) {
    SetLastOsError(0);
    EXPECT_EQ(
        drives->OpenVolume(folder.root + "/none.img", VolumeAccess::Read, VolumeShare::ReadWrite),
        nullptr);
    EXPECT_EQ(LastOsError(), static_cast<std::uint32_t>(ENOENT));
}

} // namespace
} // namespace corvane::os::linux_os::testing
