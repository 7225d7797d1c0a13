#include <gtest/gtest.h>

#include "app/corvane_app.h"
#include "log/log_state.h"
#include "os/sim/sim_system.h"
#include "support/recording_front_end.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using testing::RecordingFrontEnd;
using testing::TempDir;

// A scripted machine whose temp folder is a real, empty directory.
struct StartupFixture : ::testing::Test {
    TempDir temp;
    os::Platform platform;
    os::sim::SimSystem* system = nullptr;
    os::sim::SimSettings* settings = nullptr;

    StartupFixture() {
        auto s = std::make_unique<os::sim::SimSystem>();
        s->tempFolder = temp.folder();
        system = s.get();
        platform.system = std::move(s);
        auto st = std::make_unique<os::sim::SimSettings>();
        settings = st.get();
        platform.settings = std::move(st);
    }
};

struct RefusalCase {
    const char* name;
    std::optional<os::VersionRecord> version;
    bool admin;
    bool sockets;
    const char* text;
    const char* caption;
};

TEST_F(StartupFixture, RefusalsShowTheirBoxAndTouchNothing) {
    const RefusalCase cases[] = {
        {"failed query", std::nullopt, true, true, kOsNotSupportedText, kOsNotSupportedCaption},
        {"Windows 95", os::VersionRecord{1, 4, 0, 950}, true, true, kOsNotSupportedText,
         kOsNotSupportedCaption},
        {"Windows 98", os::VersionRecord{1, 4, 10, 1998}, true, true, kOsNotSupportedText,
         kOsNotSupportedCaption},
        {"NT 4.0", os::VersionRecord{2, 4, 0, 1381}, true, true, kOsNotSupportedText,
         kOsNotSupportedCaption},
        {"Windows 2000 standard user", os::VersionRecord{2, 5, 0, 2195}, false, true,
         kNeedAdminText, kNeedAdminCaption},
        {"Windows XP standard user", os::VersionRecord{2, 5, 1, 2600}, false, true, kNeedAdminText,
         kNeedAdminCaption},
        {"sockets refused", os::VersionRecord{2, 6, 1, 7601}, true, false, kSocketsFailedText, ""},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        system->version = c.version;
        system->admin = c.admin;
        system->socketsWork = c.sockets;
        RecordingFrontEnd front;
        CCorvaneApp app(platform, "corvane");
        EXPECT_FALSE(app.InitInstance(front));
        ASSERT_EQ(front.boxes.size(), 1u);
        EXPECT_EQ(front.boxes[0].text, c.text);
        EXPECT_EQ(front.boxes[0].caption, c.caption);
        EXPECT_EQ(front.boxes[0].style, kMbIconError);
        EXPECT_EQ(front.dialogRuns, 0);
        EXPECT_EQ(settings->opens, 0);
        EXPECT_EQ(settings->writes, 0);
        EXPECT_TRUE(temp.empty());
        EXPECT_FALSE(LoggingOn());
    }
}

TEST_F(StartupFixture, RightsTestOnlyOnWindows2000AndXp) {
    const os::VersionRecord runs[] = {{2, 5, 2, 3790},
                                      {2, 6, 0, 6000},
                                      {2, 6, 1, 7601},
                                      {2, 10, 0, 19045},
                                      {os::kPlatformOther, 6, 18, 44}};
    for (const os::VersionRecord& v : runs) {
        system->version = v;
        system->admin = false;
        RecordingFrontEnd front;
        CCorvaneApp app(platform, "corvane");
        EXPECT_FALSE(app.InitInstance(front));
        EXPECT_TRUE(front.boxes.empty()) << v.major << "." << v.minor;
        EXPECT_EQ(front.dialogRuns, 1);
    }
    // An administrator on XP runs.
    system->version = os::VersionRecord{2, 5, 1, 2600};
    system->admin = true;
    RecordingFrontEnd front;
    CCorvaneApp app(platform, "corvane");
    app.InitInstance(front);
    EXPECT_EQ(front.dialogRuns, 1);
}

TEST_F(StartupFixture, SettingsLiveUnderTheCompanyKeyAndTheAppName) {
    RecordingFrontEnd front;
    CCorvaneApp app(platform, "corvane");
    app.InitInstance(front);
    EXPECT_EQ(settings->openedKey, "CVN");
    EXPECT_EQ(settings->openedApp, "corvane");
    EXPECT_EQ(app.GetSettingInt(kGraphBgColor, 0), 0u);
    app.WriteSettingInt(kHddSelectedDevice, 0);
    EXPECT_EQ(settings->values.at("CVN/HDDSelectedDevice"), 0u);
}

TEST_F(StartupFixture, LoggingOnlyWhenAllowLoggingIsExactlyOne) {
    struct Case {
        std::optional<std::uint32_t> value;
        bool logs;
    } cases[] = {{std::nullopt, true}, {1, true}, {0, false}, {2, false}};
    for (const Case& c : cases) {
        settings->values.clear();
        if (c.value)
            settings->values["CVN/AllowLogging"] = *c.value;
        TempDir folder;
        system->tempFolder = folder.folder();
        // An old log that a run without logging must leave alone.
        { std::ofstream(folder.file("Corvane.log")) << "old"; }
        RecordingFrontEnd front;
        {
            CCorvaneApp app(platform, "corvane");
            app.InitInstance(front);
        }
        const std::string log = testing::ReadWholeFile(folder.file("Corvane.log"));
        if (c.logs) {
            EXPECT_EQ(log.rfind("Log Started ", 0), 0u) << log;
            EXPECT_TRUE(testing::FileExists(folder.file("Corvaneold.log")));
        } else {
            EXPECT_EQ(log, "old");
            EXPECT_FALSE(testing::FileExists(folder.file("Corvaneold.log")));
        }
    }
}

TEST_F(StartupFixture, TooLongTempFolderLeavesLoggingOff) {
    // A directory part beyond 255 characters, one whose log path passes 259, and a temp folder
    // the system could not name.
    const std::string longDir = temp.folder() + std::string(260, 'd') + "/";
    const std::string longPath = temp.folder() + std::string(250 - temp.folder().size(), 'p') + "/";
    for (const std::string& folder : {longDir, longPath, std::string()}) {
        system->tempFolder = folder;
        RecordingFrontEnd front;
        CCorvaneApp app(platform, "corvane");
        app.InitInstance(front);
        EXPECT_EQ(front.dialogRuns, 1);
        EXPECT_FALSE(LoggingOn());
    }
}

TEST(AppName, IsTheExecutablesBaseName) {
    EXPECT_EQ(AppNameFromPath("C:\\Program Files\\Corvane\\corvane.exe"), "corvane");
    EXPECT_EQ(AppNameFromPath("/usr/local/bin/corvane-cli"), "corvane-cli");
    EXPECT_EQ(AppNameFromPath("corvane.tool.exe"), "corvane.tool");
}

} // namespace
} // namespace corvane
