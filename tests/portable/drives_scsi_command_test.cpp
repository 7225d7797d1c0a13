#include <gtest/gtest.h>

#include "drives/scsi_command.h"
#include "drives_test_support.h"
#include "os/file_exception.h"
#include "os/last_error.h"

namespace corvane {
namespace {

using Layout = os::PassThroughLayout;
using testing::ScopedLog;

// What the scripted drive does, shared with the handles it hands out.
struct Script {
    bool openOk = true;
    bool throwOnOpen = false;
    bool requestOk = true;
    bool throwOnRequest = false;
    std::uint8_t sense = 0;
    bool mcnOpens = true;
    bool mcnControlOk = true;
    bool mcnCloseOk = true;

    std::vector<std::string> opened;
    int liveHandles = 0;
    os::PassThroughBlock sent{};
    std::vector<bool> mcnControls;
};

class ScriptedDevice : public os::IScsiDevice {
public:
    explicit ScriptedDevice(Script& s) : s_(s) { ++s_.liveHandles; }
    ~ScriptedDevice() override { --s_.liveHandles; }
    bool PassThroughDirect(os::PassThroughBlock& block, void*, std::uint32_t& bytes) override {
        s_.sent = block;
        if (s_.throwOnRequest)
            throw os::FileException(os::kFileHardIo, "request");
        block[Layout::kSense] = s_.sense;
        bytes = Layout::kBlockSize;
        return s_.requestOk;
    }

private:
    Script& s_;
};

class ScriptedSwitch : public os::IMediaChangeSwitch {
public:
    explicit ScriptedSwitch(Script& s) : s_(s) {}
    bool Control(bool prevent, std::uint32_t&) override {
        s_.mcnControls.push_back(prevent);
        if (!s_.mcnControlOk)
            os::SetLastOsError(31);
        return s_.mcnControlOk;
    }
    bool Close() override { return s_.mcnCloseOk; }

private:
    Script& s_;
};

class ScriptedDrives : public os::sim::SimDriveBay {
public:
    explicit ScriptedDrives(Script& s) : SimDriveBay({}), s_(s) {}
    std::unique_ptr<os::IScsiDevice> OpenScsi(const std::string& drive) override {
        s_.opened.push_back(drive);
        if (s_.throwOnOpen)
            throw os::FileException(os::kFileSharingViolation, "open");
        if (!s_.openOk || drive.empty())
            return nullptr;
        return std::make_unique<ScriptedDevice>(s_);
    }
    std::unique_ptr<os::IMediaChangeSwitch> OpenMediaChangeSwitch(const std::string&) override {
        if (!s_.mcnOpens)
            return nullptr;
        return std::make_unique<ScriptedSwitch>(s_);
    }

private:
    Script& s_;
};

struct ChannelFixture : ::testing::Test {
    Script script;
    ScriptedDrives drives{script};
    os::sim::SimSystem system;
    ScopedLog log;
    std::uint8_t data[16] = {};

