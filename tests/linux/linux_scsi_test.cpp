#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "linux/fake_block_calls.h"
#include "linux/fake_machine.h"
#include "os/last_error.h"
#include "os/linux/linux_drives.h"

namespace corvane::os::linux_os::testing {
namespace {

using L = PassThroughLayout;

// The block as the command channel builds it: 44-byte header, sense area behind it.
PassThroughBlock Block(std::initializer_list<std::uint8_t> cdb, std::uint8_t direction,
                       std::uint32_t length) {
    PassThroughBlock block{};
    block[L::kLength] = 44;
    block[L::kCdbLength] = static_cast<std::uint8_t>(cdb.size());
    block[L::kSenseInfoLength] = 18;
    block[L::kDataIn] = direction;
    for (int i = 0; i < 4; ++i) {
        block[static_cast<std::size_t>(L::kDataTransferLength + i)] =
            static_cast<std::uint8_t>(length >> (8 * i));
        block[static_cast<std::size_t>(L::kTimeOutValue + i)] =
            static_cast<std::uint8_t>(108000U >> (8 * i));
    }
    block[L::kSenseInfoOffset] = 44;
    std::size_t i = L::kCdb;
    for (std::uint8_t b : cdb)
        block[i++] = b;
    return block;
}

PassThroughBlock Inquiry(std::uint8_t allocation = 254) {
    return Block({0x12, 0, 0, 0, allocation, 0}, kScsiDataIn, 254);
}

std::string Field(const std::vector<std::uint8_t>& data, std::size_t at, std::size_t width) {
    return std::string(data.begin() + static_cast<std::ptrdiff_t>(at),
                       data.begin() + static_cast<std::ptrdiff_t>(at + width));
}

class LinuxScsiTest : public ::testing::Test {
protected:
    LinuxScsiTest() {
        for (const char* node : {"sdb", "mmcblk0", "mmcblk1", "loop3", "nvme0n1", "vda"})
            machine.AddNode(node);
    }
    FakeMachine machine;
    FakeBlockCalls calls;
    std::unique_ptr<IDriveSystem> drives = MakeLinuxDrives(machine.Env(&calls));
};

TEST_F(LinuxScsiTest, DevicesWithoutScsiAnswerAnInquirySynthesisedFromSysfs) {
    const std::string image = machine.root + "/a-rather-long-image-name.img";
    std::ofstream(image) << "x";
    const struct {
        std::string drive;
        std::uint8_t removableBit;
        const char* vendor;
        const char* product;
        const char* revision;
    } cases[] = {
        {"mmcblk0", 0x80, "SD      ", "SD16G           ", "0x0 "},
        {"mmcblk1", 0x00, "0x000045", "DG4032          ", "    "}, // OEM id not text
        {"loop3", 0x00, "Loop    ", "fake stick.img  ", "    "},
        {"nvme0n1", 0x00, "NVMe    ", "Samsung SSD 970 ", "2B2Q"},
        {"vda", 0x00, "Virtio  ", "vda             ", "    "}, // a bus id is no vendor
        {image, 0x00, "File    ", "a-rather-long-im", "    "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drive);
        auto device = drives->OpenScsi(c.drive);
        ASSERT_NE(device, nullptr);
        std::vector<std::uint8_t> data(254, 0xAA);
        PassThroughBlock block = Inquiry();
        std::uint32_t returned = 0;
        ASSERT_TRUE(device->PassThroughDirect(block, data.data(), returned));
        EXPECT_EQ(data[0], 0x00); // connected direct-access device
        EXPECT_EQ(data[1], c.removableBit);
        EXPECT_EQ(data[4], 31);
        EXPECT_EQ(Field(data, 8, 8), c.vendor);
        EXPECT_EQ(Field(data, 16, 16), c.product);
        EXPECT_EQ(Field(data, 32, 4), c.revision);
        EXPECT_EQ(data[36], 0xAA); // nothing beyond the standard data
        EXPECT_EQ(GetPassThrough32(block, L::kDataTransferLength), 36U);
        EXPECT_EQ(block[L::kScsiStatus], 0);
        EXPECT_EQ(block[L::kSense], 0);
    }
    EXPECT_TRUE(calls.requests.empty()); // nothing was sent to a device
}

TEST_F(LinuxScsiTest, SynthesisedInquiryKeepsToTheAllocationLength) {
    auto device = drives->OpenScsi("loop3");
    ASSERT_NE(device, nullptr);
    std::vector<std::uint8_t> data(254, 0xAA);
    PassThroughBlock block = Inquiry(10);
    std::uint32_t returned = 0;
    ASSERT_TRUE(device->PassThroughDirect(block, data.data(), returned));
    EXPECT_EQ(Field(data, 8, 2), "Lo");
    EXPECT_EQ(data[10], 0xAA);
    EXPECT_EQ(GetPassThrough32(block, L::kDataTransferLength), 10U);
}

TEST_F(LinuxScsiTest, DevicesWithoutScsiRefuseEveryOtherCommand) {
    auto device = drives->OpenScsi("mmcblk0");
    ASSERT_NE(device, nullptr);
    const PassThroughBlock refused[] = {
        Block({0x00, 0, 0, 0, 0, 0}, kScsiDataUnspecified, 0),    // TEST UNIT READY
        Block({0x12, 0x01, 0x80, 0, 254, 0}, kScsiDataIn, 254),   // a vital product data page
        Block({0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, kScsiDataIn, 8), // READ CAPACITY
    };
    for (PassThroughBlock block : refused) {
        std::vector<std::uint8_t> data(254, 0);
        std::uint32_t returned = 0;
        SetLastOsError(0);
        EXPECT_FALSE(device->PassThroughDirect(block, data.data(), returned));
        EXPECT_EQ(LastOsError(), static_cast<std::uint32_t>(ENOTTY));
    }
}

TEST_F(LinuxScsiTest, ScsiDisksGetTheCommandThroughSgIo) {
    calls.status = 0x02; // CHECK CONDITION
    for (int i = 0; i < 20; ++i)
        calls.sense.push_back(static_cast<unsigned char>(i == 0 ? 0x70 : i));
    calls.resid = 254 - 36;
    auto device = drives->OpenScsi("sdb");
    ASSERT_NE(device, nullptr);
    std::vector<std::uint8_t> data(254, 0);
    PassThroughBlock block = Inquiry();
    std::uint32_t returned = 0;
    ASSERT_TRUE(device->PassThroughDirect(block, data.data(), returned));

    ASSERT_EQ(calls.requests.size(), 1U);
    const sg_io_hdr_t& sent = calls.requests[0];
    EXPECT_EQ(sent.interface_id, 'S');
    EXPECT_EQ(calls.cdbs[0], (std::vector<unsigned char>{0x12, 0, 0, 0, 0xFE, 0}));
    EXPECT_EQ(sent.dxfer_direction, SG_DXFER_FROM_DEV);
    EXPECT_EQ(sent.dxfer_len, 254U);
    EXPECT_EQ(sent.dxferp, data.data());
    EXPECT_EQ(sent.timeout, 108000U * 1000U); // seconds in the block, milliseconds here
    EXPECT_GE(sent.mx_sb_len, 18);

    EXPECT_EQ(block[L::kScsiStatus], 0x02);
    for (std::size_t i = 0; i < 18; ++i)
        EXPECT_EQ(block[L::kSense + i], calls.sense[i]) << i;
    EXPECT_EQ(block[L::kSense + 18], 0); // 18 sense bytes, no more
    EXPECT_EQ(GetPassThrough32(block, L::kDataTransferLength), 36U);
    EXPECT_EQ(returned, 62U);
}

TEST_F(LinuxScsiTest, SgIoDirections) {
    const struct {
        std::uint8_t direction;
        std::uint32_t length;
        int expected;
    } cases[] = {
        {kScsiDataIn, 512, SG_DXFER_FROM_DEV},
        {kScsiDataOut, 512, SG_DXFER_TO_DEV},
        {kScsiDataIn, 0, SG_DXFER_NONE},
        {kScsiDataUnspecified, 0, SG_DXFER_NONE},
    };
    auto device = drives->OpenScsi("sdb");
    ASSERT_NE(device, nullptr);
    std::vector<std::uint8_t> data(512, 0);
    for (const auto& c : cases) {
        PassThroughBlock block = Block({0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0}, c.direction, c.length);
        std::uint32_t returned = 0;
        EXPECT_TRUE(device->PassThroughDirect(block, data.data(), returned));
        EXPECT_EQ(calls.requests.back().dxfer_direction, c.expected);
        EXPECT_EQ(calls.requests.back().cmd_len, 10);
    }
}

TEST_F(LinuxScsiTest, SgIoFailuresAreFailuresWithTheirError) {
    const struct {
        int ioctlError;
        unsigned short host;
        unsigned short driver;
        int expected;
    } cases[] = {
        {EPERM, 0, 0, EPERM},    {0, 0x01, 0, EIO}, // the device is not connected
        {0, 0x03, 0, ETIMEDOUT},                    // the host timed the command out
        {0, 0, 0x06, ETIMEDOUT},                    // the driver did
        {0, 0, 0x04, EIO},
    };
    auto device = drives->OpenScsi("sdb");
    ASSERT_NE(device, nullptr);
    for (const auto& c : cases) {
        calls.scsiError = c.ioctlError;
        calls.hostStatus = c.host;
        calls.driverStatus = c.driver;
        std::vector<std::uint8_t> data(254, 0);
        PassThroughBlock block = Inquiry();
        std::uint32_t returned = 0;
        SetLastOsError(0);
        EXPECT_FALSE(device->PassThroughDirect(block, data.data(), returned));
        EXPECT_EQ(LastOsError(), static_cast<std::uint32_t>(c.expected));
    }
    // Sense data alone is the caller's to judge: the request itself succeeded.
    calls.scsiError = 0;
    calls.hostStatus = 0;
    calls.driverStatus = 0x08;
    calls.sense = {0x70, 0, 0x05};
    std::vector<std::uint8_t> data(254, 0);
    PassThroughBlock block = Inquiry();
    std::uint32_t returned = 0;
    EXPECT_TRUE(device->PassThroughDirect(block, data.data(), returned));
    EXPECT_EQ(block[L::kSense], 0x70);
}

TEST_F(LinuxScsiTest, AMissingDriveCannotBeOpened) {
    SetLastOsError(0);
    EXPECT_EQ(drives->OpenScsi("sdy"), nullptr);
    EXPECT_EQ(LastOsError(), static_cast<std::uint32_t>(ENOENT));
    EXPECT_EQ(drives->OpenMediaChangeSwitch("sdy"), nullptr);
}

TEST_F(LinuxScsiTest, MediaChangeSwitchOpensButHasNothingToSwitch) {
    auto sw = drives->OpenMediaChangeSwitch("sdb");
    ASSERT_NE(sw, nullptr);
    std::uint32_t returned = 7;
    EXPECT_FALSE(sw->Control(false, returned));
    EXPECT_EQ(LastOsError(), static_cast<std::uint32_t>(ENOTTY));
    EXPECT_TRUE(sw->Close());
}

} // namespace
} // namespace corvane::os::linux_os::testing
