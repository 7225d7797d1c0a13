#pragma once
#include <memory>

#include "cli/cli_front_end.h"
#include "drives/drive_state.h"
#include "drives/headless_drive_view.h"

namespace corvane {

// The drives of a terminal command: the drive state over a view without a window, whose
// message boxes the front end prints. The drive list is built on opening, so the log holds the
// walk.
class CliDriveSession {
public:
    // Null, after printing why, when the platform offers no drives.
    static std::unique_ptr<CliDriveSession> Open(CCorvaneApp& app, CliFrontEnd& frontEnd);

    CliDriveSession(CCorvaneApp& app, CliFrontEnd& frontEnd);

    CHeadlessDriveView view;
    CDriveState state;
};

} // namespace corvane
