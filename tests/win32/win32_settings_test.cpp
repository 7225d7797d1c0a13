#include <windows.h>

#include <gtest/gtest.h>

#include "os/native.h"

namespace corvane {
namespace {

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

// Settings of an application name of this run only, removed again afterwards (with the company
// key, when this test created it).
class Win32Settings : public ::testing::Test {
protected:
    void SetUp() override { companyExisted_ = KeyExists(kCompany); }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, appKey.c_str());
        if (!companyExisted_)
            ::RegDeleteKeyA(HKEY_CURRENT_USER, kCompany);
        EXPECT_FALSE(KeyExists(appKey));
    }

    static constexpr const char* kCompany = "Software\\CVN";
    const std::string appName = "corvane-test-" + std::to_string(::GetCurrentProcessId());
    const std::string appKey = std::string(kCompany) + "\\" + appName;
    std::unique_ptr<os::Platform> platform = os::MakeNativePlatform();

private:
    bool companyExisted_ = false;
};

TEST_F(Win32Settings, ReadingCreatesNothingAndWritingRoundTrips) {
    auto store = platform->settings->Open("CVN", appName);
    EXPECT_FALSE(store->GetInt("CVN", "AllowLogging").has_value());
    EXPECT_FALSE(KeyExists(appKey)) << "a read must not create the application's key";

    ASSERT_TRUE(store->WriteInt("CVN", "AllowLogging", 0));
    ASSERT_TRUE(store->WriteInt("CVN", "HDDSelectedDevice", -1));
    EXPECT_EQ(store->GetInt("CVN", "AllowLogging"), 0u);
    EXPECT_EQ(store->GetInt("CVN", "HDDSelectedDevice"), 0xFFFFFFFFu);
    EXPECT_FALSE(store->GetInt("Other", "AllowLogging").has_value());

    // One REG_DWORD per key, in the section's own key.
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (appKey + "\\CVN").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD value = 7;
    DWORD size = sizeof value;
    EXPECT_EQ(::RegQueryValueExA(key, "AllowLogging", nullptr, &type,
                                 reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 0u);
}

// A value edited by hand into another type is no integer setting: the default applies.
TEST_F(Win32Settings, ValueOfAnotherTypeReadsAsAbsent) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (appKey + "\\CVN").c_str(), 0, nullptr, 0,
                                KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char text[] = "1";
    ::RegSetValueExA(key, "AllowLogging", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     sizeof text);
    ::RegCloseKey(key);
    auto store = platform->settings->Open("CVN", appName);
    EXPECT_FALSE(store->GetInt("CVN", "AllowLogging").has_value());
}

} // namespace
} // namespace corvane
