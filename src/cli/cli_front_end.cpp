#include "cli/cli_front_end.h"

#include <cstdio>

namespace corvane {

int CliFrontEnd::MessageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style) {
    std::FILE* out = (style & kMbIconError) != 0 ? stderr : stdout;
    if (!caption.empty())
        std::fprintf(out, "%s: ", caption.c_str());
    std::fprintf(out, "%s\n", text.c_str());
    std::fflush(out);
    return (style & kMbYesNo) != 0 ? kIdNo : kIdOk;
}

bool CliFrontEnd::RunMainDialog(CCorvaneApp& app) {
    switch (command_.kind) {
    case CliCommand::Kind::Version:
        std::printf("%s %s\n", app.AppName().c_str(), CORVANE_VERSION_TEXT);
        break;
    }
    return true;
}

} // namespace corvane
