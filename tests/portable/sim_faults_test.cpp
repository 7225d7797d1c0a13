#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>

#include "drives_test_support.h"
#include "os/last_error.h"
#include "os/sim/sim_bay_file.h"
#include "os/sim/sim_error_codes.h"

namespace corvane::os::sim {
namespace {

using corvane::testing::DriveHarness;
using corvane::testing::Stick;
using corvane::testing::TempDir;

constexpr std::uint32_t kSector = 512;

SimDriveConfig Small(const std::string& name = "E:") {
    SimDriveConfig drive;
    drive.name = name;
    drive.size = 64 * kSector;
    return drive;
}

using corvane::testing::Stamped;

IoResult Write(IRawVolume& v, std::uint64_t sector, const std::vector<std::uint8_t>& data) {
    v.Seek(sector * kSector);
    return v.Write(data.data(), static_cast<std::uint32_t>(data.size()));
}

std::vector<std::uint8_t> Read(IRawVolume& v, std::uint64_t sector, std::uint32_t sectors = 1,
                               IoResult* result = nullptr) {
    std::vector<std::uint8_t> data(std::size_t{sectors} * kSector);
    v.Seek(sector * kSector);
    const IoResult r = v.Read(data.data(), static_cast<std::uint32_t>(data.size()));
    if (result != nullptr)
        *result = r;
    return data;
}

std::unique_ptr<IRawVolume> Open(SimDriveBay& bay, const std::string& drive = "E:") {
    return bay.OpenVolume(drive, VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
}

TEST(SimFaults, AWriteCacheHidesLossFromTheImmediateReadBackOnly) {
    for (Beyond beyond : {Beyond::Wrap, Beyond::Drop}) {
        SimDriveConfig fake = Small();
        fake.real = 16 * kSector;
        fake.beyond = beyond;
        fake.cacheSectors = 4;
        SimDriveBay bay({fake});
        auto v = Open(bay);
        // The write pass: every sector reads back as written at once.
        for (std::uint32_t s = 0; s < 64; ++s) {
            Write(*v, s, Stamped(s + 1));
            v->Flush(); // a flush does not empty the cache
            EXPECT_EQ(Read(*v, s), Stamped(s + 1)) << "sector " << s;
        }
        // The verify pass: only the last four writes are still cached.
        v.reset();
        v = Open(bay);
        EXPECT_EQ(Read(*v, 63), Stamped(64));
        EXPECT_EQ(Read(*v, 60), Stamped(61));
        const std::vector<std::uint8_t> lost = Read(*v, 20);
        EXPECT_NE(lost, Stamped(21));
        EXPECT_EQ(lost,
                  beyond == Beyond::Wrap ? Stamped(53) : Stamped(0)); // 52 mod 16 = 4 = 20 mod 16
        // The start of a wrapping drive holds the last write that landed on it.
        EXPECT_EQ(Read(*v, 0), beyond == Beyond::Wrap ? Stamped(49) : Stamped(1));
    }
}

TEST(SimFaults, ErrorSectorsFailTheTransfersThatTouchThem) {
    SimDriveConfig failing = Small();
    failing.readErrors = {{5, 5}, {10, 12}};
    failing.writeErrors = {{7, 7}};
    SimDriveBay bay({failing});
    auto v = Open(bay);
    struct Case {
        std::uint64_t sector;
        std::uint32_t count;
        bool readOk;
        bool writeOk;
    };
    const Case cases[] = {{4, 1, true, true},  {5, 1, false, true}, {3, 3, false, true},
                          {9, 2, false, true}, {13, 4, true, true}, {7, 1, true, false},
                          {6, 3, true, false}, {8, 2, true, true}};
    for (const Case& c : cases) {
        IoResult r;
        Read(*v, c.sector, c.count, &r);
        EXPECT_EQ(r.ok, c.readOk) << c.sector << "+" << c.count;
        if (!r.ok) {
            EXPECT_EQ(r.error, kSimErrorIo);
        }
        EXPECT_EQ(Write(*v, c.sector, Stamped(9, c.count)).ok, c.writeOk) << c.sector;
    }
    // A refused write moves nothing, also on the sectors around the bad one.
    const std::vector<std::uint8_t> zeros(kSector, 0);
    Write(*v, 8, Stamped(0, 1));
    EXPECT_FALSE(Write(*v, 6, Stamped(3, 3)).ok);
    EXPECT_EQ(Read(*v, 8), zeros);
}

TEST(SimFaults, AVanishedDriveFailsEveryCallAndLeavesTheList) {
    SimDriveConfig dying = Stick("E:");
    dying.vanishAfter = 3;
    DriveHarness h({dying, Stick("G:", "Kingston", "DataTraveler")});
    h.state.RefillDriveList();
    ASSERT_EQ(h.view.ComboLines().size(), 2u);

    auto v = Open(h.bay);
    auto scsi = h.bay.OpenScsi("E:");
    ASSERT_TRUE(scsi);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Write(*v, 0, Stamped(1)).ok) << i;
    IoResult r;
    Read(*v, 0, 1, &r);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, kSimErrorGone);
    EXPECT_FALSE(v->Seek(0));
    EXPECT_FALSE(v->Flush());
    EXPECT_FALSE(v->Lock());
    PassThroughBlock block{};
    std::uint32_t bytes = 0;
    EXPECT_FALSE(scsi->PassThroughDirect(block, nullptr, bytes));
    EXPECT_FALSE(Open(h.bay));
    EXPECT_EQ(LastOsError(), kSimErrorGone);
    EXPECT_FALSE(h.bay.Geometry("E:"));
    EXPECT_FALSE(h.bay.FreeSpace("E:"));
    EXPECT_EQ(h.bay.GetDriveType("E:"), kDriveNoRootDir);
    EXPECT_EQ(h.bay.LogicalDriveStrings(), (std::vector<std::string>{"G:\\"}));

