#pragma once
// The drive a command names: the name the list keeps, the session that finds it, and why a mounted
// target is refused.
#include <memory>
#include <optional>
#include <string>

#include "drives/drive_state.h"
#include "hosts/cli/cli_drive_view.h"
#include "hosts/cli/cli_front_end.h"
#include "hosts/cli/cli_report.h"

namespace corvane {

// The drive name as the list keeps it: "e", "e:" and "E:\" are E:; "/dev/sdb" is sdb; any
// other text stays as it is.
std::string ListedName(std::string text);

// The drives of a terminal command: the drive state over a view without a window, whose
// message boxes the front end prints. The drive list is built on opening, so the log holds the
// walk.
class CliDriveSession {
public:
    // Null, after printing why, when the platform offers no drives.
    static std::unique_ptr<CliDriveSession> Open(CCorvaneApp& app, CliFrontEnd& frontEnd);

    CliDriveSession(CCorvaneApp& app, CliFrontEnd& frontEnd);

    CliDriveView view;
    CDriveState state;
};

// The listed record of a drive name (as given: "e", "/dev/sdb"), or null.
std::shared_ptr<CDevice> FindListed(const CDriveState& state, const std::string& drive);

// Who a drive is and its size: from its listed record when it has one (as the panel names its
// brand, model and firmware), from the system's queries alone otherwise. Reads the geometry,
// never the volume.
cli::DriveIdentity IdentifyDrive(os::IDriveSystem& drives, const CDevice* record,
                                 const std::string& name);

// Why a drive must not be tested as it stands (it holds the running system, or a mounted file
// system), or nothing when it may. Reads only system tables; never opens the drive. On
// systems without such tables the answer is always nothing.
std::optional<std::string> RefuseMountedTarget(const std::string& drive);

} // namespace corvane
