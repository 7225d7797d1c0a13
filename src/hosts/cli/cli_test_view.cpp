#include "hosts/cli/cli_test_view.h"

#include "drives/panel_text.h"
#include "hosts/cli/cli_terminal.h"

namespace corvane::cli {
namespace {

constexpr auto kTerminalPeriod = std::chrono::milliseconds(100);
constexpr auto kPlainPeriod = std::chrono::seconds(1);

} // namespace

CliTestView::CliTestView(TestAnswers answers, StatusLine status, std::FILE* out)
    : answers_(answers), status_(status), terminal_(status == StatusLine::Terminal), out_(out) {}

int CliTestView::MessageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style) {
    std::lock_guard lock(mutex_);
    EndStatusLineLocked();
    const bool question = (style & kMbYesNo) != 0;
    if (question && !caption.empty())
        std::fprintf(out_, "%s\n", caption.c_str());
    std::fprintf(out_, "%s\n", text.c_str());
    if (!question) {
        std::fflush(out_);
        return kIdOk;
    }
    const bool isFormatOffer = caption == kFormatCaption;
    bool yes = isFormatOffer ? answers_.format : answers_.yes;
    if (!isFormatOffer && !answers_.yes && terminal_)
        yes = AskYesNo("Continue? [y/N] ");
    else
        std::fprintf(out_, "%s\n", yes ? "[Yes]" : "[No]");
    std::fflush(out_);
    return yes ? kIdYes : kIdNo;
}

void CliTestView::ShowPass(TestPass pass) {
    std::lock_guard lock(mutex_);
    pass_ = pass;
    percent_ = 0;
    havePosition_ = false;
}

void CliTestView::ShowPosition(std::uint64_t p, std::uint64_t totalSectors,
                               std::uint32_t sectorSize) {
    std::lock_guard lock(mutex_);
    p_ = p;
    total_ = totalSectors;
    sectorSize_ = sectorSize;
    havePosition_ = true;
    ++blocks_[pass_ == TestPass::Write ? 0 : 1];
}

void CliTestView::ShowProgress(TestPass pass, std::uint64_t percent) {
    std::lock_guard lock(mutex_);
    pass_ = pass;
    percent_ = percent;
    DrawLocked(false);
}

void CliTestView::ShowRunEnd(std::uint64_t totalSectors, std::uint32_t sectorSize) {
    std::lock_guard lock(mutex_);
    DrawLocked(true);
    EndStatusLineLocked();
    std::fprintf(out_, "%s: %llu blocks written, %llu blocks verified, %s tested\n", kAllComplete,
                 static_cast<unsigned long long>(blocks_[0]),
                 static_cast<unsigned long long>(blocks_[1]),
                 FormatSize(totalSectors * sectorSize).c_str());
    std::fflush(out_);
}

void CliTestView::LaunchFormatter(int, const std::string& drive) {
    std::lock_guard lock(mutex_);
    EndStatusLineLocked();
    const bool letter = drive.size() == 2 && drive[1] == ':';
    if (letter) {
        std::fprintf(out_, "To format the drive again: format %s /FS:exFAT /Q\n", drive.c_str());
        std::fflush(out_);
        return;
    }
    const std::string device = drive.rfind('/', 0) == 0 ? drive : "/dev/" + drive;
    std::fprintf(out_,
                 "To make the drive usable again, create one partition and a file system:\n"
                 "  echo 'type=7' | sudo sfdisk %s\n"
                 "  sudo mkfs.exfat %s1     (or: sudo mkfs.vfat -F 32 %s1)\n",
                 device.c_str(), device.c_str(), device.c_str());
    std::fflush(out_);
}

std::uint64_t CliTestView::BlocksShown(TestPass pass) const {
    std::lock_guard lock(mutex_);
    return blocks_[pass == TestPass::Write ? 0 : 1];
}

void CliTestView::DrawLocked(bool force) {
    if (!havePosition_ || status_ == StatusLine::Off)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastDraw_ < (terminal_ ? kTerminalPeriod : kPlainPeriod))
        return;
    lastDraw_ = now;
    const bool write = pass_ == TestPass::Write;
    const std::string line =
        std::string(write ? kWritingSectorLabel : kVerifyingSectorLabel) + " " +
        std::to_string(p_) + " | Sectors Remaining " + std::to_string(total_ - p_) + " | " +
        (write ? kAmountWrittenLabel : kAmountVerifiedLabel) + " " + FormatSize(p_ * sectorSize_) +
        " | Amount Remaining " + FormatSize((total_ - p_) * sectorSize_) + " | " +
        ProgressText(pass_, percent_);
    if (terminal_) {
        std::fprintf(out_, "\r\033[K%s", line.c_str());
        statusShown_ = true;
    } else {
        std::fprintf(out_, "%s\n", line.c_str());
    }
    std::fflush(out_);
}

void CliTestView::EndStatusLineLocked() {
    if (statusShown_) {
        std::fputc('\n', out_);
        statusShown_ = false;
    }
}

} // namespace corvane::cli
