#include "sizetest/size_test_texts.h"

#include <cstdio>

#include "drives/panel_text.h"

namespace corvane {

std::string ProgressText(TestPass pass, std::uint64_t percent) {
    char text[64];
    if (pass == TestPass::Write)
        std::snprintf(text, sizeof text, "Writing Data %llu%% Complete",
                      static_cast<unsigned long long>(percent));
    else
        std::snprintf(text, sizeof text, "Verify %llu%% Complete",
                      static_cast<unsigned long long>(percent));
    return text;
}

std::string WritePassVerifyFailureText(std::uint64_t p, std::uint64_t bytes) {
    // The sector is printed whole: positions pass 2^31 on drives beyond 1 TiB.
    char text[256];
    std::snprintf(text, sizeof text,
                  "Verify failure while writing sector %llu at %s\n\nWrite error.\n\nThis disk is "
                  "either faulty or a fake size",
                  static_cast<unsigned long long>(p), FormatSize(bytes).c_str());
    return text;
}

std::string VerifyFailureText(std::uint64_t bytes) {
    return kVerifyFailureAt + FormatSize(bytes);
}

std::string FirstSectorOverwrittenText(std::uint64_t realSizeBytes) {
    return VerifyFailureText(0) + " " + kFirstSectorOverwritten + " Real size is probably " +
           FormatSize(realSizeBytes);
}

} // namespace corvane
