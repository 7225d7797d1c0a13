#include <gtest/gtest.h>

#include "app/version_code.h"

namespace corvane {
namespace {

struct VersionCase {
    std::uint32_t platform, major, minor;
    int code;
};

TEST(VersionCode, EveryRowOfTheTable) {
    const VersionCase cases[] = {
        {os::kPlatformWin32Windows, 4, 0, 0},
        {os::kPlatformWin32Windows, 4, 10, 1},
        {os::kPlatformWin32Windows, 4, 90, 1},
        {os::kPlatformWin32Nt, 4, 0, 2},
        {os::kPlatformWin32Nt, 5, 0, 3},
        {os::kPlatformWin32Nt, 5, 1, 4},
        {os::kPlatformWin32Nt, 5, 2, 5},
        {os::kPlatformWin32Nt, 5, 3, 6},
        {os::kPlatformWin32Nt, 6, 0, 7},
        {os::kPlatformWin32Nt, 6, 3, 8},
        {os::kPlatformWin32Nt, 6, 4, 8},
        {os::kPlatformWin32Nt, 3, 51, 9},
        {os::kPlatformWin32Nt, 10, 0, 9},
        {os::kPlatformOther, 6, 1, 10},
        {0, 4, 0, 10},
        {os::kPlatformWin32Nt, 6, 1, 11},
        {os::kPlatformWin32Nt, 6, 2, 12},
    };
    for (const VersionCase& c : cases) {
        const os::VersionRecord v{c.platform, c.major, c.minor, 1234};
        EXPECT_EQ(ClassifyWindowsVersion(v), c.code)
            << "platform " << c.platform << " version " << c.major << "." << c.minor;
    }
}

TEST(VersionCode, FailedQueryIsMinusOne) {
    EXPECT_EQ(ClassifyWindowsVersion(std::nullopt), -1);
}

} // namespace
} // namespace corvane
