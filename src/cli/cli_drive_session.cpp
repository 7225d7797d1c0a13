#include "cli/cli_drive_session.h"

#include <cstdio>

namespace corvane {

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

} // namespace corvane
