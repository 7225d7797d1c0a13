#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <map>
#include <random>
#include <thread>

#include "drives_test_support.h"
#include "os/last_error.h"
#include "os/sim/sim_bay.h"
#include "os/sim/sim_error_codes.h"
#include "os/sim/sim_sector_store.h"

namespace corvane::os::sim {
namespace {

constexpr std::uint32_t kSector = 512;

SimDriveConfig Fake(Beyond beyond) {
    SimDriveConfig drive;
    drive.name = "E:";
    drive.size = 64 * kSector;
    drive.real = 16 * kSector;
    drive.beyond = beyond;
    return drive;
}

using corvane::testing::Stamped;

IoResult WriteAt(IRawVolume& v, std::uint64_t sector, const std::vector<std::uint8_t>& data) {
    v.Seek(sector * kSector);
    return v.Write(data.data(), static_cast<std::uint32_t>(data.size()));
}

std::vector<std::uint8_t> ReadAt(IRawVolume& v, std::uint64_t sector, IoResult* result = nullptr,
                                 std::uint32_t sectors = 1) {
    std::vector<std::uint8_t> data(std::size_t{sectors} * kSector, 0xEE);
    v.Seek(sector * kSector);
    const IoResult r = v.Read(data.data(), static_cast<std::uint32_t>(data.size()));
    if (result != nullptr)
        *result = r;
    return data;
}

TEST(SimStorage, WhatHappensPastTheRealCapacity) {
    const std::vector<std::uint8_t> zeros(kSector, 0);
    {
        SimDriveBay bay({Fake(Beyond::Wrap)});
        auto v = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
        EXPECT_EQ(WriteAt(*v, 4, Stamped(4)).bytes, kSector);
        EXPECT_EQ(WriteAt(*v, 20, Stamped(20)).bytes, kSector);
        EXPECT_EQ(ReadAt(*v, 20), Stamped(20));
        EXPECT_EQ(ReadAt(*v, 4), Stamped(20)); // 20 mod 16: the start was overwritten
        EXPECT_EQ(ReadAt(*v, 63 - 16 * 3), ReadAt(*v, 63));
        // A transfer that runs over the boundary wraps inside itself.
        EXPECT_TRUE(WriteAt(*v, 14, Stamped(99, 4)).ok);
        EXPECT_EQ(ReadAt(*v, 0), Stamped(99));
        EXPECT_EQ(ReadAt(*v, 1), Stamped(99));
    }
    {
        SimDriveBay bay({Fake(Beyond::Drop)});
        auto v = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
        WriteAt(*v, 4, Stamped(4));
        const IoResult dropped = WriteAt(*v, 20, Stamped(20));
        EXPECT_TRUE(dropped.ok);
        EXPECT_EQ(dropped.bytes, kSector); // reported as written
        EXPECT_EQ(ReadAt(*v, 20), zeros);
        EXPECT_EQ(ReadAt(*v, 4), Stamped(4));
    }
    {
        SimDriveBay bay({Fake(Beyond::Error)});
        auto v = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
        EXPECT_TRUE(WriteAt(*v, 15, Stamped(15)).ok);
        for (std::uint64_t sector : {16, 40}) {
            const IoResult w = WriteAt(*v, sector, Stamped(1));
            EXPECT_FALSE(w.ok);
            EXPECT_EQ(w.error, kSimErrorIo);
            EXPECT_EQ(LastOsError(), kSimErrorIo);
            IoResult r;
            ReadAt(*v, sector, &r);
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.bytes, 0u);
        }
        // One that starts inside and ends outside fails whole, and writes nothing.
        EXPECT_FALSE(WriteAt(*v, 14, Stamped(7, 4)).ok);
        EXPECT_EQ(ReadAt(*v, 15), Stamped(15));
    }
}

TEST(SimStorage, TheEndOfTheVolumeAlignmentAndAccess) {
    SimDriveConfig drive = Fake(Beyond::Wrap);
    drive.real.reset();
    SimDriveBay bay({drive});
    auto v = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
    IoResult r;
    ReadAt(*v, 62, &r, 4); // two sectors left: cut short
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, 2 * kSector);
    ReadAt(*v, 64, &r);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, kSimErrorBeyondEnd);

    v->Seek(100);
    std::uint8_t buffer[kSector];
    EXPECT_EQ(v->Read(buffer, kSector).error, kSimErrorBadParameter);
    v->Seek(0);
    EXPECT_EQ(v->Read(buffer, 100).error, kSimErrorBadParameter);

    auto readOnly = bay.OpenVolume("E:", VolumeAccess::Read, VolumeShare::ReadWrite);
    EXPECT_EQ(readOnly->Write(buffer, kSector).error, kSimErrorAccessDenied);
}

TEST(SimStorage, AGeometryThatClaimsMoreThanTheSizeIsAddressable) {
    SimDriveConfig drive = Fake(Beyond::Wrap);
    drive.real.reset();
    drive.geometry = Chs{70, 1, 1}; // 70 sectors against a size of 64
    SimDriveBay bay({drive});
    auto v = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
    EXPECT_TRUE(WriteAt(*v, 69, Stamped(69)).ok);
    EXPECT_EQ(ReadAt(*v, 69), Stamped(69));
}

