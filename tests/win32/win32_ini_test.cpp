#include <gtest/gtest.h>

#include <fstream>

#include "os/ini.h"
#include "win32_temp_folder.h"

namespace corvane {
namespace {

std::string WriteFile(const testing::Win32TempFolder& folder, const std::string& text) {
    const std::string path = folder.Path() + "bay.ini";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(Win32Ini, ReadsSectionsTrimmedValuesAndLines) {
    testing::Win32TempFolder folder;
    const std::string path = WriteFile(folder,
                                       "; a bay of two drives\r\n"        // 1
                                       "[drive E]\r\n"                    // 2
                                       "  size = 16 GB   \r\n"            // 3
                                       "# not a key\r\n"                  // 4
                                       "real=2GB ; the truth\r\n"         // 5
                                       "\r\n"                             // 6
                                       "[drive G]\r\n"                    // 7
                                       "vendor=Kingston;no comment\r\n"); // 8
    const os::IniParseResult result = os::ReadIniFile(path);
    ASSERT_TRUE(result.ok) << "error at line " << result.errorLine;
    EXPECT_EQ(result.document.sections, (std::vector<std::string>{"drive E", "drive G"}));
    struct Expected {
        const char* section;
        const char* key;
        const char* value;
        int line;
    };
    const Expected expected[] = {
        {"drive E", "size", "16 GB", 3},
        {"drive E", "real", "2GB", 5},
        {"drive G", "vendor", "Kingston;no comment", 8},
    };
    ASSERT_EQ(result.document.entries.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const os::IniEntry& e = result.document.entries[i];
        EXPECT_EQ(e.section, expected[i].section) << i;
        EXPECT_EQ(e.key, expected[i].key) << i;
        EXPECT_EQ(e.value, expected[i].value) << i;
        EXPECT_EQ(e.line, expected[i].line) << i;
    }
}

// The system's reader shows neither keys before the first section nor a section's second block;
// they must still reach the caller, in file order, so that it can refuse them.
TEST(Win32Ini, KeysTheSystemReaderSkipsAreKept) {
    testing::Win32TempFolder folder;
    const std::string path = WriteFile(folder, "stray=1\n"  // 1
                                               "[E:]\n"     // 2
                                               "size=2\n"   // 3
                                               "[G:]\n"     // 4
                                               "size=3\n"   // 5
                                               "[e:]\n"     // 6
                                               "real=4\n"); // 7
    const os::IniParseResult result = os::ReadIniFile(path);
    ASSERT_TRUE(result.ok);
    std::vector<std::string> seen;
    for (const os::IniEntry& e : result.document.entries)
        seen.push_back(std::to_string(e.line) + " [" + e.section + "] " + e.key + "=" + e.value);
    EXPECT_EQ(seen, (std::vector<std::string>{"1 [] stray=1", "3 [E:] size=2", "5 [G:] size=3",
                                              "7 [e:] real=4"}));
}

TEST(Win32Ini, LineWithoutEqualsIsASyntaxError) {
    testing::Win32TempFolder folder;
    const std::string path = WriteFile(folder, "[drive E]\nsize=1\nwhat is this\n");
    const os::IniParseResult result = os::ReadIniFile(path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorLine, 3);
}

TEST(Win32Ini, MissingFileIsNotRead) {
    testing::Win32TempFolder folder;
    const os::IniParseResult result = os::ReadIniFile(folder.Path() + "absent.ini");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorLine, 0);
}

} // namespace
} // namespace corvane
