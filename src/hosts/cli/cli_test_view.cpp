#include "hosts/cli/cli_test_view.h"

#include "hosts/cli/cli_format_hint.h"
#include "hosts/cli/cli_texts.h"

namespace corvane::cli {
namespace {

constexpr auto kTerminalPeriod = std::chrono::milliseconds(100);
constexpr auto kPlainPeriod = std::chrono::seconds(5);

} // namespace

CliTestView::CliTestView(TestAnswers answers, CliConsole& console, int slot, DriveReport& report)
    : answers_(answers), console_(console), slot_(slot), report_(report) {}

int CliTestView::MessageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style) {
    const bool question = (style & kMbYesNo) != 0;
    if (question && caption == kConfirmCaption && text == kConfirmText)
        return answers_.yes ? kIdYes : kIdNo; // asked once for every drive of the run
    if (!question) {
        {
            std::lock_guard lock(mutex_);
            report_.messages.push_back({caption, text, std::nullopt});
        }
        console_.Message(slot_, caption.empty() ? text : caption + ": " + text);
        return kIdOk;
    }
    // The format offer: answered from the command line, after its text.
    const bool yes = answers_.format;
    {
        std::lock_guard lock(mutex_);
        report_.messages.push_back({caption, text, yes});
    }
    console_.Message(slot_, text + "\n" + caption + (yes ? " [Yes]" : " [No]"));
    return yes ? kIdYes : kIdNo;
}

void CliTestView::ShowRunStart() {
    std::lock_guard lock(mutex_);
    start_ = std::chrono::steady_clock::now();
    report_.started = std::chrono::system_clock::now();
    running_ = true;
    // Plain status lines begin once the run has lasted a period: a short run shows none.
    if (console_.Status() == StatusLine::Plain)
        lastDraw_ = start_;
}

void CliTestView::ShowPlan(std::uint64_t blocksPerPass, std::uint64_t stepSectors) {
    std::lock_guard lock(mutex_);
    report_.blocksPerPass = blocksPerPass;
    report_.stepSectors = stepSectors;
}

void CliTestView::ShowPass(TestPass pass) {
    std::lock_guard lock(mutex_);
    report_.pass = pass;
}

void CliTestView::ShowPosition(std::uint64_t, std::uint64_t, std::uint32_t sectorSize) {
    std::lock_guard lock(mutex_);
    sectorSize_ = sectorSize;
    const std::uint64_t blockBytes = std::uint64_t{kBlockSectors} * sectorSize;
    // A write-pass position is shown once its block was written and read back whole; a
    // verify-pass position as its block is read, before it is checked.
    if (report_.pass == TestPass::Write) {
        ++report_.blocksWritten;
        bytesMoved_ += 2 * blockBytes;
    } else {
        ++report_.blocksVerified;
        bytesMoved_ += blockBytes;
    }
}

void CliTestView::ShowProgress(TestPass, std::uint64_t) {
    std::lock_guard lock(mutex_);
    DrawLocked(false);
}

void CliTestView::ShowFailure(TestPass pass, TestFailure failure, std::uint64_t p,
                              std::uint64_t bytes) {
    {
        std::lock_guard lock(mutex_);
        report_.failure = FailurePoint{pass, failure, p, bytes};
        // The verify pass counted the failing block as it read it: it was not verified.
        if (pass == TestPass::Verify && report_.blocksVerified > 0)
            --report_.blocksVerified;
        running_ = false;
    }
    console_.EndStatus(slot_);
}

void CliTestView::ShowProbableRealSize(std::uint64_t bytes) {
    std::lock_guard lock(mutex_);
    report_.probableRealSize = bytes;
}

void CliTestView::ShowRunEnd(std::uint64_t, std::uint32_t) {
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    console_.EndStatus(slot_);
}

void CliTestView::ShowIdleButtons() {
    std::lock_guard lock(mutex_);
    report_.seconds = SecondsLocked();
    ended_ = true;
}

bool CliTestView::Ended() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

void CliTestView::LaunchFormatter(int, const std::string& drive) {
    console_.Message(slot_, FormatHintText(drive));
}

double CliTestView::SecondsLocked() const {
    if (start_ == std::chrono::steady_clock::time_point{})
        return 0;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void CliTestView::DrawLocked(bool force) {
    if (!running_ || console_.Status() == StatusLine::Off)
        return;
    const auto now = std::chrono::steady_clock::now();
    const auto period = console_.Status() == StatusLine::Terminal
                            ? std::chrono::duration_cast<std::chrono::milliseconds>(kTerminalPeriod)
                            : std::chrono::duration_cast<std::chrono::milliseconds>(kPlainPeriod);
    if (!force && now - lastDraw_ < period)
        return;
    lastDraw_ = now;
    StatusFigures f;
    f.drive = report_.identity.name;
    f.pass = report_.pass;
    f.blocksPerPass = report_.blocksPerPass;
    f.blocksWritten = report_.blocksWritten;
    f.blocksVerified = report_.blocksVerified;
    f.bytesMoved = bytesMoved_;
    f.seconds = SecondsLocked();
    const int columns = console_.Status() == StatusLine::Terminal ? console_.Columns() : 1000;
    console_.ShowStatus(slot_, StatusLineText(f, columns));
}

} // namespace corvane::cli
