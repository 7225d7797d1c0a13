#include "hosts/cli/cli_drive.h"

#include <cstdio>
#include <string_view>

#include "drives/drive_queries.h"
#include "drives/panel_text.h"

#ifdef __linux__
#include "os/linux/linux_target.h"
#endif

namespace corvane {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string ListedName(std::string text) {
    if (text.size() >= 1 && IsAsciiLetter(text[0]) &&
        (text.size() == 1 || (text[1] == ':' && (text.size() == 2 || text.substr(2) == "\\"))))
        return std::string{static_cast<char>(text[0] & ~0x20), ':'};
    constexpr std::string_view kDevFolder = "/dev/";
    if (text.rfind(kDevFolder, 0) == 0)
        text.erase(0, kDevFolder.size());
    return text;
}

std::shared_ptr<CDevice> FindListed(const CDriveState& state, const std::string& drive) {
    const std::string wanted = ListedName(drive);
    for (const auto& record : state.m_DeviceList)
        if (record->m_drive == wanted)
            return record;
    return nullptr;
}

cli::DriveIdentity IdentifyDrive(os::IDriveSystem& drives, const CDevice* record,
                                 const std::string& name) {
    cli::DriveIdentity identity;
    identity.name = record != nullptr ? record->m_drive : name;
    if (record != nullptr) {
        BrandModel names = SplitBrandModel(record->m_vendorProduct);
        identity.vendor = std::move(names.brand);
        identity.product = std::move(names.model);
        identity.revision = record->m_revision;
        identity.bus = GetBusTypeName(record->m_busType);
    } else {
        identity.bus = GetBusTypeName(drives.BusType(name).value_or(-1));
    }
    identity.type = GetDriveTypeName(drives.GetDriveType(identity.name));
    std::atomic<std::uint32_t> sectorSize{0};
    identity.reportedSize = GetDriveSize(drives, identity.name, sectorSize);
    identity.sectorSize = sectorSize.load();
    return identity;
}

CliDriveSession::CliDriveSession(CCorvaneApp& app, CliFrontEnd& frontEnd)
    : view(&frontEnd),
      state(*app.Platform().drives, *app.Platform().system, view,
            [&app](const std::string& key, int value) { return app.WriteSettingInt(key, value); }) {
    view.Bind(state);
    state.ClearDrivePanel();
    state.RefillDriveList();
}

std::unique_ptr<CliDriveSession> CliDriveSession::Open(CCorvaneApp& app, CliFrontEnd& frontEnd) {
    if (!app.Platform().drives) {
        std::fprintf(stderr, "corvane-cli: no drive access on this platform (set CORVANE_SIM to "
                             "a bay file to use simulated drives)\n");
        return nullptr;
    }
    return std::make_unique<CliDriveSession>(app, frontEnd);
}

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
