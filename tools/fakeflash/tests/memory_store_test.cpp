#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "memory_store.h"

namespace corvane::fakeflash {
namespace {

// A block the way a size test stamps it: one big-endian 32-bit group repeated.
std::vector<std::uint8_t> Stamped(std::uint32_t stamp, std::size_t bytes) {
    std::vector<std::uint8_t> block(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        block[i] = static_cast<std::uint8_t>(stamp >> (24 - 8 * (i % 4)));
    return block;
}

std::vector<std::uint8_t> ReadBack(MemoryStore& store, std::uint64_t offset, std::size_t n) {
    std::vector<std::uint8_t> out(n, 0xEE);
    EXPECT_EQ(store.Read(offset, out), 0);
    return out;
}

// Random writes of stamped, zero and noisy data at any byte offset, against a plain array.
// Offsets and lengths straddle units and runs so that splits and merges of both run kinds occur.
TEST(MemoryStore, ReadsBackLikeAPlainArrayUnderRandomWrites) {
    constexpr std::size_t kSize = 256 * 1024;
    std::vector<std::uint8_t> reference(kSize, 0);
    MemoryStore store;
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = 1 + rng() % (round % 10 == 0 ? 64 * 1024 : 3000);
        const std::size_t offset = rng() % (kSize - length);
        std::vector<std::uint8_t> data;
        switch (rng() % 3) {
        case 0:
            data = Stamped(static_cast<std::uint32_t>(rng() % 4), length);
            break;
        case 1:
            data.assign(length, 0);
            break;
        default:
            data.resize(length);
            for (auto& b : data)
                b = static_cast<std::uint8_t>(rng());
        }
        ASSERT_EQ(store.Write(offset, data), 0);
        std::copy(data.begin(), data.end(), reference.begin() + static_cast<long>(offset));

        const std::size_t readLength = 1 + rng() % 9000;
        const std::size_t readOffset = rng() % (kSize - readLength);
        ASSERT_EQ(ReadBack(store, readOffset, readLength),
                  std::vector<std::uint8_t>(reference.begin() + static_cast<long>(readOffset),
                                            reference.begin() +
                                                static_cast<long>(readOffset + readLength)))
            << "round " << round;
    }
    EXPECT_EQ(ReadBack(store, 0, kSize), reference);
}

TEST(MemoryStore, StampedBlocksAndZerosCostNoDataBytes) {
    MemoryStore store;
    // A full pass of 2,048-byte blocks every 1 MiB over 16 GB, far past any memory.
    for (std::uint64_t p = 0; p < 31'250'000; p += 2048)
        ASSERT_EQ(store.Write(p * 512, Stamped(static_cast<std::uint32_t>(p), 2048)), 0);
    EXPECT_EQ(store.DataBytes(), 0U);
    EXPECT_EQ(store.RunCount(), 15'258U); // 15,259 blocks; block 0's stamp is zeros: not stored
    EXPECT_EQ(ReadBack(store, 4096ULL * 512, 2048), Stamped(4096, 2048));

    // Zeros over a stamped block free it; neighbours with the same group join into one run.
    MemoryStore joined;
    ASSERT_EQ(joined.Write(0, Stamped(7, 4096)), 0);
    ASSERT_EQ(joined.Write(8192, Stamped(7, 4096)), 0);
    ASSERT_EQ(joined.Write(4096, Stamped(7, 4096)), 0);
    EXPECT_EQ(joined.RunCount(), 1U);
    ASSERT_EQ(joined.Write(0, std::vector<std::uint8_t>(12288, 0)), 0);
    EXPECT_EQ(joined.RunCount(), 0U);
}

} // namespace
} // namespace corvane::fakeflash