TEST(SimStorage, SharingAndLockingAsWindowsVolumesDo) {
    SimDriveBay bay({Fake(Beyond::Wrap)});
    auto shared = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
    ASSERT_TRUE(shared);
    EXPECT_FALSE(bay.OpenVolume("E:", VolumeAccess::Read, VolumeShare::None));
    EXPECT_EQ(LastOsError(), kSimErrorSharing);
    {
        auto second = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
        ASSERT_TRUE(second);
        EXPECT_FALSE(shared->Lock()); // another handle is open
    }
    EXPECT_TRUE(shared->Lock());
    EXPECT_FALSE(bay.OpenVolume("E:", VolumeAccess::Read, VolumeShare::ReadWrite)); // locked
    EXPECT_TRUE(shared->Unlock());
    EXPECT_FALSE(shared->Unlock()); // no longer locked
    shared.reset();

    auto unshared = bay.OpenVolume("E:", VolumeAccess::Read, VolumeShare::None);
    ASSERT_TRUE(unshared);
    EXPECT_FALSE(bay.OpenVolume("E:", VolumeAccess::Read, VolumeShare::ReadWrite));
    EXPECT_FALSE(bay.Geometry("E:"));
    EXPECT_FALSE(bay.OpenScsi("E:"));
    unshared.reset();
    EXPECT_TRUE(bay.Geometry("E:"));
    EXPECT_EQ(bay.Drive("E:")->OpenHandles(), 0);
    EXPECT_FALSE(bay.OpenVolume("F:", VolumeAccess::Read, VolumeShare::ReadWrite));
    EXPECT_EQ(LastOsError(), kSimErrorNoDrive);
}

TEST(SimStorage, WrittenDataOutlivesItsHandle) {
    SimDriveBay bay({Fake(Beyond::Wrap)});
    {
        auto v = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
        WriteAt(*v, 3, Stamped(0xC0FFEE));
    }
    auto v = bay.OpenVolume("E:", VolumeAccess::Read, VolumeShare::None);
    EXPECT_EQ(ReadAt(*v, 3), Stamped(0xC0FFEE));
}

TEST(SectorStore, RepeatingBlocksCostFourBytesAndOtherDataItsBytes) {
    SectorStore store(kSector);
    for (std::uint32_t block = 0; block < 10000; ++block) {
        const std::vector<std::uint8_t> data = Stamped(block + 1, 4);
        store.Write(std::uint64_t{block} * 1000, data.data(), 4);
    }
    EXPECT_EQ(store.Extents(), 10000u);
    EXPECT_EQ(store.DataBytes(), 40000u);

    std::vector<std::uint8_t> mixed = Stamped(5, 2);
    mixed[700] = 1;
    store.Write(500, mixed.data(), 2);
    EXPECT_EQ(store.DataBytes(), 40000u + 2 * kSector);
    const std::vector<std::uint8_t> zeros = Stamped(0, 4);
    store.Write(0, zeros.data(), 4); // zeros are what unwritten sectors read anyway
    EXPECT_EQ(store.Extents(), 10000u);
}

// Overlapping writes of both kinds against a plain sector-by-sector model.
TEST(SectorStore, OverlappingWritesReadBackAsAPlainModelDoes) {
    SectorStore store(kSector);
    std::map<std::uint64_t, std::vector<std::uint8_t>> model;
    std::mt19937 random(7);
    for (int op = 0; op < 3000; ++op) {
        const std::uint64_t first = random() % 200;
        const auto count = static_cast<std::uint32_t>(1 + random() % 9);
        std::vector<std::uint8_t> data;
        if (random() % 2 == 0) {
            data = Stamped(static_cast<std::uint32_t>(random() % 4), count);
        } else {
            data.resize(std::size_t{count} * kSector);
            for (std::uint8_t& b : data)
                b = static_cast<std::uint8_t>(random());
        }
        store.Write(first, data.data(), count);
        for (std::uint32_t i = 0; i < count; ++i)
            model[first + i].assign(data.begin() + i * kSector, data.begin() + (i + 1) * kSector);

        const std::uint64_t at = random() % 210;
        const auto n = static_cast<std::uint32_t>(1 + random() % 12);
        std::vector<std::uint8_t> got(std::size_t{n} * kSector);
        store.Read(at, got.data(), n);
        for (std::uint32_t i = 0; i < n; ++i) {
            auto it = model.find(at + i);
            const std::vector<std::uint8_t> want =
                it == model.end() ? std::vector<std::uint8_t>(kSector, 0) : it->second;
            ASSERT_TRUE(std::equal(want.begin(), want.end(), got.begin() + i * kSector))
                << "operation " << op << ", sector " << at + i;
        }
    }
}

TEST(SimStorage, AWorkerWritesWhileAnotherThreadListsTheDrives) {
    SimDriveConfig e = Fake(Beyond::Wrap);
    e.size = 4096 * kSector;
    e.real.reset();
    SimDriveConfig f = e;
    f.name = "F:";
    SimDriveBay bay({e, f});
    std::atomic<bool> done{false};
    std::atomic<int> listings{0};
    std::thread worker([&] {
        // Writes start once the lister is under way, so the two really overlap.
        while (listings.load() == 0)
            std::this_thread::yield();
        auto v = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
        for (std::uint32_t block = 0; block < 1000; ++block) {
            WriteAt(*v, block * 4, Stamped(block + 1, 4));
            EXPECT_EQ(ReadAt(*v, block * 4, nullptr, 4), Stamped(block + 1, 4));
        }
        done = true;
    });
    do {
        EXPECT_EQ(bay.LogicalDriveStrings()->size(), 2u);
        EXPECT_TRUE(bay.Geometry("E:"));
        EXPECT_EQ(bay.GetDriveType("F:"), kDriveRemovable);
        ++listings;
    } while (!done);
    worker.join();
    EXPECT_GT(listings.load(), 0);
    EXPECT_EQ(bay.Drive("E:")->StoredExtents(), 1000u);
}

} // namespace
} // namespace corvane::os::sim
