#include "hosts/cli/cli_front_end.h"

#include <cstdio>

#include "hosts/cli/cli_commands.h"

namespace corvane {

int CliFrontEnd::MessageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style) {
    // With --json, stdout holds the report alone.
    std::FILE* out = (style & kMbIconError) != 0 || command_.json ? stderr : stdout;
    if (!caption.empty())
        std::fprintf(out, "%s: ", caption.c_str());
    std::fprintf(out, "%s\n", text.c_str());
    std::fflush(out);
    return (style & kMbYesNo) != 0 ? kIdNo : kIdOk;
}

bool CliFrontEnd::RunMainDialog(CCorvaneApp& app) {
    for (const CliCommandEntry& entry : CliCommands()) {
        if (entry.kind == command_.kind) {
            exitCode_ = entry.run(app, *this, command_);
            return true;
        }
    }
    return false;
}

} // namespace corvane
