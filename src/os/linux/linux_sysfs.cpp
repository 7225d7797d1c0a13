#include "os/linux/linux_sysfs.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace corvane::os::linux_os {
namespace fs = std::filesystem;
namespace {

// Name prefixes of block devices that are never offered as drives (see ListDriveNames).
constexpr std::array<std::string_view, 5> kNotDrives = {"ram", "zram", "dm-", "md", "fd"};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNotDrive(const std::string& name) {
    return std::any_of(kNotDrives.begin(), kNotDrives.end(),
                       [&](std::string_view prefix) { return name.starts_with(prefix); });
}

int PartitionNumber(const std::string& dir) {
    return std::atoi(ReadAttribute(dir + "/partition").c_str());
}

} // namespace

std::string ReadAttribute(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line))
        return {};
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

std::optional<DevNumber> ReadDevNumber(const std::string& deviceDir) {
    const std::string text = ReadAttribute(deviceDir + "/dev");
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    DevNumber dev;
    const char* end = text.data() + text.size();
    const auto first = std::from_chars(text.data(), text.data() + colon, dev.major);
    const auto second = std::from_chars(text.data() + colon + 1, end, dev.minor);
    if (first.ec != std::errc{} || first.ptr != text.data() + colon || second.ec != std::errc{} ||
        second.ptr != end)
        return std::nullopt;
    return dev;
}

std::string BaseName(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string CanonicalPath(const std::string& path) {
    std::error_code ec;
    const fs::path canonical = fs::canonical(path, ec);
    return ec ? std::string() : canonical.string();
}

bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t ie = i;
            std::size_t je = j;
            while (ie < a.size() && IsDigit(a[ie]))
                ++ie;
            while (je < b.size() && IsDigit(b[je]))
                ++je;
            // Compare the runs as numbers without converting them: skip leading zeros, then
            // the longer run is the larger number.
            std::size_t is = i;
            std::size_t js = j;
            while (is + 1 < ie && a[is] == '0')
                ++is;
            while (js + 1 < je && b[js] == '0')
                ++js;
            if (ie - is != je - js)
                return ie - is < je - js;
            const int order = a.compare(is, ie - is, b, js, je - js);
            if (order != 0)
                return order < 0;
            i = ie;
            j = je;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::optional<std::vector<std::string>> ListDriveNames(const LinuxDriveEnv& env) {
    std::error_code ec;
    fs::directory_iterator it(env.sysRoot + "/block", ec);
    if (ec)
        return std::nullopt;
    std::vector<std::string> names;
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (IsNotDrive(name))
            continue;
        const std::string size = ReadAttribute(entry.path().string() + "/size");
        if (size.empty() || std::strtoull(size.c_str(), nullptr, 10) == 0)
            continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

std::vector<std::string> PartitionDirs(const std::string& diskDir) {
    std::vector<std::string> dirs;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(diskDir, ec)) {
        std::error_code isDir;
        if (entry.is_directory(isDir) && fs::exists(entry.path() / "partition", isDir))
            dirs.push_back(CanonicalPath(entry.path().string()));
    }
    std::sort(dirs.begin(), dirs.end(), [](const std::string& a, const std::string& b) {
        return PartitionNumber(a) < PartitionNumber(b);
    });
    return dirs;
}

std::vector<std::string> HolderDirs(const std::string& deviceDir) {
    std::vector<std::string> dirs;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(deviceDir + "/holders", ec)) {
        const std::string dir = CanonicalPath(entry.path().string());
        if (!dir.empty())
            dirs.push_back(dir);
    }
    std::sort(dirs.begin(), dirs.end());
    return dirs;
}

} // namespace corvane::os::linux_os
