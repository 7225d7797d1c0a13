#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sizetest/block_stamp.h"
#include "sizetest/raw_sector_access.h"
#include "sizetest/size_test.h"
#include "sizetest/size_test_texts.h"
#include "support/recording_front_end.h"

namespace corvane {
namespace {

TEST(BlockStamp, IsTheLowWordOfTheSectorBigEndianInEveryGroup) {
    unsigned char block[16];
    FillBlockStamp(block, sizeof block, 0x1'2345'6789ULL);
    const unsigned char group[4] = {0x23, 0x45, 0x67, 0x89};
    for (int i = 0; i < 16; i += 4)
        EXPECT_EQ(std::memcmp(block + i, group, 4), 0) << i;
}

TEST(BlockStamp, CheckFindsTheFirstDifferingGroup) {
    std::vector<unsigned char> block(2048);
    FillBlockStamp(block.data(), block.size(), 262144);
    EXPECT_FALSE(CheckBlockStamp(block.data(), block.size(), 262144));
    // A block at or beyond sector 2^31 checks against the low 32 bits it carries.
    FillBlockStamp(block.data(), block.size(), 0x8000'0000ULL);
    EXPECT_FALSE(CheckBlockStamp(block.data(), block.size(), 0x8000'0000ULL));
    FillBlockStamp(block.data(), block.size(), 0x1'0000'0000ULL + 4096);
    EXPECT_FALSE(CheckBlockStamp(block.data(), block.size(), 0x1'0000'0000ULL + 4096));
    // A later block's stamp in the first sector.
    FillBlockStamp(block.data(), block.size(), 15728640);
    EXPECT_EQ(CheckBlockStamp(block.data(), block.size(), 0), 15728640u);
    // Only the bytes that were read are walked.
    FillBlockStamp(block.data(), 512, 7);
    EXPECT_FALSE(CheckBlockStamp(block.data(), 512, 7));
    EXPECT_EQ(CheckBlockStamp(block.data(), 1024, 7), 15728640u);
    EXPECT_TRUE(BlockHoldsStamp(block.data(), 512, 7));
    EXPECT_FALSE(BlockHoldsStamp(block.data(), 1024, 7));
}

TEST(TestStepTable, ModesAndThresholds) {
    struct Case {
        int mode;
        std::uint32_t ss;
        std::uint64_t ts;
        std::uint64_t step;
    } cases[] = {
        {1, 512, 31250000, 2048},    {1, 4096, 3906250, 16384},
        {0, 512, 0x200000, 0x40000}, {0, 512, 0x1'0000'0000ULL, 0x40000},
        {0, 512, 0x1FFFFF, 0x10000}, {0, 512, 0x80000, 0x10000},
        {0, 512, 0x7FFFF, 0x4000},   {0, 512, 0x20000, 0x4000},
        {0, 512, 0x1FFFF, 0x1000},   {0, 512, 19999, 0x1000},
        {7, 512, 0x200000, 0x40000}, // any mode but 1 is the Quick Test
    };
    for (const Case& c : cases)
        EXPECT_EQ(TestStep(c.mode, c.ss, c.ts), c.step) << c.mode << " " << c.ts;
}

TEST(SizeTestTexts, MessagesKeepTheirExactForm) {
    EXPECT_EQ(ProgressText(TestPass::Write, 163), "Writing Data 163% Complete");
    EXPECT_EQ(ProgressText(TestPass::Verify, 7), "Verify 7% Complete");
    EXPECT_EQ(FirstSectorOverwrittenText(15728640ULL * 512),
              "Verify Failure at 0.00 B The firstsector has been overwritten. Real size is "
              "probably 7.50 GB");
    EXPECT_EQ(VerifyFailureText(1ULL << 30), "Verify Failure at 1.00 GB");
    // Positions past 2^31 print whole.
    EXPECT_EQ(WritePassVerifyFailureText(3000000000ULL, 3000000000ULL * 512),
              "Verify failure while writing sector 3000000000 at 1.40 TB\n\nWrite error.\n\nThis "
              "disk is either faulty or a fake size");
}

// A volume of memory that records the positions asked for.
class MemoryVolume : public os::IRawVolume {
public:
    std::vector<unsigned char> bytes = std::vector<unsigned char>(64 * 1024);
    std::vector<std::uint64_t> seeks;
    bool failSeeks = false;
    bool failWrites = false;
    std::uint32_t writeError = 0;
    bool writePending = false;
    int unlocks = 0;
    int flushes = 0;

    bool Seek(std::uint64_t offset) override {
        seeks.push_back(offset);
        if (failSeeks)
            return false;
        pos_ = offset;
        return true;
    }
    os::IoResult Read(void* buffer, std::uint32_t length) override {
        if (pos_ >= bytes.size())
            return {false, 0, 27};
        const auto n =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(length, bytes.size() - pos_));
        std::memcpy(buffer, bytes.data() + pos_, n);
        pos_ += n;
        return {true, n, 0};
    }
    os::IoResult Write(const void* buffer, std::uint32_t length) override {
        if (failWrites)
            return {false, writePending ? length : 0, writeError, writePending};
        std::memcpy(bytes.data() + pos_, buffer, length);
        pos_ += length;
        return {true, length, 0};
    }
    bool Flush() override { return ++flushes, true; }
    bool Lock() override { return false; }
    bool Dismount() override { return false; }
    bool Unlock() override { return ++unlocks, false; }

private:
    std::uint64_t pos_ = 0;
};

TEST(RawSectorAccess, LengthChecksAndResults) {
    MemoryVolume volume;
    testing::RecordingFrontEnd boxes;
    std::vector<unsigned char> buffer(2048, 0xAB);
    // A buffer exactly as long as the transfer passes; one byte short is refused with a box.
    EXPECT_EQ(WriteSectors(volume, 8, 4, buffer.data(), 2048, 512, boxes), 2048);
    EXPECT_EQ(volume.seeks.back(), 8u * 512);
    EXPECT_EQ(volume.unlocks, 1);
    EXPECT_EQ(volume.flushes, 1);
    EXPECT_EQ(WriteSectors(volume, 8, 4, buffer.data(), 2047, 512, boxes), kBufferTooShort);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, kBufferTooShortText);
    // Reads zero the buffer first and refuse silently.
    EXPECT_EQ(ReadSectors(volume, 8, 4, buffer.data(), 2047, 512), kBufferTooShort);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(ReadSectors(volume, 8, 4, buffer.data(), 2048, 512), 2048);
    EXPECT_EQ(buffer[100], 0xAB);
    // The read seeks to 0 first, then to the block: offsets beyond 4 GiB pass whole.
    volume.seeks.clear();
    ReadSectors(volume, 0x1'0000'0000ULL, 4, buffer.data(), 2048, 512);
    ASSERT_EQ(volume.seeks.size(), 2u);
    EXPECT_EQ(volume.seeks[0], 0u);
    EXPECT_EQ(volume.seeks[1], 0x1'0000'0000ULL * 512);
    // A failed read gives 0 and leaves zeros.
    buffer.assign(2048, 0xCD);
    EXPECT_EQ(ReadSectors(volume, 0x1'0000'0000ULL, 4, buffer.data(), 2048, 512), 0);
    EXPECT_EQ(buffer[0], 0);
    // A failed first seek is -2.
    volume.failSeeks = true;
    EXPECT_EQ(ReadSectors(volume, 0, 4, buffer.data(), 2048, 512), kSeekFailed);
}

TEST(RawSectorAccess, FailedWritesSkipUnlockAndFlushUnlessPending) {
    MemoryVolume volume;
    testing::RecordingFrontEnd boxes;
    std::vector<unsigned char> buffer(2048);
    volume.failWrites = true;
    volume.writeError = 31;
    EXPECT_EQ(WriteSectors(volume, 0, 4, buffer.data(), 2048, 512, boxes), 0);
    EXPECT_EQ(volume.unlocks, 0);
    EXPECT_EQ(volume.flushes, 0);
    // An overlapped write still pending goes on to the unlock and flush.
    volume.writePending = true;
    EXPECT_EQ(WriteSectors(volume, 0, 4, buffer.data(), 2048, 512, boxes), 2048);
    EXPECT_EQ(volume.unlocks, 1);
    EXPECT_EQ(volume.flushes, 1);
}

} // namespace
} // namespace corvane
