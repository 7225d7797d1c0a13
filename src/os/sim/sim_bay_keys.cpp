#include "os/sim/sim_bay_keys.h"

#include <limits>

#include "os/sim/sim_bay.h"
#include "os/sim/sim_bay_text.h"

namespace corvane::os::sim {
namespace {

std::string Quoted(std::string_view value) {
    return "'" + std::string(value) + "'";
}

std::string ReadText(std::string_view value, std::string& field, std::size_t width) {
    if (value.size() > width)
        return Quoted(value) + " is longer than " + std::to_string(width) + " characters";
    for (char c : value) {
        if (c < 0x20 || c > 0x7E)
            return Quoted(value) + " holds a character outside printable ASCII";
    }
    field = std::string(value);
    return {};
}

// Reads one of the words of a table into field.
template <typename T, std::size_t N>
std::string ReadWord(std::string_view value, T& field,
                     const std::pair<std::string_view, T> (&words)[N]) {
    const std::string lower = LowerAscii(value);
    std::string list;
    for (const auto& [word, meaning] : words) {
        if (lower == word) {
            field = meaning;
            return {};
        }
        list += (list.empty() ? "" : " | ") + std::string(word);
    }
    return Quoted(value) + " is not one of " + list;
}

std::string ReadSize(std::string_view value, std::uint64_t& field) {
    const std::optional<std::uint64_t> size = ParseBaySize(value);
    if (!size)
        return Quoted(value) +
               " is not a size (whole bytes, or a whole number with KB, MB, GB, TB, KiB, "
               "MiB, GiB or TiB)";
    field = *size;
    return {};
}

std::string Vendor(std::string_view v, SimDriveConfig& d) {
    return ReadText(v, d.vendor, 8);
}
std::string Product(std::string_view v, SimDriveConfig& d) {
    return ReadText(v, d.product, 16);
}
std::string Revision(std::string_view v, SimDriveConfig& d) {
    return ReadText(v, d.revision, 4);
}

std::string Peripheral(std::string_view v, SimDriveConfig& d) {
    const std::optional<std::uint64_t> n = ParseBayNumber(v);
    if (!n || *n > 255)
        return Quoted(v) + " is not a byte value (0 to 255, or 0x00 to 0xFF)";
    d.peripheral = static_cast<std::uint8_t>(*n);
    return {};
}

std::string Inquiry(std::string_view v, SimDriveConfig& d) {
    static constexpr std::pair<std::string_view, InquiryAnswer> kWords[] = {
        {"ok", InquiryAnswer::Ok}, {"fail", InquiryAnswer::Fail}, {"sense", InquiryAnswer::Sense}};
    return ReadWord(v, d.inquiry, kWords);
}

std::string Type(std::string_view v, SimDriveConfig& d) {
    static constexpr std::pair<std::string_view, DriveType> kWords[] = {
        {"removable", kDriveRemovable}, {"fixed", kDriveFixed},   {"cdrom", kDriveCdrom},
        {"ramdisk", kDriveRamdisk},     {"remote", kDriveRemote}, {"none", kDriveNoRootDir}};
    return ReadWord(v, d.type, kWords);
}

std::string Bus(std::string_view v, SimDriveConfig& d) {
    const std::string lower = LowerAscii(v);
    for (std::int32_t i = 0; i < kBusTypeCount; ++i) {
        if (lower == LowerAscii(kBusTypeNames[i])) {
            d.bus = i;
            return {};
        }
    }
    const bool negative = !v.empty() && v.front() == '-';
    const std::optional<std::uint64_t> n = ParseBayNumber(negative ? v.substr(1) : v);
    constexpr std::uint64_t kMax = std::numeric_limits<std::int32_t>::max();
    if (!n || *n > kMax + (negative ? 1 : 0))
        return Quoted(v) + " is not a bus type name (usb, sata, sd, ...) or a 32-bit number";
    d.bus = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(*n))
                     : static_cast<std::int32_t>(*n);
    return {};
}

std::string Sector(std::string_view v, SimDriveConfig& d) {
    const std::optional<std::uint64_t> n = ParseBayNumber(v);
    if (!n || *n < 512 || *n > 65536 || (*n & (*n - 1)) != 0)
        return Quoted(v) + " is not a power of two from 512 to 65536";
    d.sector = static_cast<std::uint32_t>(*n);
    return {};
}

std::string Size(std::string_view v, SimDriveConfig& d) {
    return ReadSize(v, d.size);
}

std::string Geometry(std::string_view v, SimDriveConfig& d) {
    const std::string bad =
        Quoted(v) + " is not cylinders/heads/sectors-per-track (such as 1946/255/63)";
    std::uint64_t parts[3] = {};
    std::string_view rest = v;
    for (int i = 0; i < 3; ++i) {
        const std::size_t slash = rest.find('/');
        if ((i < 2) == (slash == std::string_view::npos))
            return bad;
        const std::optional<std::uint64_t> n = ParseBayNumber(rest.substr(0, slash));
        if (!n)
            return bad;
        parts[i] = *n;
        rest = i < 2 ? rest.substr(slash + 1) : std::string_view();
    }
    constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
    if (parts[1] == 0 || parts[2] == 0 || parts[1] > kMax32 || parts[2] > kMax32)
        return Quoted(v) + ": heads and sectors per track must be 1 to 4294967295";
    d.geometry =
        Chs{parts[0], static_cast<std::uint32_t>(parts[1]), static_cast<std::uint32_t>(parts[2])};
    return {};
}

std::string Real(std::string_view v, SimDriveConfig& d) {
    std::uint64_t real = 0;
    std::string error = ReadSize(v, real);
    if (error.empty())
        d.real = real;
    return error;
}

std::string BeyondKey(std::string_view v, SimDriveConfig& d) {
    static constexpr std::pair<std::string_view, Beyond> kWords[] = {
        {"wrap", Beyond::Wrap}, {"drop", Beyond::Drop}, {"error", Beyond::Error}};
    return ReadWord(v, d.beyond, kWords);
}

std::string Free(std::string_view v, SimDriveConfig& d) {
    return ReadSize(v, d.free);
}

std::string ReadSectors(std::string_view v, std::vector<SectorRange>& ranges) {
    const std::string bad =
        Quoted(v) + " is not a list of sectors and ranges (such as 100, 2000-2100)";
    std::vector<SectorRange> read;
    std::string_view rest = v;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        const std::size_t dash = item.find('-');
        const std::optional<std::uint64_t> first = ParseBayNumber(item.substr(0, dash));
        const std::optional<std::uint64_t> last =
            dash == std::string_view::npos ? first : ParseBayNumber(item.substr(dash + 1));
        if (!first || !last || *last < *first || (comma != std::string_view::npos && rest.empty()))
            return bad;
        read.push_back(SectorRange{*first, *last});
    }
    ranges = std::move(read);
    return {};
}

