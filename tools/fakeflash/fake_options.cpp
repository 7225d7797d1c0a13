#include "fake_options.h"

#include <charconv>
#include <optional>

#include "size_text.h"

namespace corvane::fakeflash {
namespace {

constexpr std::size_t kMaxCacheUnits = 1U << 21; // 1 GiB of cached sectors

const char kUsage[] = R"(Usage: fakeflash MOUNTPOINT --size SIZE [options]

Mounts a file system holding one file, MOUNTPOINT/disk, that behaves like a flash drive
reporting SIZE bytes but really holding only --real bytes. Put it behind a loop device:
  fakeflash /mnt/fake --size 16GB --real 8GiB --beyond wrap
  losetup --direct-io=on -f --show /mnt/fake/disk
The loop device chooses the sector size (losetup --sector-size 4096).

Drive:
  --size SIZE          the capacity the drive reports (required)
  --real SIZE          the capacity it really has (default: SIZE, a genuine drive)
  --beyond MODE        what happens at and past the real capacity:
                         wrap   writes and reads land on offset modulo the wrap size (default)
                         zeros  writes are dropped, reads return zeros
                         stale  writes are dropped, reads return the data at the aliased position
                         error  reads and writes fail with EIO
                         read-error  writes are dropped, reads fail with EIO
  --wrap SIZE          alias period of wrap and stale, a power of two (default: the real
                       capacity); aliased positions past the real capacity hold nothing
  --cache K            a write cache of K 512-byte sectors that serves reads of recent writes
  --cache-policy P     fifo (default) or lru eviction
  --store FILE         keep the real medium in a sparse FILE instead of memory

Mount:
  -f, --foreground     stay in the foreground (default: become a daemon once mounted)
  -o OPTIONS           mount options for FUSE (e.g. allow_other)
  --no-direct-io       let the kernel cache the file; this hides the fake from every reader
                       and exists only to show that it does
  --debug              print every FUSE request
  -h, --help           show this text

Sizes: plain bytes, KB MB GB TB (powers of 1000) or KiB MiB GiB TiB (powers of 1024),
with an optional fraction: 7.5GB.
Exit status: 0 after a clean unmount, 1 when mounting failed, 2 for a bad command line.
)";

ParsedOptions Fail(std::string error) {
    ParsedOptions result;
    result.error = std::move(error);
    return result;
}

std::optional<Beyond> BeyondByName(const std::string& name) {
    if (name == "wrap")
        return Beyond::Wrap;
    if (name == "zeros")
        return Beyond::Zeros;
    if (name == "stale")
        return Beyond::Stale;
    if (name == "error")
        return Beyond::Error;
    if (name == "read-error")
        return Beyond::ReadError;
    return std::nullopt;
}

bool IsPowerOfTwo(std::uint64_t v) {
    return v != 0 && (v & (v - 1)) == 0;
}

} // namespace

std::string UsageText() {
    return kUsage;
}

ParsedOptions ParseFakeOptions(const std::vector<std::string>& args) {
    for (const std::string& a : args)
        if (a == "-h" || a == "--help") {
            ParsedOptions result;
            result.ok = true;
            result.options.help = true;
            return result;
        }

    FakeOptions o;
    std::optional<std::uint64_t> size, real, wrap;
    bool beyondGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (name.rfind("--", 0) == 0) {
            if (const auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.resize(eq);
            }
        }
        // Fetches the option's value from "--name=value" or the next argument.
        std::string value;
        auto takeValue = [&]() -> bool {
            if (inlineValue) {
                value = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            return true;
        };
        auto takeSize = [&](std::optional<std::uint64_t>& into, std::string& error) -> bool {
            if (!takeValue()) {
                error = name + " needs a size";
                return false;
            }
            std::uint64_t bytes = 0;
            if (!ParseSize(value, bytes, error)) {
                error = name + ": " + error;
                return false;
            }
            into = bytes;
            return true;
        };

        std::string error;
        if (name == "--size" || name == "--real" || name == "--wrap") {
            auto& into = name == "--size" ? size : name == "--real" ? real : wrap;
            if (!takeSize(into, error))
                return Fail(error);
        } else if (name == "--beyond") {
            if (!takeValue())
                return Fail("--beyond needs a mode: wrap, zeros, stale, error or read-error");
            const auto mode = BeyondByName(value);
            if (!mode)
                return Fail("--beyond: unknown mode '" + value +
                            "' (use wrap, zeros, stale, error or read-error)");
            o.model.beyond = *mode;
            beyondGiven = true;
        } else if (name == "--cache") {
            if (!takeValue())
                return Fail("--cache needs a number of sectors");
            std::size_t units = 0;
            const char* end = value.data() + value.size();
            const auto [ptr, ec] = std::from_chars(value.data(), end, units);
            if (value.empty() || ec != std::errc{} || ptr != end || units > kMaxCacheUnits)
                return Fail("--cache: '" + value + "' is not a number of sectors from 0 to " +
                            std::to_string(kMaxCacheUnits));
            o.model.cacheUnits = units;
        } else if (name == "--cache-policy") {
            if (!takeValue() || (value != "fifo" && value != "lru"))
                return Fail("--cache-policy needs fifo or lru");
            o.model.cachePolicy =
                value == "lru" ? WriteCache::Policy::Lru : WriteCache::Policy::Fifo;
        } else if (name == "--store") {
            if (!takeValue() || value.empty())
                return Fail("--store needs a file name");
            o.storePath = value;
        } else if (name == "-o") {
            if (!takeValue() || value.empty())
                return Fail("-o needs mount options");
            o.fuseOptions += (o.fuseOptions.empty() ? "" : ",") + value;
        } else if (name == "-f" || name == "--foreground") {
            o.foreground = true;
        } else if (name == "--no-direct-io") {
            o.directIo = false;
        } else if (name == "--debug") {
            o.debug = true;
        } else if (inlineValue || (!name.empty() && name[0] == '-')) {
            return Fail("unknown option '" + args[i] + "'");
        } else if (o.mountpoint.empty()) {
            o.mountpoint = name;
        } else {
            return Fail("only one mount point may be given, got '" + o.mountpoint + "' and '" +
                        name + "'");
        }
        if (inlineValue && (name == "-f" || name == "--foreground" || name == "--no-direct-io" ||
                            name == "--debug"))
            return Fail(name + " takes no value");
    }

    if (o.mountpoint.empty())
        return Fail("no mount point given");
    if (!size || *size == 0)
        return Fail("--size is required and must be above 0");
    o.model.size = *size;
    o.model.real = real.value_or(*size);
    if (o.model.real > o.model.size)
        return Fail("--real must not exceed --size");
    if (wrap) {
        if (beyondGiven && o.model.beyond != Beyond::Wrap && o.model.beyond != Beyond::Stale)
            return Fail("--wrap applies only to --beyond wrap or stale");
        if (!IsPowerOfTwo(*wrap) || *wrap < 512)
            return Fail("--wrap must be a power of two of at least 512 bytes");
        o.model.wrap = *wrap;
    }
    if ((o.model.beyond == Beyond::Wrap || o.model.beyond == Beyond::Stale) && o.model.wrap == 0 &&
        o.model.real == 0)
        return Fail("--real 0 leaves nothing to alias onto: give --wrap or another --beyond");

    ParsedOptions result;
    result.ok = true;
    result.options = std::move(o);
    return result;
}

} // namespace corvane::fakeflash
