#include "hosts/cli/cli_report.h"

#include "hosts/cli/cli_front_end.h"

namespace corvane::cli {

const char* VerdictName(Verdict verdict) {
    switch (verdict) {
    case Verdict::Genuine:
        return "genuine";
    case Verdict::Fake:
        return "fake";
    case Verdict::Faulty:
        return "faulty";
    case Verdict::Stopped:
        return "stopped";
    case Verdict::NotTested:
        return "not-tested";
    }
    return "not-tested";
}

Verdict VerdictOf(std::optional<SizeTestOutcome> outcome, std::optional<TestFailure> failure) {
    if (!outcome)
        return Verdict::NotTested;
    switch (*outcome) {
    case SizeTestOutcome::Genuine:
        return Verdict::Genuine;
    case SizeTestOutcome::Aborted:
        return Verdict::Stopped;
    case SizeTestOutcome::FailureReported:
        // Data that comes back other than written is what a fake does; a drive that refuses
        // its transfers is faulty (or gone).
        return failure && *failure == TestFailure::Mismatch ? Verdict::Fake : Verdict::Faulty;
    case SizeTestOutcome::NoBuffer:
    case SizeTestOutcome::NoVolume:
        return Verdict::NotTested;
    }
    return Verdict::NotTested;
}

int ExitCodeOf(std::optional<SizeTestOutcome> outcome) {
    if (!outcome)
        return kExitNoTest;
    switch (*outcome) {
    case SizeTestOutcome::Genuine:
        return kExitGenuine;
    case SizeTestOutcome::FailureReported:
        return kExitFailure;
    case SizeTestOutcome::Aborted:
        return kExitStopped;
    case SizeTestOutcome::NoBuffer:
    case SizeTestOutcome::NoVolume:
        return kExitNoTest;
    }
    return kExitNoTest;
}

std::string ModelText(const DriveIdentity& identity) {
    std::string text = identity.vendor;
    if (!identity.product.empty())
        text += (text.empty() ? "" : " ") + identity.product;
    return text.empty() ? "(no identity)" : text;
}

Verdict DriveReport::verdict() const {
    return VerdictOf(outcome,
                     failure ? std::optional<TestFailure>(failure->failure) : std::nullopt);
}

const char* ModeName(int mode) {
    return mode == kFullTestMode ? "full" : "quick";
}

} // namespace corvane::cli
