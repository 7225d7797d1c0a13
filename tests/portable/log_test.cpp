#include <gtest/gtest.h>

#include <thread>

#include "app/corvane_app.h"
#include "log/error_text.h"
#include "log/log_header.h"
#include "log/log_state.h"
#include "os/last_error.h"
#include "os/sim/sim_system.h"
#include "support/recording_front_end.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using testing::ReadWholeFile;
using testing::RecordingFrontEnd;
using testing::TempDir;

constexpr std::uint64_t kGiB = 1024ULL * 1024 * 1024;

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t at; (at = text.find("\r\n", begin)) != std::string::npos; begin = at + 2)
        lines.push_back(text.substr(begin, at - begin));
    lines.push_back(text.substr(begin)); // what follows the last line end
    return lines;
}

// A log opened on a scripted machine, made the process's log for the test's life.
struct LogFixture : ::testing::Test {
    TempDir temp;
    os::sim::SimSystem system;
    std::unique_ptr<CLogFile> log;

    LogFixture() {
        system.memory =
            os::MemoryStatus{5, 8 * kGiB, 6 * kGiB, 12 * kGiB, 10 * kGiB, 4 * kGiB - 1, 3 * kGiB};
        system.productName = "Windows 7 Professional";
        system.version = os::VersionRecord{2, 6, 1, 7601};
        system.fileVersion = os::FileVersion{{1, 0, 0, 0}};
        system.executablePath = "C:\\Tools\\corvane.exe";
    }
    ~LogFixture() override { SetProcessLog(nullptr); }

    void Open() {
        log = std::make_unique<CLogFile>(system);
        SetProcessLog(log.get());
        ASSERT_TRUE(log->StartLog(temp.folder(), "Corvane"));
    }
    void Close() {
        SetProcessLog(nullptr);
        log.reset();
    }
    std::string Text() { return ReadWholeFile(temp.file("Corvane.log")); }
};

