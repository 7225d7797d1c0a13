#include "app/version_code.h"

namespace corvane {

int ClassifyWindowsVersion(const std::optional<os::VersionRecord>& version) {
    if (!version)
        return -1;
    const os::VersionRecord& v = *version;
    if (v.platformId == os::kPlatformWin32Windows)
        return (v.major == 4 && v.minor == 0) ? 0 : 1;
    if (v.platformId != os::kPlatformWin32Nt)
        return 10;
    switch (v.major) {
    case 4:
        return 2;
    case 5:
        switch (v.minor) {
        case 0:
            return 3;
        case 1:
            return 4;
        case 2:
            return 5;
        default:
            return 6;
        }
    case 6:
        switch (v.minor) {
        case 0:
            return 7;
        case 1:
            return 11;
        case 2:
            return 12;
        default:
            return 8;
        }
    default:
        return 9;
    }
}

} // namespace corvane
