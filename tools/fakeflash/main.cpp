#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "fake_options.h"
#include "file_store.h"
#include "fuse_disk.h"
#include "memory_store.h"

using namespace corvane::fakeflash;

int main(int argc, char** argv) {
    const ParsedOptions parsed = ParseFakeOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok) {
        std::fprintf(stderr, "fakeflash: %s\nTry 'fakeflash --help'.\n", parsed.error.c_str());
        return kExitUsage;
    }
    const FakeOptions& o = parsed.options;
    if (o.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }

    std::unique_ptr<BlockStore> store;
    if (o.storePath.empty()) {
        store = std::make_unique<MemoryStore>();
    } else {
        std::string error;
        store = FileStore::Open(o.storePath, o.model.real, error);
        if (!store) {
            std::fprintf(stderr, "fakeflash: %s\n", error.c_str());
            return 1;
        }
    }
    FakeDrive drive(o.model, std::move(store));
    return ServeDisk(drive, {o.mountpoint, o.foreground, o.directIo, o.debug, o.fuseOptions});
}
