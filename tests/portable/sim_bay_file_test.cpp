#include <gtest/gtest.h>

#include <fstream>

#include "os/sim/sim_bay_file.h"
#include "os/sim/sim_bay_text.h"
#include "support/temp_dir.h"

namespace corvane::os::sim {
namespace {

using corvane::testing::TempDir;

struct BayFileFixture : ::testing::Test {
    TempDir temp;
    std::string path = temp.file("bay.ini");

    BayLoad Load(const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
        return LoadBayFile(path);
    }
};

TEST_F(BayFileFixture, EveryKeyReachesTheDrive) {
    const BayLoad load = Load("; two sticks and a disk\n"
                              "[e:]\n"
                              "vendor = SanDisk          ; INQUIRY vendor field\n"
                              "product = Cruzer Blade\n"
                              "revision = 1.00\n"
                              "peripheral = 0x00\n"
                              "inquiry = ok\n"
                              "type = removable\n"
                              "bus = usb\n"
                              "sector = 512\n"
                              "size = 16GB\n"
                              "geometry = 1946/255/63\n"
                              "real = 8GiB\n"
                              "beyond = drop\n"
                              "free = 1536\n"
                              "[sdb]\n"
                              "bus = 12\n"
                              "size = 1 MiB\n"
                              "[C:]\n"
                              "type = FIXED\n"
                              "bus = SATA\n"
                              "sector = 4096\n"
                              "size = 2TB\n");
    ASSERT_TRUE(load.bay) << load.error;
    SimDriveBay& bay = *load.bay;
    EXPECT_EQ(bay.LogicalDriveStrings(), (std::vector<std::string>{"C:\\", "E:\\", "sdb"}));

    const SimDriveConfig& e = bay.Drive("E:")->Config();
    EXPECT_EQ(e.vendor, "SanDisk");
    EXPECT_EQ(e.product, "Cruzer Blade");
    EXPECT_EQ(e.revision, "1.00");
    EXPECT_EQ(e.RealBytes(), 8ULL << 30);
    EXPECT_EQ(e.beyond, Beyond::Drop);
    EXPECT_EQ(bay.GetDriveType("E:"), kDriveRemovable);
    EXPECT_EQ(bay.BusType("E:"), 7);
    const std::optional<DiskGeometry> g = bay.Geometry("E:");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->cylinders * g->tracksPerCylinder * g->sectorsPerTrack * g->bytesPerSector,
              16006394880ULL);
    const std::optional<DiskFreeSpace> free = bay.FreeSpace("E:");
    ASSERT_TRUE(free);
    EXPECT_EQ(std::uint64_t{free->freeClusters} * free->sectorsPerCluster * free->bytesPerSector,
              1536u);

