#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <vector>

#include "os/last_error.h"
#include "os/native.h"
#include "win32_temp_folder.h"

namespace corvane {
namespace {

using os::VolumeAccess;
using os::VolumeShare;

// A plain file stands in for a volume: its path is opened as it stands, and the seek, transfer
// and sharing rules are the ones a volume handle follows.
class Win32Volume : public ::testing::Test {
protected:
    void SetUp() override { std::ofstream(path, std::ios::binary) << std::string(4096, 'x'); }

    std::unique_ptr<os::IRawVolume> Open(VolumeAccess access, VolumeShare share) {
        return platform->drives->OpenVolume(path, access, share);
    }
    static std::vector<unsigned char> Pattern(std::size_t size, unsigned char first) {
        std::vector<unsigned char> bytes(size);
        std::iota(bytes.begin(), bytes.end(), first);
        return bytes;
    }

    testing::Win32TempFolder folder;
    const std::string path = folder.Path() + "volume.img";
    std::unique_ptr<os::Platform> platform = os::MakeNativePlatform();
};

TEST_F(Win32Volume, SeeksBeyond4GiBWriteAndReadBack) {
    auto volume = Open(VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
    ASSERT_NE(volume, nullptr) << "error " << os::LastOsError();
    // Sector 8388609 of 512 bytes: the high part of the offset must reach the seek. The second
    // offset's low part is 0xFFFFFFFF, which the seek's failure value looks like.
    const std::uint64_t offsets[] = {(1ull << 32) + 512, (2ull << 32) - 1};
    for (const std::uint64_t offset : offsets) {
        const auto block = Pattern(1024, static_cast<unsigned char>(offset));
        ASSERT_TRUE(volume->Seek(offset)) << offset;
        const os::IoResult written = volume->Write(block.data(), 1024);
        EXPECT_TRUE(written.ok);
        EXPECT_EQ(written.bytes, 1024u);
        ASSERT_TRUE(volume->Flush());

        std::vector<unsigned char> back(1024, 0);
        ASSERT_TRUE(volume->Seek(offset));
        const os::IoResult read = volume->Read(back.data(), 1024);
        EXPECT_TRUE(read.ok);
        EXPECT_EQ(read.bytes, 1024u);
        EXPECT_EQ(back, block) << offset;
    }
    // What was written near 4 GiB did not land at its low 32 bits.
    std::vector<unsigned char> start(1024, 0);
    ASSERT_TRUE(volume->Seek(512));
    volume->Read(start.data(), 1024);
    EXPECT_EQ(start, std::vector<unsigned char>(1024, 'x'));
}

TEST_F(Win32Volume, ReadAtTheEndIsShort) {
    auto volume = Open(VolumeAccess::Read, VolumeShare::ReadWrite);
    ASSERT_NE(volume, nullptr);
    std::vector<unsigned char> buffer(512, 0);
    ASSERT_TRUE(volume->Seek(4096 - 100));
    const os::IoResult tail = volume->Read(buffer.data(), 512);
    EXPECT_TRUE(tail.ok);
    EXPECT_EQ(tail.bytes, 100u);
    const os::IoResult beyond = volume->Read(buffer.data(), 512);
    EXPECT_TRUE(beyond.ok);
    EXPECT_EQ(beyond.bytes, 0u);
}

TEST_F(Win32Volume, FailuresReportTheirCode) {
    auto reader = Open(VolumeAccess::Read, VolumeShare::ReadWrite);
    ASSERT_NE(reader, nullptr);
    const auto block = Pattern(512, 0);
    const os::IoResult write = reader->Write(block.data(), 512);
    EXPECT_FALSE(write.ok);
    EXPECT_EQ(write.bytes, 0u);
    EXPECT_EQ(write.error, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(os::LastOsError(), write.error);

    // Offsets past 2^63 are negative to the system.
    EXPECT_FALSE(reader->Seek(1ull << 63));
    EXPECT_EQ(os::LastOsError(), static_cast<std::uint32_t>(ERROR_NEGATIVE_SEEK));

    // The one-shot read asks for no sharing, so it is refused while another handle is open.
    EXPECT_EQ(Open(VolumeAccess::Read, VolumeShare::None), nullptr);
    EXPECT_EQ(os::LastOsError(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    reader.reset();
    EXPECT_NE(Open(VolumeAccess::Read, VolumeShare::None), nullptr);

    EXPECT_EQ(platform->drives->OpenVolume(folder.Path() + "absent.img", VolumeAccess::Read,
                                           VolumeShare::ReadWrite),
              nullptr);
    EXPECT_EQ(os::LastOsError(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}

} // namespace
} // namespace corvane
