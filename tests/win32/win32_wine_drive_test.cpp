// The raw volume through the real Win32 calls on a drive letter whose device is an image file:
// tests/win32/wine_drive.sh links the Wine prefix's "q::" device to the image, names the
// letter in CORVANE_WINE_DRIVE and the expected image in CORVANE_WINE_EXPECTED, runs this
// test alone, and compares the image with the expected one byte for byte afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "drives/inquiry.h"
#include "drives/scsi_command.h"
#include "os/last_error.h"
#include "os/native.h"
#include "sizetest/raw_sector_access.h"

namespace corvane {
namespace {

constexpr std::uint32_t kSector = 512;
constexpr std::uint32_t kBlockSectors = 4;

class NoBoxes : public IMessageBoxHost {
public:
    int MessageBox(const std::string& text, const std::string&, std::uint32_t) override {
        ADD_FAILURE() << "unexpected box: " << text;
        return kIdOk;
    }
};

// A block whose every byte tells the sector it was written at.
std::vector<std::uint8_t> BlockFor(std::uint64_t sector) {
    std::vector<std::uint8_t> block(kBlockSectors * kSector);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>((sector * 7 + i / kSector * 31 + i) & 0xFF);
    return block;
}

TEST(WineDrive, TheTestVolumeMovesEachBlockToItsOffset) {
    const char* letter = std::getenv("CORVANE_WINE_DRIVE");
    const char* expectedPath = std::getenv("CORVANE_WINE_EXPECTED");
    const char* sectors = std::getenv("CORVANE_WINE_SECTORS");
    if (letter == nullptr || expectedPath == nullptr || sectors == nullptr)
        GTEST_SKIP() << "run by tests/win32/wine_drive.sh, which makes the drive";
    const std::string drive = letter;
    const std::uint64_t total = std::strtoull(sectors, nullptr, 10);
    std::unique_ptr<os::Platform> platform = os::MakeNativePlatform();

    std::unique_ptr<os::IRawVolume> volume = OpenTestVolume(*platform->drives, drive);
    ASSERT_NE(volume, nullptr) << "error " << os::LastOsError();
    // The first block and the one after it, a block at an odd sector, one in the middle and the
    // last whole block.
    const std::uint64_t starts[] = {0, 4, 4097, total / 2 + 3, total - kBlockSectors};
    std::vector<std::uint8_t> expected(total * kSector, 0);
    NoBoxes boxes;
    for (const std::uint64_t start : starts) {
        const std::vector<std::uint8_t> block = BlockFor(start);
        EXPECT_EQ(WriteSectors(*volume, start, kBlockSectors, block.data(),
                               static_cast<std::int32_t>(block.size()), kSector, boxes),
                  static_cast<std::int32_t>(block.size()))
            << "write at " << start << ", error " << os::LastOsError();
        std::copy(block.begin(), block.end(), expected.begin() + start * kSector);
    }
    for (const std::uint64_t start : starts) {
        std::vector<std::uint8_t> back(kBlockSectors * kSector);
        EXPECT_EQ(ReadSectors(*volume, start, kBlockSectors, back.data(),
                              static_cast<std::int32_t>(back.size()), kSector),
                  static_cast<std::int32_t>(back.size()))
            << "read at " << start;
        EXPECT_EQ(back, BlockFor(start)) << "read at " << start;
    }
    volume.reset();
    std::ofstream(expectedPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(expected.data()),
               static_cast<std::streamsize>(expected.size()));

    // What Wine answers besides reads and writes, reported for the record: the unit tests
    // with fakes cover each request where Wine has no answer.
    const std::optional<os::DiskGeometry> geometry = platform->drives->Geometry(drive);
    std::printf("wine drive: disk geometry %s\n",
                geometry ? "answered" : ("not answered, error " + std::to_string(os::LastOsError())).c_str());
    const std::optional<std::int32_t> bus = platform->drives->BusType(drive);
    std::printf("wine drive: storage property (bus type) %s\n",
                bus ? ("answered: " + std::to_string(*bus)).c_str()
                    : ("not answered, error " + std::to_string(os::LastOsError())).c_str());
    CScsiCommand channel(*platform->drives, *platform->system);
    std::uint8_t inquiry[kInquiryLength] = {};
    const int sent = channel.associate(drive) == 1 ? SendInquiry(channel, inquiry) : -1;
    std::printf("wine drive: SCSI pass-through INQUIRY %s\n",
                sent == 0 ? "answered" : ("not answered, error " + std::to_string(os::LastOsError())).c_str());
}

} // namespace
} // namespace corvane
