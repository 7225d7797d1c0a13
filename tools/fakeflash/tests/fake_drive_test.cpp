#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "fake_drive.h"
#include "memory_store.h"

namespace corvane::fakeflash {
namespace {

constexpr std::uint64_t kMiB = 1ULL << 20;

std::vector<std::uint8_t> Block(std::uint8_t fill, std::size_t bytes = 2048) {
    return std::vector<std::uint8_t>(bytes, fill);
}

struct Drive {
    explicit Drive(DriveModel model) : drive(model, std::make_unique<MemoryStore>()) {}
    long Put(std::uint64_t offset, const std::vector<std::uint8_t>& data) {
        return drive.Write(offset, data);
    }
    std::vector<std::uint8_t> Get(std::uint64_t offset, std::size_t n = 2048) {
        std::vector<std::uint8_t> out(n, 0xEE);
        EXPECT_EQ(drive.Read(offset, out), static_cast<long>(n)) << "read at " << offset;
        return out;
    }
    FakeDrive drive;
};

DriveModel Model(Beyond beyond, std::uint64_t wrap = 0) {
    DriveModel m;
    m.size = 16 * kMiB;
    m.real = 6 * kMiB;
    m.beyond = beyond;
    m.wrap = wrap;
    return m;
}

// Write A at 1 MiB, then B at 7 MiB (past the real 6 MiB), and read both places back: each
// model shows the fake its own way.
TEST(FakeDrive, WhatAWritePastTheRealCapacityDoes) {
    const struct {
        const char* name;
        DriveModel model;
        std::uint8_t atOneMiB, atSevenMiB;
    } cases[] = {
        // 7 MiB mod 6 MiB = 1 MiB: B overwrites A.
        {"wrap at real", Model(Beyond::Wrap), 'B', 'B'},
        // 7 MiB mod 4 MiB = 3 MiB: A survives, B reads back where it went.
        {"wrap at 4 MiB", Model(Beyond::Wrap, 4 * kMiB), 'A', 'B'},
        // 7 MiB mod 8 MiB = 7 MiB, past the real capacity: B is lost.
        {"wrap at 8 MiB", Model(Beyond::Wrap, 8 * kMiB), 'A', 0},
        {"zeros", Model(Beyond::Zeros), 'A', 0},
        // B is dropped; 7 MiB shows what 1 MiB holds.
        {"stale", Model(Beyond::Stale), 'A', 'A'},
    };
    for (const auto& c : cases) {
        Drive d(c.model);
        ASSERT_EQ(d.Put(1 * kMiB, Block('A')), 2048) << c.name;
        ASSERT_EQ(d.Put(7 * kMiB, Block('B')), 2048) << c.name;
        EXPECT_EQ(d.Get(1 * kMiB), Block(c.atOneMiB)) << c.name;
        EXPECT_EQ(d.Get(7 * kMiB), Block(c.atSevenMiB)) << c.name;
    }
}

TEST(FakeDrive, ErrorModeFailsEveryRequestThatReachesPastTheRealCapacity) {
    Drive d(Model(Beyond::Error));
    EXPECT_EQ(d.Put(6 * kMiB - 2048, Block('A')), 2048);
    EXPECT_EQ(d.Put(6 * kMiB - 1024, Block('B')), -EIO); // straddles: nothing is written
    EXPECT_EQ(d.Get(6 * kMiB - 2048), Block('A'));
    std::vector<std::uint8_t> out(512);
    EXPECT_EQ(d.drive.Read(6 * kMiB, out), -EIO);
    EXPECT_EQ(d.drive.Read(15 * kMiB, out), -EIO);
}

TEST(FakeDrive, ReadErrorModeTakesWritesButFailsTheirReads) {
    Drive d(Model(Beyond::ReadError));
    EXPECT_EQ(d.Put(6 * kMiB - 2048, Block('A')), 2048);
    EXPECT_EQ(d.Put(6 * kMiB, Block('B')), 2048); // taken, and lost
    EXPECT_EQ(d.Get(6 * kMiB - 2048), Block('A'));
    std::vector<std::uint8_t> out(512);
    EXPECT_EQ(d.drive.Read(6 * kMiB, out), -EIO);
    EXPECT_EQ(d.drive.Read(6 * kMiB - 256, out), -EIO);          // straddles the real capacity
    EXPECT_EQ(d.Get(0, 512), std::vector<std::uint8_t>(512, 0)); // the start is untouched
}

TEST(FakeDrive, RequestsSpanningTheRealCapacitySplitAtItAndAtTheWrap) {
    Drive d(Model(Beyond::Wrap));
    // 8 KiB from 6 MiB - 4 KiB: the first half is real, the second lands on 0.
    std::vector<std::uint8_t> data(8192);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i / 4096 + 1);
    ASSERT_EQ(d.Put(6 * kMiB - 4096, data), 8192);
    EXPECT_EQ(d.Get(6 * kMiB - 4096, 4096), Block(1, 4096));
    EXPECT_EQ(d.Get(0, 4096), Block(2, 4096));
    EXPECT_EQ(d.Get(6 * kMiB - 4096, 8192), data);
    // A read across a later wrap boundary (12 MiB) is split the same way.
    EXPECT_EQ(d.Get(12 * kMiB - 4096, 8192), data);
}

TEST(FakeDrive, EndOfTheReportedSizeGivesShortTransfersThenNothing) {
    Drive d(Model(Beyond::Zeros));
    std::vector<std::uint8_t> out(4096);
    EXPECT_EQ(d.drive.Read(16 * kMiB - 1024, out), 1024);
    EXPECT_EQ(d.drive.Read(16 * kMiB, out), 0);
    EXPECT_EQ(d.drive.Write(16 * kMiB - 1024, out), 1024);
    EXPECT_EQ(d.drive.Write(16 * kMiB, out), -ENOSPC);
}

// A cache larger than one block serves the immediate read-back of a dropped write, and keeps
// serving it until enough later writes push it out.
TEST(FakeDrive, WriteCacheHidesDroppedWritesUntilEvicted) {
    DriveModel model = Model(Beyond::Zeros);
    model.cacheUnits = 8; // two 2,048-byte blocks
    Drive d(model);
    ASSERT_EQ(d.Put(8 * kMiB, Block('A')), 2048);
    EXPECT_EQ(d.Get(8 * kMiB), Block('A'));
    ASSERT_EQ(d.Put(9 * kMiB, Block('B')), 2048);
    EXPECT_EQ(d.Get(8 * kMiB), Block('A'));
    ASSERT_EQ(d.Put(10 * kMiB, Block('C')), 2048);
    EXPECT_EQ(d.Get(8 * kMiB), Block(0));
    EXPECT_EQ(d.Get(10 * kMiB), Block('C'));
}

TEST(WriteCache, FifoEvictsTheOldestWriteLruTheLeastRecentlyUsed) {
    for (const auto policy : {WriteCache::Policy::Fifo, WriteCache::Policy::Lru}) {
        WriteCache cache(2, policy);
        const auto unit = Block('x', 512);
        cache.Write(0, unit);
        cache.Write(512, unit);
        std::vector<std::uint8_t> out(512);
        cache.Overlay(0, out); // a use of unit 0
        cache.Write(1024, unit);
        const bool lru = policy == WriteCache::Policy::Lru;
        EXPECT_EQ(cache.Holds(0), lru);
        EXPECT_EQ(cache.Holds(1), !lru);
        EXPECT_TRUE(cache.Holds(2));
        EXPECT_EQ(cache.Size(), 2U);
    }
    // Part of a unit cannot be served from a whole-unit cache: the unit is dropped.
    WriteCache cache(4, WriteCache::Policy::Fifo);
    cache.Write(0, Block('a', 1024));
    cache.Write(100, Block('b', 10));
    EXPECT_FALSE(cache.Holds(0));
    EXPECT_TRUE(cache.Holds(1));
}

} // namespace
} // namespace corvane::fakeflash