std::string Cache(std::string_view v, SimDriveConfig& d) {
    const std::optional<std::uint64_t> n = ParseBayNumber(v);
    if (!n || *n > std::numeric_limits<std::uint32_t>::max())
        return Quoted(v) + " is not a number of sectors";
    d.cacheSectors = static_cast<std::uint32_t>(*n);
    return {};
}

std::string ReadErrors(std::string_view v, SimDriveConfig& d) {
    return ReadSectors(v, d.readErrors);
}
std::string WriteErrors(std::string_view v, SimDriveConfig& d) {
    return ReadSectors(v, d.writeErrors);
}

std::string VanishAfter(std::string_view v, SimDriveConfig& d) {
    const std::optional<std::uint64_t> n = ParseBayNumber(v);
    if (!n)
        return Quoted(v) + " is not a number of transfers";
    d.vanishAfter = *n;
    return {};
}

constexpr std::uint64_t kMaxDelayMicroseconds = 60'000'000;

std::string DelayUs(std::string_view v, SimDriveConfig& d) {
    const std::optional<std::uint64_t> n = ParseBayNumber(v);
    if (!n || *n > kMaxDelayMicroseconds)
        return Quoted(v) + " is not a delay in microseconds (0 to 60000000)";
    d.delayMicroseconds = static_cast<std::uint32_t>(*n);
    return {};
}

std::string LockKey(std::string_view v, SimDriveConfig& d) {
    static constexpr std::pair<std::string_view, bool> kWords[] = {{"ok", false}, {"refuse", true}};
    return ReadWord(v, d.lockRefused, kWords);
}