TEST_F(LogFixture, HeaderAndStartupMemoryLinesOnAScriptedMachine) {
    system.clock = {os::LocalTime{2026, 12, 8, 2, 4, 10, 5}};
    Open();
    LogStartupMemory(system);
    Close();
    const std::vector<std::string> lines = SplitCrLf(Text());
    const std::vector<std::string> expected = {
        "Log Started Tuesday, December 08, 2026 04:10:05",
        "program exe path C:\\Tools\\corvane.exe",
        "Program Version 1.000",
        "Operating System",
        "Windows 7 Professional Version 6.1 (Build 7601)",
        "Memory statistics",
        "5 percent of memory is in use.",
        "There are    8192MB total physical memory.",
        "There are    6144MB free available physical memory.",
        "There are   12288MB total paging file.",
        "There are   10240MB free available paging file.",
        "There are    4095MB total virtual memory.",
        "There are    3072MB free available virtual memory.",
        "Memory statistics",
        "04:10:05 5 percent of memory is in use.",
        "04:10:05 There are 8388608 total KB of physical memory.",
        "04:10:05 There are 6291456 free KB of available physical memory.",
        "04:10:05 There are 12582912 total KB of paging file.",
        "04:10:05 There are 10485760 free KB of available paging file.",
        "04:10:05 There are 4194303 total KB of virtual memory.",
        "04:10:05 There are 3145728 free KB of available virtual memory.",
        "04:10:05 ",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(LogFixture, ProductNameMissingLeavesTheVersionTextWithItsBlank) {
    system.productName = "";
    Open();
    Close();
    EXPECT_EQ(SplitCrLf(Text())[4], " Version 6.1 (Build 7601)");
}

TEST(LogHeaderValues, VersionNumberAndDateForms) {
    EXPECT_EQ(FormatProgramVersion(os::FileVersion{{1, 0, 0, 0}}), "1.000");
    EXPECT_EQ(FormatProgramVersion(os::FileVersion{{1, 2, 3, 4}}), "1.234");
    EXPECT_EQ(FormatProgramVersion(os::FileVersion{{1, 10, 0, 0}}), "11.000");
    EXPECT_EQ(FormatLongDateTime(os::LocalTime{2027, 1, 3, 0, 23, 59, 9}),
              "Sunday, January 03, 2027 23:59:09");
    EXPECT_EQ(FormatWidth7(8192), "   8192");
    EXPECT_EQ(FormatWidth7(123456789), "123456789");
}

TEST_F(LogFixture, EachStampShowsWhenTheMessageBeforeItWasWritten) {
    system.clock = {os::LocalTime{2026, 12, 8, 2, 9, 59, 59}, // the header's start time
                    os::LocalTime{2026, 12, 8, 2, 10, 0, 1},
                    os::LocalTime{2026, 12, 8, 2, 10, 0, 5}};
    Open();
    LogMessage("first");
    LogMessage("second");
    Close();
    const std::string text = Text();
    const std::size_t first = text.find("first");
    ASSERT_NE(first, std::string::npos);
    // The first message after the header carries no stamp.
    EXPECT_EQ(text.substr(first - 2, 2), "\r\n");
    EXPECT_EQ(text.substr(first), "first\r\n10:00:01 second\r\n10:00:05 ");
}

TEST_F(LogFixture, PartsJoinAndAnEmbeddedLineBreakBreaksTheLine) {
    Open();
    LogMessage("CScsiCommand::associate - ", 42);
    LogMessage("GetLastError() returned - ", "Access is denied.\r\n",
               "DisableMCN - Failed to disable MCN");
    Close();
    const std::vector<std::string> lines = SplitCrLf(Text());
    ASSERT_GE(lines.size(), 4u);
    const std::size_t n = lines.size();
    EXPECT_EQ(lines[n - 4], "CScsiCommand::associate - 42");
    // Text mode writes the error text's own CR LF as CR CR LF; the line still breaks there.
    EXPECT_EQ(lines[n - 3], "04:10:05 GetLastError() returned - Access is denied.\r");
    EXPECT_EQ(lines[n - 2], "DisableMCN - Failed to disable MCN");
    EXPECT_EQ(lines[n - 1], "04:10:05 ");
}

TEST_F(LogFixture, SecondRunKeepsTheWholeFirstLogAsBackup) {
    Open();
    EXPECT_FALSE(testing::FileExists(temp.file("Corvaneold.log")));
    LogMessage("run one");
    Close();
    const std::string firstRun = Text();
    ASSERT_EQ(firstRun.substr(firstRun.size() - 9), "04:10:05 ");

    Open();
    LogMessage("run two");
    Close();
    EXPECT_EQ(ReadWholeFile(temp.file("Corvaneold.log")), firstRun);
    const std::string secondRun = Text();
    EXPECT_EQ(secondRun.find("run one"), std::string::npos);
    EXPECT_NE(secondRun.find("run two"), std::string::npos);
}

TEST_F(LogFixture, MessagesOfTwoThreadsNeverInterleave) {
    Open();
    constexpr int kPerThread = 2000;
    auto writer = [](const char* who) {
        for (int i = 0; i < kPerThread; ++i)
            LogMessage(who, " message number ", i, " with a tail");
    };
    std::thread a(writer, "worker");
    std::thread b(writer, "dialog");
    a.join();
    b.join();
    Close();
    const std::vector<std::string> lines = SplitCrLf(Text());
    int messages = 0;
    for (std::size_t i = 14; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        ASSERT_EQ(line.substr(0, 9), "04:10:05 ") << line;
        const std::string body = line.substr(9);
        ASSERT_TRUE(body.rfind("worker message number ", 0) == 0 ||
                    body.rfind("dialog message number ", 0) == 0)
            << body;
        ASSERT_EQ(body.substr(body.size() - 11), "with a tail") << body;
        ++messages;
    }
    EXPECT_EQ(messages + 1, 2 * kPerThread); // the first message has no stamp
}

TEST_F(LogFixture, UnopenableFileLeavesLoggingOff) {
    std::filesystem::create_directory(temp.file("Corvane.log")); // a folder in the file's way
    log = std::make_unique<CLogFile>(system);
    SetProcessLog(log.get());
    EXPECT_FALSE(log->StartLog(temp.folder(), "Corvane"));
    EXPECT_FALSE(LoggingOn());
    LogMessage("goes nowhere"); // must not crash
}

TEST_F(LogFixture, FileExceptionReports) {
    Open();
    RecordingFrontEnd front;
    ReportFileException(2, front);
    ReportFileException(15, front);
    ReportFileException(-1, front);
    Close();
    ASSERT_EQ(front.boxes.size(), 3u);
    EXPECT_EQ(front.boxes[0].text, "ERROR: File not found!");
    EXPECT_EQ(front.boxes[0].style, kMbOk | kMbIconExclamation);
    EXPECT_EQ(front.boxes[0].caption, ""); // the application's name
    EXPECT_EQ(front.boxes[1].text, "");
    EXPECT_EQ(front.boxes[2].text, "");
    const std::vector<std::string> lines = SplitCrLf(Text());
    const std::size_t n = lines.size();
    EXPECT_EQ(lines[n - 4], "Type of Exception - ERROR: File not found!");
    EXPECT_EQ(lines[n - 3], "04:10:05 Type of Exception - ");
    EXPECT_EQ(lines[n - 2], "04:10:05 Type of Exception - ");
}

TEST(FormatLastErrorText, IsTheSystemsTextForTheThreadsLastError) {
    os::sim::SimSystem system;
    system.errorTexts[5] = "Access is denied.\r\n";
    std::string text = "old";
    os::SetLastOsError(5);
    FormatLastError(system, text);
    EXPECT_EQ(text, "Access is denied.\r\n");
    os::SetLastOsError(12345);
    FormatLastError(system, text);
    EXPECT_EQ(text, "");
}

} // namespace
} // namespace corvane
