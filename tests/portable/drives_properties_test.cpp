#include <gtest/gtest.h>

#include "drives_test_support.h"

namespace corvane {
namespace {

using os::sim::SimDriveConfig;
using os::sim::VolumeOperation;
using testing::DriveHarness;
using testing::Stick;

constexpr std::uint64_t k1946Cylinders = 16006394880ULL; // 1946 x 255 x 63 x 512

SimDriveConfig SixteenGigStick() {
    SimDriveConfig stick = Stick("E:");
    stick.size = 16ULL * 1000 * 1000 * 1000;
    stick.geometry = os::sim::Chs{1946, 255, 63};
    stick.free = 1536;
    stick.revision = "PMAP";
    return stick;
}

SimDriveConfig FourKStick() {
    SimDriveConfig stick = Stick("G:", "Kingston", "DataTraveler 3.0");
    stick.sector = 4096;
    stick.size = 4096ULL * 100000;
    return stick;
}

std::vector<VolumeOperation> Reads(const DriveHarness& h) {
    std::vector<VolumeOperation> reads;
    for (const VolumeOperation& op : h.recorder.Operations()) {
        if (op.kind == VolumeOperation::Kind::Read)
            reads.push_back(op);
    }
    return reads;
}

std::map<std::string, std::string> Panel(const CliDriveView& view) {
    std::map<std::string, std::string> panel;
    for (const PanelField& field : CDriveState::PanelFields())
        panel[field.caption] = view.Text(field.id);
    return panel;
}

TEST(DriveProperties, ThePanelOfA1946CylinderStick) {
    DriveHarness h({SixteenGigStick()});
    h.state.RefillDriveList();
    h.view.SetProgressPos(57);
    h.state.OnDriveSelChange();

    EXPECT_EQ(h.state.m_pDevice, h.state.m_DeviceList[0]);
    EXPECT_EQ(h.state.m_nSectorSize.load(), 512u);
    const std::map<std::string, std::string> expected = {
        {"Drive Letter", "E:"},
        {"Drive Brand", "SanDisk"},
        {"Drive Model", "Cruzer Blade"},
        {"Drive Type", "Removable"},
        {"Interface", "USB"},
        {"Drive Firmware", "PMAP"},
        {"Drive Max Size", "16.01 GB"},
        {"Drive Format Size", "14.91 GB"},
        {"Drive Free Space", "1.50 KB"},
        {"Drive Used Space", "14.91 GB"},
        {"Size per Plot", "1.70 MB"},
    };
    EXPECT_EQ(Panel(h.view), expected);
    EXPECT_EQ(h.view.ProgressRange(), (std::pair<int, int>{0, 100}));
    EXPECT_EQ(h.view.ProgressPos(), 0);
    // The probe read 24 MiB from the start, once, through a handle it closed again.
    const std::vector<VolumeOperation> reads = Reads(h);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].offset, 0u);
    EXPECT_EQ(reads[0].length, 25165824u);
    EXPECT_EQ(h.bay.Drive("E:")->OpenHandles(), 0);
}

TEST(DriveProperties, FourKSectorsSetTheSectorSizeAndTheProbeReadsWholeSectors) {
    DriveHarness h({FourKStick()});
    h.state.RefillDriveList();
    h.state.OnDriveSelChange();
    EXPECT_EQ(h.state.m_nSectorSize.load(), 4096u);
    const std::vector<VolumeOperation> reads = Reads(h);
    ASSERT_FALSE(reads.empty());
    EXPECT_EQ(reads[0].length, 6144u * 4096u);
    // 100000 sectors / 9000 = 11 sectors per square.
    EXPECT_EQ(h.view.Text(kIdcSizePerPlot), "44.00 KB");
}