    ChannelFixture() {
        system.errorTexts[31] = "A device attached to the system is not functioning.\n";
    }
};

TEST_F(ChannelFixture, CdbByteSetsTheFixedFieldsAndFollowsTheLastByteAskedFor) {
    CScsiCommand channel(drives, system);
    struct Case {
        std::vector<int> indices;
        int cdbLength;
    };
    const Case cases[] = {{{0}, 1},     {{0, 4, 5}, 6}, {{0, 1, 2, 3, 4, 5}, 6},
                          {{0, 9}, 10}, {{0, 15}, 16},  {{0, 5, 2}, 3}};
    for (const Case& c : cases) {
        for (int index : c.indices)
            channel.CdbByte(index) = 0xAA;
        const os::PassThroughBlock& b = channel.Block();
        EXPECT_EQ(b[Layout::kCdbLength], c.cdbLength);
        EXPECT_EQ(os::GetPassThrough16(b, Layout::kLength), 44);
        EXPECT_EQ(b[Layout::kSenseInfoLength], 18);
        EXPECT_EQ(b[Layout::kDataIn], os::kScsiDataUnspecified);
        EXPECT_EQ(os::GetPassThrough32(b, Layout::kTimeOutValue), 108000u);
        EXPECT_EQ(os::GetPassThrough32(b, Layout::kSenseInfoOffset), 44u);
    }
    EXPECT_THROW(channel.CdbByte(16), std::out_of_range);
    EXPECT_THROW(channel.CdbByte(-1), std::out_of_range);
}

TEST_F(ChannelFixture, ByteZeroClearsThePreviousCommandAndItsSense) {
    CScsiCommand channel(drives, system);
    script.sense = 0x70;
    channel.associate("E:");
    channel.CdbByte(0) = 0x12;
    channel.CdbByte(4) = 0xFE;
    ASSERT_EQ(channel.Execute(os::kScsiDataIn, data, sizeof data), 1);
    ASSERT_EQ(channel.Block()[Layout::kSense], 0x70);

    channel.CdbByte(0) = 0x00;
    const os::PassThroughBlock& b = channel.Block();
    EXPECT_EQ(b[Layout::kSense], 0);
    EXPECT_EQ(b[Layout::kCdb + 4], 0);
    EXPECT_EQ(os::GetPassThrough32(b, Layout::kDataTransferLength), 0u);
    EXPECT_EQ(b[Layout::kCdbLength], 1);
}

TEST_F(ChannelFixture, SenseDataWithAnyOfTheBits0x70IsAFailure) {
    struct Case {
        bool requestOk;
        std::uint8_t sense;
        int result;
    };
    const Case cases[] = {{true, 0x00, 0}, {true, 0x70, 1}, {true, 0x71, 1}, {true, 0x72, 1},
                          {true, 0x73, 1}, {true, 0x7F, 1}, {true, 0x10, 1}, {true, 0x0F, 0},
                          {true, 0x80, 0}, {false, 0x00, 1}};
    CScsiCommand channel(drives, system);
    for (const Case& c : cases) {
        script.requestOk = c.requestOk;
        script.sense = c.sense;
        channel.associate("E:");
        channel.CdbByte(0) = 0x12;
        channel.CdbByte(4) = 16;
        channel.CdbByte(5) = 0;
        EXPECT_EQ(channel.ExecuteAndClose(os::kScsiDataIn, data, sizeof data), c.result)
            << "sense " << int{c.sense};
        EXPECT_FALSE(channel.HandleOpen());
    }
    // What went to the drive: the direction and length given, the long timeout.
    EXPECT_EQ(script.sent[Layout::kDataIn], os::kScsiDataIn);
    EXPECT_EQ(os::GetPassThrough32(script.sent, Layout::kDataTransferLength), sizeof data);
    EXPECT_EQ(os::GetPassThrough32(script.sent, Layout::kTimeOutValue), 108000u);
    EXPECT_EQ(script.sent[Layout::kCdb], 0x12);
}

TEST_F(ChannelFixture, ACommandWithoutHandleReopensTheRecordsDriveOrFails) {
    CScsiCommand channel(drives, system);
    auto record = std::make_shared<CDevice>();
    channel.m_device = record;
    channel.CdbByte(0) = 0x00;
    // A record without a drive name, as during the walk: the reopen cannot succeed.
    EXPECT_EQ(channel.Execute(os::kScsiDataIn, data, sizeof data), 1);
    record->m_drive = "F:";
    EXPECT_EQ(channel.Execute(os::kScsiDataIn, data, sizeof data), 0);
    EXPECT_EQ(script.opened, (std::vector<std::string>{"", "F:"}));
    EXPECT_EQ(channel.m_path, "\\\\.\\F:");
}

TEST_F(ChannelFixture, AssociateKeepsAnOpenHandleAndCutsLongNames) {
    CScsiCommand channel(drives, system);
    EXPECT_EQ(channel.associate("E:"), 1);
    EXPECT_EQ(channel.associate("G:"), 1);
    EXPECT_EQ(script.opened, (std::vector<std::string>{"E:"}));
    EXPECT_EQ(channel.m_path, "\\\\.\\E:");
    channel.CloseAssociateHandle();

    const std::string longName(120, 'x');
    channel.associate(longName);
    EXPECT_EQ(channel.m_path, "\\\\.\\" + std::string(95, 'x'));
    EXPECT_EQ(script.opened.back(), std::string(95, 'x'));
}

TEST_F(ChannelFixture, LogLinesOfOpeningClosingAndFailures) {
    {
        CScsiCommand channel(drives, system);
        channel.CloseAssociateHandle();          // nothing open: only its line
        EXPECT_EQ(channel.DisableMCN(false), 0); // never switched off: no line
        script.openOk = false;
        EXPECT_EQ(channel.associate("E:"), 0); // the line is written all the same
        script.openOk = true;
        script.throwOnOpen = true;
        EXPECT_EQ(channel.associate("E:"), 0);
        EXPECT_FALSE(channel.HandleOpen());
        script.throwOnOpen = false;
        EXPECT_EQ(channel.associate("E:"), 1);
    } // destroyed with the handle open: closed as CloseAssociateHandle does
    EXPECT_EQ(script.liveHandles, 0);
    EXPECT_EQ(log.Messages(), (std::vector<std::string>{"CloseAssociateHandle -  handle closed",
                                                        "associate -  handle created",
                                                        "CScsiCommand::associate - 11",
                                                        "associate -  handle created",
                                                        "CloseAssociateHandle -  handle closed"}));
}

TEST_F(ChannelFixture, MediaChangeNotificationOffAndBackOn) {
    CScsiCommand channel(drives, system);
    channel.associate("E:");
    EXPECT_EQ(channel.DisableMCN(true), 1);
    channel.CloseAssociateHandle(); // switches it back on
    EXPECT_EQ(script.mcnControls, (std::vector<bool>{true, false}));

    channel.associate("E:");
    script.mcnControlOk = false;
    EXPECT_EQ(channel.DisableMCN(true), 0);
    script.mcnCloseOk = false;
    channel.CloseAssociateHandle();
    EXPECT_EQ(channel.DisableMCN(false), 0); // released even though its close failed

    script.mcnOpens = false;
    EXPECT_EQ(channel.DisableMCN(true), -1);

    // The system's text ends with a line end, so the failure's last part opens a line.
    const std::string error = "A device attached to the system is not functioning.";
    const std::vector<std::string> expected = {
        "associate -  handle created",
        "DisableMCN(TRUE)",
        "DisableMCN - MCN disabled",
        "DisableMCN(FALSE)",
        "DisableMCN - MCN enabled",
        "CloseAssociateHandle -  handle closed",
        "associate -  handle created",
        "DisableMCN(TRUE)",
        "GetLastError() returned - " + error,
        "DisableMCN - Failed to disable MCN",
        "DisableMCN(FALSE)",
        "GetLastError() returned - " + error,
        "DisableMCN - Failed to enable MCN",
        "DisableMCN - Failed to close MCN temporary handle",
        "CloseAssociateHandle -  handle closed",
        "DisableMCN(TRUE)",
        "DisableMCN - Unexpected result from CreateFile, failed to change MCN status",
    };
    EXPECT_EQ(log.Messages(), expected);
}

} // namespace
} // namespace corvane
