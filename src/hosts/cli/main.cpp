#include <cstdio>

#include "app/corvane_app.h"
#include "hosts/cli/cli_arguments.h"
#include "hosts/cli/cli_front_end.h"
#include "hosts/host_platform.h"

using namespace corvane;

int main(int argc, char** argv) {
    CliCommand command;
    if (const std::optional<int> ended = ParseCommandLine(argc, argv, command))
        return *ended;

    HostPlatform front = MakeHostPlatform();
    if (!front.platform) {
        std::fprintf(stderr, "corvane-cli: %s\n", front.error.c_str());
        return kExitNoTest;
    }
    CliFrontEnd frontEnd(command);
    CCorvaneApp app(*front.platform, AppNameFromPath(front.platform->system->ExecutablePath()));
    app.InitInstance(frontEnd);
    if (!app.Started())
        return kExitNoTest;
    return frontEnd.ExitCode();
}