    // Defaults: the reported size is the exact length, the identity a generic stick's.
    const SimDriveConfig& sdb = bay.Drive("sdb")->Config();
    EXPECT_EQ(bay.Geometry("sdb")->cylinders, 2048u);
    EXPECT_EQ(sdb.vendor, "Generic");
    EXPECT_EQ(bay.BusType("sdb"), 12);
    EXPECT_EQ(bay.GetDriveType("C:"), kDriveFixed);
    EXPECT_EQ(bay.BusType("C:"), 11);
    // 2 TB of free space in 4096-byte sectors still fits the 32-bit counts.
    EXPECT_EQ(bay.Geometry("C:")->bytesPerSector, 4096u);
}

TEST_F(BayFileFixture, BadValuesNameTheFileTheLineAndTheKey) {
    struct Case {
        const char* text;
        const char* error; // after "<path>:"
    };
    const Case cases[] = {
        {"[E:]\nsize = 1GB\ncolour = red\n",
         "3: key 'colour' is not a bay key (keys: vendor, "
         "product, revision, peripheral, inquiry, type, bus, "
         "sector, size, geometry, real, beyond, free, cache, read_errors, "
         "write_errors, vanish_after, delay_us, lock, "
         "geometry_query)"},
        {"[E:]\nsector = abc\n", "2: key 'sector': 'abc' is not a power of two from 512 to 65536"},
        {"[E:]\nsector = 1000\n",
         "2: key 'sector': '1000' is not a power of two from 512 to 65536"},
        {"[E:]\nsector = 256\n", "2: key 'sector': '256' is not a power of two from 512 to 65536"},
        {"[E:]\nsector = 131072\n",
         "2: key 'sector': '131072' is not a power of two from 512 to 65536"},
        {"[E:]\nbeyond = loop\n", "2: key 'beyond': 'loop' is not one of wrap | drop | error"},
        {"[E:]\ntype = floppy\n", "2: key 'type': 'floppy' is not one of removable | fixed | cdrom "
                                  "| ramdisk | remote | none"},
        {"[E:]\ninquiry = maybe\n", "2: key 'inquiry': 'maybe' is not one of ok | fail | sense"},
        {"[E:]\nvendor = Verbatim1\n", "2: key 'vendor': 'Verbatim1' is longer than 8 characters"},
        {"[E:]\nproduct = DataTraveler 3.0 G4\n",
         "2: key 'product': 'DataTraveler 3.0 G4' is longer than 16 characters"},
        {"[E:]\nrevision = 1.000\n", "2: key 'revision': '1.000' is longer than 4 characters"},
        {"[E:]\nperipheral = 256\n",
         "2: key 'peripheral': '256' is not a byte value (0 to 255, or 0x00 to 0xFF)"},
        {"[E:]\nbus = firewire\n",
         "2: key 'bus': 'firewire' is not a bus type name (usb, sata, sd, ...) or a 32-bit number"},
        {"[E:]\nsize = 1.5GB\n",
         "2: key 'size': '1.5GB' is not a size (whole bytes, or a whole number with KB, MB, GB, "
         "TB, KiB, MiB, GiB or TiB)"},
        {"[E:]\nsize = 20000000TB\n",
         "2: key 'size': '20000000TB' is not a size (whole bytes, or a whole number with KB, MB, "
         "GB, TB, KiB, MiB, GiB or TiB)"},
        {"[E:]\ngeometry = 1946/255\n",
         "2: key 'geometry': '1946/255' is not cylinders/heads/sectors-per-track (such as "
         "1946/255/63)"},
        {"[E:]\nreal = 8GB\nsize = 4GB\n",
         "2: key 'real': 8000000000 bytes is more than size (4000000000 bytes)"},
        {"[E:]\nsize = 1000\n",
         "2: key 'size': 1000 bytes is not a whole number of 512-byte sectors"},
        {"[E:]\nsize = 1024MiB\nsector = 4096\nreal = 1000000512\n",
         "4: key 'real': 1000000512 bytes is not a whole number of 4096-byte sectors"},
        {"[E:]\nsize = 1GB\nreal = 0\n",
         "3: key 'real': a drive that wraps needs at least one real sector"},
        {"[E:]\ngeometry = 4294967295/4294967295/4294967295\n",
         "2: key 'geometry': gives a size beyond 64 bits"},
        {"[E:]\nsize = 1GB\nfree = 1000\n",
         "3: key 'free': 1000 bytes is not a whole number of 512-byte sectors (in clusters of at "
         "most 2^31 sectors)"},
        {"[E:]\nsize = 1GB\nsize = 2GB\n", "3: key 'size' is given twice for [E:]"},
        {"size = 1GB\n[E:]\n", "1: key 'size' is outside a drive section"},
        {"[E]\nsize = 1GB\n",
         "2: [E] is not a drive name (a letter and a colon such as E:, or a device name such as "
         "sdb)"},
        {"[E:]\nsize = 1GB\n[F:]\nsize = 1GB\n[e:]\nsize = 2GB\n",
         "6: drive [e:] is described twice"},
        {"[E:]\nsize = 1GB\n[F:\nsize = 1GB\n", "3: syntax error"},
    };
    for (const Case& c : cases) {
        const BayLoad load = Load(c.text);
        EXPECT_FALSE(load.bay) << c.text;
        EXPECT_EQ(load.error, path + ":" + c.error) << c.text;
    }
}

TEST_F(BayFileFixture, AMissingFileIsAnErrorAndAnEmptyBayIsNot) {
    const BayLoad missing = LoadBayFile(temp.file("none.ini"));
    EXPECT_FALSE(missing.bay);
    EXPECT_EQ(missing.error, temp.file("none.ini") + ": cannot read the bay file");

    const BayLoad empty = Load("; nothing plugged in\n");
    ASSERT_TRUE(empty.bay) << empty.error;
    EXPECT_EQ(empty.bay->LogicalDriveStrings(), std::vector<std::string>{});
}

// Editing the file and listing the drives again (what a device change does) plugs and pulls
// drives: an unchanged drive keeps what was written to it and its open handles, a removed or
// changed one vanishes under its handles, and a file that no longer reads changes nothing.
TEST_F(BayFileFixture, ListingAgainReadsTheEditedFile) {
    const std::string e = "[E:]\nsize = 1MiB\n";
    BayLoad load = Load(e + "[F:]\nsize = 1MiB\n");
    ASSERT_TRUE(load.bay) << load.error;
    SimDriveBay& bay = *load.bay;
    auto eHandle = bay.OpenVolume("E:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
    auto fHandle = bay.OpenVolume("F:", VolumeAccess::ReadWrite, VolumeShare::ReadWrite);
    ASSERT_TRUE(eHandle && fHandle);
    std::vector<std::uint8_t> sector(512, 0xA5), back(512, 0);
    ASSERT_TRUE(eHandle->Seek(512) && eHandle->Write(sector.data(), 512).ok);

    std::ofstream(path, std::ios::binary) << e << "[F:]\nsize = 2MiB\n[G:]\nsize = 1MiB\n";
    EXPECT_EQ(bay.LogicalDriveStrings(), (std::vector<std::string>{"E:\\", "F:\\", "G:\\"}));
    ASSERT_TRUE(eHandle->Seek(512));
    EXPECT_TRUE(eHandle->Read(back.data(), 512).ok);
    EXPECT_EQ(back, sector);
    EXPECT_FALSE(fHandle->Read(back.data(), 512).ok); // F: was pulled and plugged in anew
    EXPECT_EQ(bay.Drive("F:")->Config().size, 2u << 20);

    std::ofstream(path, std::ios::binary) << "[G:]\nsize = 1MiB\n";
    EXPECT_EQ(bay.LogicalDriveStrings(), (std::vector<std::string>{"G:\\"}));
    EXPECT_FALSE(eHandle->Read(back.data(), 512).ok);
    EXPECT_EQ(bay.GetDriveType("E:"), kDriveNoRootDir);

    std::ofstream(path, std::ios::binary) << "[G:]\nsize = lots\n";
    EXPECT_EQ(bay.LogicalDriveStrings(), (std::vector<std::string>{"G:\\"}));
}

TEST(BaySizeText, UnitsOfAThousandAndOf1024) {
    struct Case {
        const char* text;
        std::optional<std::uint64_t> bytes;
    };
    const Case cases[] = {
        {"0", 0},
        {"512", 512},
        {"16GB", 16000000000ULL},
        {"16 GB", 16000000000ULL},
        {"8GiB", 8ULL << 30},
        {"1kb", 1000},
        {"1KiB", 1024},
        {"3MB", 3000000},
        {"3MiB", 3ULL << 20},
        {"2TB", 2000000000000ULL},
        {"2TiB", 2ULL << 40},
        {"18446744073709551615", UINT64_MAX},
        {"18446744073709551616", std::nullopt},
        {"16777216TiB", std::nullopt},
        {"0x200", std::nullopt},
        {"16G", std::nullopt},
        {"GB", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseBaySize(c.text), c.bytes) << c.text;
}

} // namespace
} // namespace corvane::os::sim
