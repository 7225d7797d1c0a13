#pragma once
#include <string>
#include <vector>

#include "fake_drive.h"

namespace corvane::fakeflash {

// Exit code for a command line that cannot be used.
inline constexpr int kExitUsage = 2;

struct FakeOptions {
    std::string mountpoint;
    DriveModel model;
    std::string storePath; // empty: the medium lives in memory
    bool foreground = false;
    bool directIo = true;
    bool debug = false;
    std::string fuseOptions; // passed to the mount as -o
    bool help = false;
};

struct ParsedOptions {
    bool ok = false;
    FakeOptions options;
    std::string error; // what is wrong with the command line, when !ok
};

// Reads the arguments after the program name. --help wins over every other argument.
ParsedOptions ParseFakeOptions(const std::vector<std::string>& args);

// The --help text.
std::string UsageText();

} // namespace corvane::fakeflash
