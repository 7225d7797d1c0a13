#include <gtest/gtest.h>

#include "drives/drive_texts.h"
#include "drives_test_support.h"
#include "os/file_exception.h"

namespace corvane {
namespace {

using os::sim::SimDriveConfig;
using testing::DriveHarness;
using testing::ScopedLog;
using testing::Stick;
using testing::WithType;

SimDriveConfig FixedDisk(const std::string& name) {
    SimDriveConfig disk = WithType(Stick(name, "ATA", "Samsung SSD 860"), os::kDriveFixed);
    disk.bus = 11;
    return disk;
}

SimDriveConfig DvdDrive(const std::string& name) {
    SimDriveConfig dvd = WithType(Stick(name, "HL-DT-ST", "DVDRAM GH24NSD1"), os::kDriveCdrom);
    dvd.peripheral = 5;
    return dvd;
}

void ExpectPanelCleared(const CliDriveView& view) {
    for (const PanelField& field : CDriveState::PanelFields())
        EXPECT_EQ(view.Text(field.id), "---") << field.caption;
}

TEST(DriveList, OnlyFixedDisksAndACdDriveGiveTheNoDriveState) {
    DriveHarness h({FixedDisk("C:"), FixedDisk("F:"), DvdDrive("D:")});
    h.view.EnableControl(kIdcStartTest, true);
    h.state.RefillDriveList();

    EXPECT_TRUE(h.state.m_DeviceList.empty());
    EXPECT_TRUE(h.view.ComboLines().empty());
    EXPECT_EQ(h.view.Text(kIdcStatus),
              "No removable drives found (NOTE: eSata flash are not classed as removable)");
    EXPECT_EQ(h.view.Enabled(kIdcStartTest), false);
    ExpectPanelCleared(h.view);
    EXPECT_TRUE(h.view.Timers().empty());
    EXPECT_TRUE(h.view.Boxes().empty());
}

TEST(DriveList, TwoRemovableDrivesInLetterOrder) {
    DriveHarness h({Stick("G:", "Kingston", "DataTraveler 3.0"), FixedDisk("C:"), Stick("E:")});
    h.state.RefillDriveList();

    EXPECT_EQ(h.view.ComboLines(), (std::vector<std::string>{"(E:) SanDisk Cruzer Blade ",
                                                             "(G:) Kingston DataTraveler 3.0 "}));
    EXPECT_EQ(h.view.Text(kIdcStatus), "");
    EXPECT_EQ(h.view.Enabled(kIdcStartTest), true);
    EXPECT_EQ(h.view.ComboGetCurSel(), 0);
    EXPECT_EQ(h.view.Timers(), (std::vector<std::pair<int, unsigned>>{{1, 100}}));
    ASSERT_EQ(h.state.m_DeviceList.size(), 2u);
    const CDevice& g = *h.state.m_DeviceList[1];
    EXPECT_EQ(g.m_drive, "G:");
    EXPECT_EQ(g.m_revision, "1.00");
    EXPECT_EQ(g.m_peripheralType, 0);
    EXPECT_EQ(g.m_busType, 7);

    h.view.ComboSetCurSel(1);
    EXPECT_EQ(h.state.GetSelectedDevice()->m_drive, "G:");
    // Nothing selected, or a selection past the lines, reads as line 0.
    for (int selection : {-1, 2}) {
        h.view.ComboSetCurSel(selection);
        EXPECT_EQ(h.state.GetSelectedDevice()->m_drive, "E:") << selection;
    }
}

TEST(DriveList, DrivesThatFailTheRulesAreDroppedAndAAndBAreNeverOpened) {
    SimDriveConfig noInquiry = Stick("H:");
    noInquiry.inquiry = os::sim::InquiryAnswer::Fail;
    SimDriveConfig noMedium = Stick("I:");
    noMedium.inquiry = os::sim::InquiryAnswer::Sense;
    SimDriveConfig noVendor = Stick("J:", "", "Flash Disk");
    SimDriveConfig qualifier = Stick("K:", "Generic", "Card Reader");
    qualifier.peripheral = 0x20;
    DriveHarness h({Stick("A:", "TEAC", "USB Floppy"), Stick("B:"), noInquiry, noMedium, noVendor,
                    qualifier, Stick("M:", "Lexar", "JumpDrive")});
    ScopedLog log;
    h.state.RefillDriveList();

    EXPECT_EQ(h.view.ComboLines(), (std::vector<std::string>{"(M:) Lexar   JumpDrive "}));
    for (const std::string& drive : h.recorder.TouchedDrives())
        EXPECT_TRUE(drive != "A:" && drive != "B:") << drive;

    const std::vector<std::string> messages = log.Messages();
    auto count = [&](const std::string& line) {
        return std::count(messages.begin(), messages.end(), line);
    };
    EXPECT_EQ(count("FillHDDComboList() - Getting drive handle"), 5);
    EXPECT_EQ(count("FillHDDComboList() - Device Inquiry resulted in an error"), 2);
    EXPECT_EQ(count("FillHDDComboList() - Found Device Generic Card Reader"), 1);
    EXPECT_EQ(count("FillHDDComboList() - Device Type not DTYPE_DASD"), 1);
    EXPECT_EQ(count("FillHDDComboList() - Found Device Lexar   JumpDrive"), 1);
    EXPECT_EQ(count("FillHDDComboList() - Found Device Flash Disk"), 0);
}

TEST(DriveList, TheLogLinesOfAWalkInOrder) {
    DriveHarness h({FixedDisk("C:"), Stick("E:")});
    ScopedLog log;
    EXPECT_TRUE(h.state.FillHDDComboList());
    EXPECT_EQ(log.Messages(), (std::vector<std::string>{
                                  "Start FillHDDComboList()",
                                  "FillHDDComboList() - Successfully fetched logical drive strings",
                                  "FillHDDComboList() - Start inquiry loop",
                                  "CloseAssociateHandle -  handle closed",
                                  "FillHDDComboList() - Getting drive handle",
                                  "associate -  handle created",
                                  "FillHDDComboList() - Got a device sending INQUIRY",
                                  "CloseAssociateHandle -  handle closed",
                                  "FillHDDComboList() - Found Device ATA     Samsung SSD 860",
                                  "FillHDDComboList() - Getting drive handle",
                                  "associate -  handle created",
                                  "FillHDDComboList() - Got a device sending INQUIRY",
                                  "CloseAssociateHandle -  handle closed",
                                  "FillHDDComboList() - Found Device SanDisk Cruzer Blade",
                                  "FillHDDComboList() - End inquiry loop",
                                  "End FillHDDComboList()",
                                  "CloseAssociateHandle -  handle closed",
                              }));
    // A list that holds records is left alone.
    EXPECT_TRUE(h.state.FillHDDComboList());
    EXPECT_EQ(log.Messages().size(), 17u);
    EXPECT_FALSE(h.state.m_ScsiCommand.HandleOpen());
}

TEST(DriveList, BlockDeviceNamesAreUsedWhole) {
    DriveHarness h({Stick("sdc", "Kingston", "DataTraveler"), Stick("loop3"), Stick("sdb")});
    h.state.RefillDriveList();
    EXPECT_EQ(h.view.ComboLines(), (std::vector<std::string>{"(loop3) SanDisk Cruzer Blade ",
                                                             "(sdb) SanDisk Cruzer Blade ",
                                                             "(sdc) Kingston DataTraveler "}));
}

TEST(DriveList, BusTypeIsAskedOnlyOfLocalDrives) {
    struct Case {
        os::DriveType type;
        std::int32_t bus;
    };
    const Case cases[] = {{os::kDriveRemovable, 7}, {os::kDriveFixed, 7},
                          {os::kDriveCdrom, 7},     {os::kDriveRamdisk, 7},
                          {os::kDriveRemote, -1},   {os::kDriveNoRootDir, -1}};
    for (const Case& c : cases) {
        DriveHarness h({WithType(Stick("E:"), c.type)});
        EXPECT_EQ(h.state.GetBusType("E:"), c.bus) << c.type;
    }
    DriveHarness h({Stick("E:")});
    // The query opens the drive, so it fails while the drive is held unshared.
    auto held = h.bay.OpenVolume("E:", os::VolumeAccess::Read, os::VolumeShare::None);
    EXPECT_EQ(h.state.GetBusType("E:"), -1);
}

TEST(DriveList, AListThatCannotBeFetchedShowsTheNoDriveState) {
    struct NoList : os::sim::SimDriveBay {
        NoList() : SimDriveBay({}) {}
        std::optional<std::vector<std::string>> LogicalDriveStrings() override {
            return std::nullopt;
        }
    } drives;
    os::sim::SimSystem system;
    CliDriveView view;
    CDriveState state(drives, system, view, nullptr);
    view.Bind(state);
    ScopedLog log;
    EXPECT_FALSE(state.FillHDDComboList());
    EXPECT_EQ(log.Messages(), (std::vector<std::string>{"Start FillHDDComboList()"}));
    state.RefillDriveList();
    EXPECT_EQ(view.Text(kIdcStatus), kNoRemovableDrivesText);
}

TEST(DriveList, AFileExceptionEndsTheWalkAndKeepsWhatWasFound) {
    struct ThrowsAtG : os::sim::SimDriveBay {
        using SimDriveBay::SimDriveBay;
        os::DriveType GetDriveType(const std::string& drive) override {
            if (drive == "G:")
                throw os::FileException(os::kFileHardIo, "G: went away");
            return SimDriveBay::GetDriveType(drive);
        }
    } drives({Stick("E:"), Stick("G:"), Stick("H:")});
    os::sim::SimSystem system;
    CliDriveView view;
    CDriveState state(drives, system, view, nullptr);
    view.Bind(state);
    ScopedLog log;
    state.RefillDriveList();

    EXPECT_EQ(view.ComboLines(), (std::vector<std::string>{"(E:) SanDisk Cruzer Blade "}));
    ASSERT_EQ(view.Boxes().size(), 1u);
    EXPECT_EQ(view.Boxes()[0].text, "ERROR: There was a hardware error!");
    const std::vector<std::string> messages = log.Messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[messages.size() - 2],
              "EXCEPTION OCCURRED IN CPelzorDlg::FillHDDComboList - ");
    EXPECT_EQ(messages.back(), "Type of Exception - ERROR: There was a hardware error!");
}

TEST(DriveList, SelectionFallbacks) {
    DriveHarness h({Stick("E:")});
    ScopedLog log;
    // An empty list.
    EXPECT_EQ(h.state.GetSelectedDevice(), nullptr);
    ASSERT_EQ(h.view.Boxes().size(), 1u);
    EXPECT_EQ(h.view.Boxes()[0].text, "Error selecting device");
    EXPECT_EQ(h.view.Boxes()[0].caption, "");

    // A line without a record: the list is reset to line 0 and the setting cleared.
    h.state.RefillDriveList();
    h.state.m_DeviceList.push_back(nullptr);
    h.view.ComboAddString("(F:) gone ");
    h.view.ComboSetCurSel(1);
    const std::shared_ptr<CDevice> first = h.state.m_DeviceList[0];
    EXPECT_EQ(h.state.GetSelectedDevice(), first);
    EXPECT_EQ(h.view.Boxes().back().text, "Selected device was not found,  list will be reset");
    EXPECT_EQ(h.settingWrites,
              (std::vector<std::pair<std::string, int>>{{"HDDSelectedDevice", 0}}));
    EXPECT_EQ(h.view.ComboGetCurSel(), 0);
    const std::vector<std::string> messages = log.Messages();
    EXPECT_NE(std::find(messages.begin(), messages.end(),
                        "CMeltrick::GetSelectedDevice() - ERROR device was NULL"),
              messages.end());
}

TEST(DriveList, TheCurrentRecordOutlivesARebuild) {
    DriveHarness h({Stick("E:")});
    h.state.RefillDriveList();
    h.state.OnDriveSelChange();
    const CDevice* before = h.state.m_pDevice.get();
    h.state.RefillDriveList();
    ASSERT_EQ(h.state.m_pDevice.get(), before);
    EXPECT_EQ(h.state.m_pDevice->m_drive, "E:"); // still a whole record, not the new one
    EXPECT_NE(h.state.m_DeviceList[0].get(), before);
}

} // namespace
} // namespace corvane
