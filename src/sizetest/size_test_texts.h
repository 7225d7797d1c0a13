#pragma once
#include <cstdint>
#include <string>

namespace corvane {

// The texts a size test run shows. Each is kept here once; the views format on demand.
inline constexpr const char* kWritingSectorLabel = "Writing Sector";
inline constexpr const char* kVerifyingSectorLabel = "Verifying Sector";
inline constexpr const char* kAmountWrittenLabel = "Amount Written";
inline constexpr const char* kAmountVerifiedLabel = "Amount Verified";
inline constexpr const char* kNotAvailable = "N/A";
inline constexpr const char* kZeroGb = "0 GB";
inline constexpr const char* kAllComplete = "100% Complete";

inline constexpr const char* kAllocFailedText = "Fatal error, unable to allocate required memory";
inline constexpr const char* kWriteFailureAt = "Write Failure at ";
inline constexpr const char* kVerifyFailureAt = "Verify Failure at ";
inline constexpr const char* kFirstSectorOverwritten = "The firstsector has been overwritten.";
inline constexpr const char* kGenuineVerdict =
    "Test Complete. No errors found.\n\nSize seems to be genuine.\n\nThis disk will now need "
    "reformatting.  Do you want to launch Micrsoft format?";
inline constexpr const char* kAbortVerdict =
    "Aborted at user request.\n\nThis disk will now need reformatting.  Do you want to launch "
    "Micrsoft format?";
inline constexpr const char* kFormatCaption = "Launch the formatter?";

inline constexpr const char* kZeroSectorsText =
    "Drive report zero sectors.  No media detected in drive, or drive not formatted";
inline constexpr const char* kConfirmText =
    "This test will destroy or corrupt data on the media.\n\nWhen complete you will be given "
    "the option to reformat it.";
inline constexpr const char* kConfirmCaption = "Are you sure you want to continue?";

inline constexpr const char* kThreadStartLog = "Start Flash Error THREAD SizeTestThread()";
inline constexpr const char* kThreadInvalidLog =
    "ErrorThread() - THREAD - InternetThread isn't valid";

enum class TestPass { Write, Verify };

// How a block failed: the drive refused to write it, refused to read it back whole, or gave
// back other data than was written.
enum class TestFailure { WriteRefused, ReadRefused, Mismatch };

// "Writing Data 42% Complete" or "Verify 42% Complete".
std::string ProgressText(TestPass pass, std::uint64_t percent);
// The write-pass mismatch message for block p at byte offset bytes.
std::string WritePassVerifyFailureText(std::uint64_t p, std::uint64_t bytes);
// The verify-pass mismatch message; for the first block it names the probable real size.
std::string VerifyFailureText(std::uint64_t bytes);
std::string FirstSectorOverwrittenText(std::uint64_t realSizeBytes);

} // namespace corvane