std::string GeometryQuery(std::string_view v, SimDriveConfig& d) {
    static constexpr std::pair<std::string_view, bool> kWords[] = {{"ok", false}, {"fail", true}};
    return ReadWord(v, d.geometryFails, kWords);
}

constexpr BayKey kKeys[] = {
    {"vendor", Vendor},
    {"product", Product},
    {"revision", Revision},
    {"peripheral", Peripheral},
    {"inquiry", Inquiry},
    {"type", Type},
    {"bus", Bus},
    {"sector", Sector},
    {"size", Size},
    {"geometry", Geometry},
    {"real", Real},
    {"beyond", BeyondKey},
    {"free", Free},
    {"cache", Cache},
    {"read_errors", ReadErrors},
    {"write_errors", WriteErrors},
    {"vanish_after", VanishAfter},
    {"delay_us", DelayUs},
    {"lock", LockKey},
    {"geometry_query", GeometryQuery},
};

std::string Bytes(std::uint64_t n) {
    return std::to_string(n) + " bytes";
}

} // namespace

std::span<const BayKey> BayKeys() {
    return kKeys;
}

const BayKey* FindBayKey(std::string_view name) {
    const std::string lower = LowerAscii(name);
    for (const BayKey& key : kKeys) {
        if (lower == key.name)
            return &key;
    }
    return nullptr;
}

std::string BayKeyNames() {
    std::string names;
    for (const BayKey& key : kKeys)
        names += (names.empty() ? "" : ", ") + std::string(key.name);
    return names;
}

std::optional<BayKeyError> CheckBayDrive(const SimDriveConfig& d,
                                         const std::map<std::string, int>& given) {
    auto has = [&](const char* key) { return given.count(key) != 0; };
    const std::string sector = std::to_string(d.sector) + "-byte sectors";
    if (has("size") && d.size % d.sector != 0)
        return BayKeyError{"size", Bytes(d.size) + " is not a whole number of " + sector};
    if (has("real")) {
        const std::uint64_t real = *d.real;
        if (real > d.size)
            return BayKeyError{"real", Bytes(real) + " is more than size (" + Bytes(d.size) + ")"};
        if (real % d.sector != 0)
            return BayKeyError{"real", Bytes(real) + " is not a whole number of " + sector};
        if (real == 0 && d.size != 0 && d.beyond == Beyond::Wrap)
            return BayKeyError{"real", "a drive that wraps needs at least one real sector"};
    }
    if (has("geometry")) {
        const Chs chs = *d.geometry;
        // Heads times sectors per track fits 64 bits; the whole product may not.
        const std::uint64_t perCylinder = std::uint64_t{chs.heads} * chs.sectorsPerTrack;
        constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
        if (chs.cylinders != 0 &&
            (perCylinder > kMax / d.sector || chs.cylinders > kMax / (perCylinder * d.sector)))
            return BayKeyError{"geometry", "gives a size beyond 64 bits"};
    }
    if (has("free") && !FreeSpaceCounts(d.free, d.size, d.sector))
        return BayKeyError{"free", Bytes(d.free) + " is not a whole number of " + sector +
                                       " (in clusters of at most 2^31 sectors)"};
    constexpr std::uint64_t kMaxCacheBytes = 256ULL << 20;
    if (has("cache") && std::uint64_t{d.cacheSectors} * d.sector > kMaxCacheBytes)
        return BayKeyError{"cache", std::to_string(d.cacheSectors) + " " + sector +
                                        " are more than a cache of 256 MiB"};
    const std::uint64_t sectors = d.VolumeBytes() / d.sector;
    for (const char* key : {"read_errors", "write_errors"}) {
        const auto& ranges = std::string_view(key) == "read_errors" ? d.readErrors : d.writeErrors;
        for (const SectorRange& r : ranges) {
            if (has(key) && r.last >= sectors)
                return BayKeyError{key, "sector " + std::to_string(r.last) +
                                            " is past the end of the drive (" +
                                            std::to_string(sectors) + " sectors)"};
        }
    }
    return std::nullopt;
}

} // namespace corvane::os::sim
