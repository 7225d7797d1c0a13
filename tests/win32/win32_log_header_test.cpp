#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "log/log_file.h"
#include "os/native.h"
#include "win32_temp_folder.h"

namespace corvane {
namespace {

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        lines.push_back(text.substr(begin, end - begin));
    lines.push_back(text.substr(begin)); // what follows the last line end
    return lines;
}

// The header as the real system services fill it: every line in its form, none left out.
TEST(Win32LogHeader, ThirteenLinesFromTheSystem) {
    testing::Win32TempFolder folder;
    auto platform = os::MakeNativePlatform();
    {
        CLogFile log(*platform->system);
        ASSERT_TRUE(log.StartLog(folder.Path(), "Corvane"));
        EXPECT_EQ(log.LogPath(), folder.Path() + "Corvane.log");
    }
    std::ifstream in(folder.Path() + "Corvane.log", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::vector<std::string> lines = SplitCrLf(text.str());
    ASSERT_EQ(lines.size(), 14u) << text.str();
    EXPECT_EQ(lines[13], "") << "the header ends with a line end and nothing after it";

    const char* const day = "(Sunday|Monday|Tuesday|Wednesday|Thursday|Friday|Saturday)";
    const char* const month = "(January|February|March|April|May|June|July|August|September|"
                              "October|November|December)";
    const std::string mb = "There are ( *[0-9]+)MB ";
    const std::string forms[] = {
        std::string("Log Started ") + day + ", " + month + " [0-9]{2}, [0-9]{4} " +
            "[0-9]{2}:[0-9]{2}:[0-9]{2}",
        "program exe path [A-Za-z]:\\\\.*corvane_native_tests\\.exe",
        "Program Version [0-9]+\\.[0-9]{3}",
        "Operating System",
        ".* Version 6\\.1 \\(Build 7601\\)",
        "Memory statistics",
        "[0-9]{1,3} percent of memory is in use\\.",
        mb + "total physical memory\\.",
        mb + "free available physical memory\\.",
        mb + "total paging file\\.",
        mb + "free available paging file\\.",
        mb + "total virtual memory\\.",
        mb + "free available virtual memory\\.",
    };
    for (std::size_t i = 0; i < std::size(forms); ++i)
        EXPECT_TRUE(std::regex_match(lines[i], std::regex(forms[i])))
            << "line " << i + 1 << ": " << lines[i];

    // The MB figures sit right-aligned in 7 characters, and the machine has memory.
    std::smatch figure;
    ASSERT_TRUE(std::regex_search(lines[7], figure, std::regex("There are (.*)MB")));
    EXPECT_GE(figure[1].length(), 7);
    EXPECT_GT(std::stoull(figure[1].str()), 0u);
}

} // namespace
} // namespace corvane
