#include "cli/cli_target_check.h"

#ifdef __linux__
#include "os/linux/linux_target.h"
#endif

namespace corvane {

#ifdef __linux__
std::optional<std::string> RefuseMountedTarget(const std::string& drive) {
    using os::linux_os::TargetDescription;
    const TargetDescription target = os::linux_os::DescribeTarget(drive);
    if (target.HoldsSystem()) {
        std::string where;
        for (const auto& m : target.mounts)
            if (m.system)
                where += (where.empty() ? "" : ", ") + m.mountPoint;
        for (const auto& s : target.swaps)
            where += (where.empty() ? "swap " : ", swap ") + s;
        return drive + " holds the running system (" + where + "); it is never tested";
    }
    if (!target.mounts.empty()) {
        // A mounted file system may be in use: the test would overwrite it under its users.
        std::string where;
        for (const auto& m : target.mounts)
            where += (where.empty() ? "" : ", ") + m.mountPoint;
        return drive + " has a mounted file system (" + where +
               "); unmount it first, then run the test again";
    }
    if (!target.swaps.empty())
        return drive + " holds swap in use; swapoff it first";
    return std::nullopt;
}
#else
std::optional<std::string> RefuseMountedTarget(const std::string&) {
    return std::nullopt;
}
#endif

} // namespace corvane