    h.state.RefillDriveList();
    EXPECT_EQ(h.view.ComboLines(), (std::vector<std::string>{"(G:) Kingston DataTraveler "}));
}

TEST(SimFaults, ARefusedLockAndAFailedGeometry) {
    SimDriveConfig stubborn = Small();
    stubborn.lockRefused = true;
    stubborn.geometryFails = true;
    SimDriveBay bay({stubborn});
    auto v = Open(bay);
    EXPECT_FALSE(v->Lock()); // even as the only handle
    EXPECT_EQ(LastOsError(), kSimErrorAccessDenied);
    EXPECT_FALSE(v->Unlock());
    EXPECT_TRUE(Write(*v, 0, Stamped(1)).ok); // transfers go on without the lock
    EXPECT_FALSE(bay.Geometry("E:"));
    EXPECT_EQ(LastOsError(), kSimErrorIo);

    // The panel of a drive whose geometry fails before any other was read.
    DriveHarness h({[] {
        SimDriveConfig d = Stick("E:");
        d.geometryFails = true;
        return d;
    }()});
    h.state.RefillDriveList();
    h.state.OnDriveSelChange();
    EXPECT_EQ(h.state.m_nSectorSize.load(), 512u);
    EXPECT_EQ(h.view.Text(kIdcMaxSize), "0.00 B");
    EXPECT_EQ(h.view.Text(kIdcSizePerPlot), "0.00 B");
}

TEST(SimFaults, EveryTransferWaitsTheDelay) {
    SimDriveConfig slow = Small();
    slow.delayMicroseconds = 2000;
    SimDriveBay bay({slow});
    auto v = Open(bay);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i)
        Read(*v, 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10));
}

TEST(SimFaults, TheFaultKeysOfABayFile) {
    TempDir temp;
    const std::string path = temp.file("bay.ini");
    auto load = [&](const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
        return LoadBayFile(path);
    };
    const BayLoad ok = load("[E:]\nsize = 1MiB\ncache = 64\nread_errors = 100, 200-210\n"
                            "write_errors = 0x10\nvanish_after = 5000\ndelay_us = 250\n"
                            "lock = refuse\ngeometry_query = fail\n[F:]\nsize = 1MiB\n"
                            "read_errors =\n");
    ASSERT_TRUE(ok.bay) << ok.error;
    const SimDriveConfig& e = ok.bay->Drive("E:")->Config();
    EXPECT_EQ(e.cacheSectors, 64u);
    EXPECT_EQ(e.readErrors, (std::vector<SectorRange>{{100, 100}, {200, 210}}));
    EXPECT_EQ(e.writeErrors, (std::vector<SectorRange>{{16, 16}}));
    EXPECT_EQ(e.vanishAfter, 5000u);
    EXPECT_EQ(e.delayMicroseconds, 250u);
    EXPECT_TRUE(e.lockRefused);
    EXPECT_TRUE(e.geometryFails);
    const SimDriveConfig& f = ok.bay->Drive("F:")->Config();
    EXPECT_TRUE(f.readErrors.empty());
    EXPECT_FALSE(f.vanishAfter);
    EXPECT_FALSE(f.lockRefused || f.geometryFails);

    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"[E:]\nsize = 1GB\ncache = 600000\n",
         "3: key 'cache': 600000 512-byte sectors are more than a cache of 256 MiB"},
        {"[E:]\ncache = many\n", "2: key 'cache': 'many' is not a number of sectors"},
        {"[E:]\nread_errors = 10-5\n",
         "2: key 'read_errors': '10-5' is not a list of sectors and ranges (such as 100, "
         "2000-2100)"},
        {"[E:]\nwrite_errors = 5,,6\n",
         "2: key 'write_errors': '5,,6' is not a list of sectors and ranges (such as 100, "
         "2000-2100)"},
        {"[E:]\nwrite_errors = 5,\n",
         "2: key 'write_errors': '5,' is not a list of sectors and ranges (such as 100, "
         "2000-2100)"},
        {"[E:]\nsize = 1MiB\nread_errors = 2047, 2048\n",
         "3: key 'read_errors': sector 2048 is past the end of the drive (2048 sectors)"},
        {"[E:]\nvanish_after = -1\n", "2: key 'vanish_after': '-1' is not a number of transfers"},
        {"[E:]\ndelay_us = 60000001\n",
         "2: key 'delay_us': '60000001' is not a delay in microseconds (0 to 60000000)"},
        {"[E:]\nlock = maybe\n", "2: key 'lock': 'maybe' is not one of ok | refuse"},
        {"[E:]\ngeometry_query = no\n", "2: key 'geometry_query': 'no' is not one of ok | fail"},
    };
    for (const Case& c : cases) {
        const BayLoad bad = load(c.text);
        EXPECT_FALSE(bad.bay) << c.text;
        EXPECT_EQ(bad.error, path + ":" + c.error) << c.text;
    }
}

} // namespace
} // namespace corvane::os::sim
