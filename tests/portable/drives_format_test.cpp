#include <gtest/gtest.h>

#include "drives/drive_queries.h"
#include "drives/panel_text.h"
#include "os/sim/sim_bay.h"

namespace corvane {
namespace {

TEST(FormatSize, TheThreeVariantsStepAsThePanelShows) {
    struct Case {
        std::uint64_t bytes;
        const char* binary;  // Format Size, Used Space, Size per Plot
        const char* decimal; // Max Size
        const char* free;    // Free Space
    };
    const Case cases[] = {
        {0, "0.00 B", "0.00 B", "0.00 B"},
        {512, "512.00 B", "512.00 B", "512.00 B"},
        {1000, "1000.00 B", "1.00 KB", "1000.00 B"},
        {1024, "1.00 KB", "1.02 KB", "1024.00 B"},
        {1536, "1.50 KB", "1.54 KB", "1.50 KB"},
        {1778176, "1.70 MB", "1.78 MB", "1.70 MB"},
        {16006394880ULL, "14.91 GB", "16.01 GB", "14.91 GB"},
        {1024ULL * 1024 * 1024 * 1024, "1.00 TB", "1.10 TB", "1024.00 GB"},
        {UINT64_MAX, "16.00 EB", "18.45 EB", "16.00 EB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatSize(c.bytes), c.binary) << c.bytes;
        EXPECT_EQ(FormatSizeDecimal(c.bytes), c.decimal) << c.bytes;
        EXPECT_EQ(FormatSizeFree(static_cast<float>(c.bytes)), c.free) << c.bytes;
    }
}

TEST(FormatSize, SinglePrecisionDecidesTheLastDigit) {
    // 2^24 + 1 bytes is not a float: it rounds to 2^24, exactly 16.00 MB.
    EXPECT_EQ(FormatSize(16777217), "16.00 MB");
    // 1023.999 KB reads as a whole MB only once the float rounds up.
    EXPECT_EQ(FormatSize(1048575), "1024.00 KB");
}

TEST(FreeSpace, CountsMultiplyWithoutOverflowAndTheTextIsCut) {
    struct FixedFree : os::sim::SimDriveBay {
        std::optional<os::DiskFreeSpace> counts;
        FixedFree() : SimDriveBay({}) {}
        std::optional<os::DiskFreeSpace> FreeSpace(const std::string&) override { return counts; }
    } drives;
    std::string text;

    drives.counts = os::DiskFreeSpace{8, 512, 0xFFFFFFFF, 0xFFFFFFFF}; // 16 TiB in all
    const float free = FormatFreeSpace(drives, "E:", text, 20);
    EXPECT_EQ(text, "16.00 TB");
    // 17592186040320 bytes, as a float: the nearest one is 2^44.
    EXPECT_EQ(WholeBytes(free), 1ULL << 44);

    drives.counts = std::nullopt; // a failed query is 0 bytes free
    EXPECT_EQ(FormatFreeSpace(drives, "E:", text, 20), 0.0f);
    EXPECT_EQ(text, "0.00 B");

    drives.counts = os::DiskFreeSpace{1, 1024, 1, 1};
    FormatFreeSpace(drives, "E:", text, 5);
    EXPECT_EQ(text, "1024"); // four characters and the terminator
}

TEST(DriveSize, IsTheGeometryProductAndSetsTheSectorSizeOnlyOnSuccess) {
    os::sim::SimDriveConfig stick;
    stick.name = "E:";
    stick.size = 16006394880ULL + 512 * 100;
    stick.geometry = os::sim::Chs{1946, 255, 63};
    os::sim::SimDriveConfig big = stick;
    big.name = "F:";
    big.sector = 4096;
    big.size = 4096ULL * 1000;
    big.geometry.reset();
    os::sim::SimDriveBay bay({stick, big});

    std::atomic<std::uint32_t> sectorSize{0};
    EXPECT_EQ(GetDriveSize(bay, "E:", sectorSize), 16006394880ULL);
    EXPECT_EQ(sectorSize.load(), 512u);
    EXPECT_EQ(GetDriveSize(bay, "F:", sectorSize), 4096ULL * 1000);
    EXPECT_EQ(sectorSize.load(), 4096u);
    EXPECT_EQ(GetDriveSize(bay, "Q:", sectorSize), 0u);
    EXPECT_EQ(sectorSize.load(), 4096u);
}

TEST(DriveSize, AGeometryWithoutSectorSizeCountsAsUnreadable) {
    struct ZeroSector : os::sim::SimDriveBay {
        ZeroSector() : SimDriveBay({}) {}
        std::optional<os::DiskGeometry> Geometry(const std::string&) override {
            return os::DiskGeometry{100, 1, 1, 0};
        }
    } drives;
    std::atomic<std::uint32_t> sectorSize{512};
    EXPECT_EQ(GetDriveSize(drives, "E:", sectorSize), 0u);
    EXPECT_EQ(sectorSize.load(), 512u);
}

TEST(BrandModel, SplitsAtTheFirstBlankWithTheSeagateRule) {
    struct Case {
        const char* text;
        const char* brand;
        const char* model;
    };
    const Case cases[] = {
        {"SanDisk Cruzer Blade", "SanDisk", "Cruzer Blade"},
        {"Kingston    DataTraveler 3.0", "Kingston", "DataTraveler 3.0"},
        {"Generic  Flash Disk", "Generic", "Flash Disk"},
        {"ST3500418AS", "Seagate", "ST3500418AS"},
        {"ST Micro Flash", "Seagate", "ST Micro Flash"},
        {"Strontium Nitro", "Strontium", "Nitro"},
        {"st Flash", "st", "Flash"},
        {"USBDISK", "", "USBDISK"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const BrandModel split = SplitBrandModel(c.text);
        EXPECT_EQ(split.brand, c.brand) << c.text;
        EXPECT_EQ(split.model, c.model) << c.text;
    }
}

TEST(TypeNames, EveryTableEntryAndTheValuesOutsideIt) {
    const char* buses[] = {"Unknown", "SCSI", "ATAPI", "ATA", "1394", "SSA", "Fibre",
                           "USB",     "Raid", "iSCSI", "SAS", "SATA", "SD",  "MMC"};
    for (std::int32_t i = 0; i < 14; ++i)
        EXPECT_EQ(GetBusTypeName(i), buses[i]);
    EXPECT_EQ(GetBusTypeName(-1), "---");
    EXPECT_EQ(GetBusTypeName(14), "---");

    const char* types[] = {"Unknown", "BAD", "Removable", "Fixed", "Remote", "CD-ROM", "RamDisk"};
    for (std::uint32_t i = 0; i < 7; ++i)
        EXPECT_EQ(GetDriveTypeName(i), types[i]);
    EXPECT_EQ(GetDriveTypeName(7), "---");
}

} // namespace
} // namespace corvane