TEST(DriveProperties, AnUnreadableGeometryKeepsTheSectorSize) {
    SimDriveConfig stick = Stick("E:");
    stick.free = 1024;
    DriveHarness h({stick, FourKStick()});
    h.state.RefillDriveList();
    // Held unshared elsewhere: the geometry request and every probe read fail.
    auto held = h.bay.OpenVolume("E:", os::VolumeAccess::Read, os::VolumeShare::None);

    h.state.OnDriveSelChange();
    EXPECT_EQ(h.state.m_nSectorSize.load(), 512u); // none read yet
    EXPECT_EQ(h.view.Text(kIdcFormatSize), "0.00 B");
    EXPECT_EQ(h.view.Text(kIdcMaxSize), "0.00 B");
    EXPECT_EQ(h.view.Text(kIdcSizePerPlot), "0.00 B");
    EXPECT_EQ(h.view.Text(kIdcUsedSpace), "0.00 B");
    EXPECT_EQ(h.view.Text(kIdcFreeSpace), "1024.00 B");
    EXPECT_TRUE(h.view.Boxes().empty());
    std::size_t failedOpens = 0;
    for (const VolumeOperation& op : h.recorder.Operations())
        failedOpens += op.kind == VolumeOperation::Kind::Open && !op.ok ? 1 : 0;
    EXPECT_EQ(failedOpens, 24u);

    h.view.ComboSetCurSel(1);
    h.state.OnDriveSelChange();
    h.view.ComboSetCurSel(0);
    h.state.OnDriveSelChange();
    EXPECT_EQ(h.state.m_nSectorSize.load(), 4096u); // the last one read, even of another drive
}

TEST(DriveProperties, TheDriveUnderTestIsNeverOpened) {
    DriveHarness h({SixteenGigStick(), FourKStick()});
    h.state.RefillDriveList();
    h.state.OnDriveSelChange();
    ASSERT_EQ(h.state.m_nSectorSize.load(), 512u);
    const std::size_t operationsBefore = h.recorder.Operations().size();
    h.recorder.geometryAsked.clear();
    h.recorder.freeSpaceAsked.clear();

    h.state.OnRunStarted("E:", k1946Cylinders, 512);
    h.view.SetProgressPos(33);
    h.view.EnableControl(kIdcStartTest, false);
    h.state.OnDriveSelChange();
    EXPECT_EQ(h.recorder.Operations().size(), operationsBefore);
    EXPECT_TRUE(h.recorder.geometryAsked.empty());
    EXPECT_TRUE(h.recorder.freeSpaceAsked.empty());
    EXPECT_EQ(h.view.Text(kIdcFormatSize), "14.91 GB");
    EXPECT_EQ(h.view.Text(kIdcSizePerPlot), "1.70 MB");
    EXPECT_EQ(h.view.Text(kIdcFreeSpace), "---");
    EXPECT_EQ(h.view.Text(kIdcUsedSpace), "---");
    EXPECT_EQ(h.view.ProgressPos(), 33); // the run's progress is left alone

    // Another drive during the run is read, but the sector size field stays the run's.
    h.view.ComboSetCurSel(1);
    h.state.OnDriveSelChange();
    EXPECT_EQ(h.recorder.geometryAsked, (std::vector<std::string>{"G:"}));
    EXPECT_EQ(h.view.Text(kIdcSizePerPlot), "44.00 KB");
    EXPECT_EQ(h.state.m_nSectorSize.load(), 512u);
    EXPECT_EQ(h.state.m_pDevice->m_drive, "G:");

    // A device change during the run rebuilds the list without offering a second run.
    h.state.RefillDriveList();
    EXPECT_EQ(h.view.Enabled(kIdcStartTest), false);

    h.state.OnRunEnded();
    EXPECT_EQ(h.state.m_nSectorSize.load(), 4096u); // follows the selection now
    h.state.RefillDriveList();
    EXPECT_EQ(h.view.Enabled(kIdcStartTest), true);
}

TEST(DriveProperties, NoSelectionLeavesThePanelAsItWas) {
    DriveHarness h({});
    h.state.ClearDrivePanel();
    h.view.RefreshBoundTexts();
    h.state.OnDriveSelChange();
    EXPECT_EQ(h.state.m_pDevice, nullptr);
    EXPECT_EQ(h.view.Text(kIdcDriveLetter), "---");
    EXPECT_EQ(h.view.Boxes().size(), 1u); // "Error selecting device"
}

} // namespace
} // namespace corvane
