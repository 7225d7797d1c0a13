#include <windows.h>

#include <gtest/gtest.h>

#include "app/corvane_app.h"
#include "os/last_error.h"
#include "os/native.h"

namespace corvane {
namespace {

class Win32System : public ::testing::Test {
protected:
    std::unique_ptr<os::Platform> platform = os::MakeNativePlatform();
    os::ISystem& system = *platform->system;
};

// Wine presents itself as Windows 7 SP1 to a program without a supportedOS list.
TEST_F(Win32System, VersionRecordGivesTheWindows7Code) {
    const std::optional<os::VersionRecord> version = system.Version();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->platformId, os::kPlatformWin32Nt);
    EXPECT_EQ(version->build, 7601u);
    CCorvaneApp app(*platform, "corvane_native_tests");
    EXPECT_EQ(app.GetWindowsVersionCode(), 11);
}

TEST_F(Win32System, TempFolderEndsWithABackslash) {
    const std::string folder = system.TempFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_NE(::GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win32System, ErrorTextKeepsTheSystemsLineEnd) {
    const std::string known = system.ErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_GE(known.size(), 3u);
    EXPECT_EQ(known.substr(known.size() - 2), "\r\n");
    // A code the system has no text for (customer bit set) gives nothing.
    EXPECT_EQ(system.ErrorText(0x2000ABCDu), "");
}

TEST_F(Win32System, FailingCallsLeaveTheirCodeForPortableCode) {
    os::SetLastOsError(0);
    EXPECT_FALSE(
        system.CopyFile("C:\\no\\such\\folder\\a.log", "C:\\no\\such\\folder\\b.log", false));
    EXPECT_EQ(os::LastOsError(), static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
}

TEST_F(Win32System, ExecutableWithoutVersionResourceHasNoVersion) {
    const std::string exe = system.ExecutablePath();
    EXPECT_NE(exe.find("corvane_native_tests"), std::string::npos) << exe;
    EXPECT_FALSE(system.ExecutableFileVersion(exe).has_value());
}

// The user Wine runs as holds the Administrators group; the check must see it through the
// whole token, descriptor and access-check sequence.
TEST_F(Win32System, AdministratorCheckPassesForAnAdministrator) {
    EXPECT_TRUE(system.IsCurrentUserAdmin()) << "last error " << os::LastOsError();
}

TEST_F(Win32System, SocketGateOpensAtVersion11) {
    EXPECT_TRUE(system.StartSockets());
}

} // namespace
} // namespace corvane
