#include <gtest/gtest.h>

#include <cstring>

#include "os/win32/win32_scsi.h"

namespace corvane {
namespace {

using L = os::PassThroughLayout;

void PutU32(os::PassThroughBlock& block, int at, std::uint32_t value) {
    std::memcpy(block.data() + at, &value, sizeof value);
}

TEST(Win32PassThrough, NativeStructureHasTheSizeOfThisBuild) {
    EXPECT_EQ(sizeof(SCSI_PASS_THROUGH_DIRECT), sizeof(void*) == 8 ? 56u : 44u);
    EXPECT_EQ(os::win32_os::kPassThroughInSize, sizeof(SCSI_PASS_THROUGH_DIRECT));
    EXPECT_EQ(os::win32_os::kPassThroughOutSize, sizeof(SCSI_PASS_THROUGH_DIRECT) + 20);
}

// The INQUIRY as the command channel builds it, carried into the native layout.
TEST(Win32PassThrough, PortableBlockBecomesTheNativeRequest) {
    os::PassThroughBlock block{};
    block[L::kLength] = 44;
    block[L::kCdbLength] = 6;
    block[L::kSenseInfoLength] = 18;
    block[L::kDataIn] = os::kScsiDataIn;
    PutU32(block, L::kDataTransferLength, 254);
    PutU32(block, L::kTimeOutValue, 108000);
    PutU32(block, L::kSenseInfoOffset, 44);
    block[L::kCdb + 0] = 0x12;
    block[L::kCdb + 4] = 0xFE;
    unsigned char data[254] = {};

    const auto native = os::win32_os::ToNativePassThrough(block, data);
    EXPECT_EQ(native.sptd.Length, sizeof(SCSI_PASS_THROUGH_DIRECT));
    EXPECT_EQ(native.sptd.CdbLength, 6);
    EXPECT_EQ(native.sptd.SenseInfoLength, 18);
    EXPECT_EQ(native.sptd.DataIn, os::kScsiDataIn);
    EXPECT_EQ(native.sptd.DataTransferLength, 254u);
    EXPECT_EQ(native.sptd.TimeOutValue, 108000u);
    EXPECT_EQ(native.sptd.DataBuffer, static_cast<void*>(data));
    EXPECT_EQ(native.sptd.SenseInfoOffset, sizeof(SCSI_PASS_THROUGH_DIRECT));
    EXPECT_EQ(native.sptd.Cdb[0], 0x12);
    EXPECT_EQ(native.sptd.Cdb[4], 0xFE);
    EXPECT_EQ(native.sptd.Cdb[5], 0);
}

TEST(Win32PassThrough, StatusAndSenseComeBackIntoTheBlock) {
    os::PassThroughBlock block{};
    block[L::kCdbLength] = 6;
    auto native = os::win32_os::ToNativePassThrough(block, nullptr);
    native.sptd.ScsiStatus = 0x02; // CHECK CONDITION
    for (std::size_t i = 0; i < sizeof native.sense; ++i)
        native.sense[i] = static_cast<UCHAR>(0x70 + i);

    os::win32_os::FromNativePassThrough(native, block);
    EXPECT_EQ(block[L::kScsiStatus], 0x02);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(block[L::kSense + i], 0x70 + i) << i;
    EXPECT_EQ(block[L::kCdbLength], 6) << "the request's own fields stay as they were";
}

TEST(Win32PassThrough, SenseLengthNeverExceedsTheArea) {
    os::PassThroughBlock block{};
    block[L::kSenseInfoLength] = 200;
    EXPECT_EQ(os::win32_os::ToNativePassThrough(block, nullptr).sptd.SenseInfoLength, 20);
}

} // namespace
} // namespace corvane
