#include "os/linux/linux_drive_name.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace corvane::os::linux_os {
namespace {

ResolvedDrive Missing(int error) {
    ResolvedDrive drive;
    drive.error = error;
    return drive;
}

bool IsKernelName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Fills the sysfs side of a block device from its canonical folder.
ResolvedDrive FromSysDir(const std::string& sysDir) {
    ResolvedDrive drive;
    const auto dev = ReadDevNumber(sysDir);
    if (sysDir.empty() || !dev)
        return Missing(ENOENT);
    drive.kind = ResolvedDrive::Kind::BlockDevice;
    drive.sysDir = sysDir;
    drive.dev = *dev;
    drive.name = BaseName(sysDir);
    std::error_code ec;
    drive.partition = std::filesystem::exists(sysDir + "/partition", ec);
    drive.diskDir = drive.partition ? std::filesystem::path(sysDir).parent_path().string() : sysDir;
    drive.diskName = BaseName(drive.diskDir);
    return drive;
}

bool SameDevice(const struct stat& st, const DevNumber& dev) {
    return S_ISBLK(st.st_mode) && major(st.st_rdev) == dev.major && minor(st.st_rdev) == dev.minor;
}

// Whether the node's status fits the resolved drive (see OpenResolved).
bool Fits(const ResolvedDrive& drive, const struct stat& st) {
    if (drive.kind == ResolvedDrive::Kind::ImageFile)
        return S_ISREG(st.st_mode);
    return SameDevice(st, drive.dev) || (drive.byName && S_ISREG(st.st_mode));
}

} // namespace

ResolvedDrive ResolveDrive(const LinuxDriveEnv& env, const std::string& nameOrPath) {
    if (nameOrPath.find('/') == std::string::npos) {
        if (!IsKernelName(nameOrPath))
            return Missing(ENOENT);
        std::string sysDir = CanonicalPath(env.sysRoot + "/class/block/" + nameOrPath);
        if (sysDir.empty())
            sysDir = CanonicalPath(env.sysRoot + "/block/" + nameOrPath);
        ResolvedDrive drive = FromSysDir(sysDir);
        if (drive.kind == ResolvedDrive::Kind::Missing)
            return drive;
        drive.byName = true;
        drive.node = env.devRoot + "/" + drive.name;
        return drive;
    }

    struct stat st {};
    if (stat(nameOrPath.c_str(), &st) != 0)
        return Missing(errno);
    if (S_ISREG(st.st_mode)) {
        ResolvedDrive drive;
        drive.kind = ResolvedDrive::Kind::ImageFile;
        drive.node = nameOrPath;
        drive.name = BaseName(nameOrPath);
        return drive;
    }
    if (!S_ISBLK(st.st_mode))
        return Missing(ENODEV);
    const std::string devLink = env.sysRoot + "/dev/block/" + std::to_string(major(st.st_rdev)) +
                                ":" + std::to_string(minor(st.st_rdev));
    ResolvedDrive drive = FromSysDir(CanonicalPath(devLink));
    if (drive.kind == ResolvedDrive::Kind::Missing)
        return Missing(ENODEV);
    drive.node = nameOrPath;
    return drive;
}

int OpenResolved(const ResolvedDrive& drive, int flags) {
    if (drive.kind == ResolvedDrive::Kind::Missing) {
        errno = drive.error != 0 ? drive.error : ENOENT;
        return -1;
    }
    // Checked before the open too: opening some devices has effects of its own.
    struct stat st {};
    if (stat(drive.node.c_str(), &st) != 0)
        return -1;
    if (!Fits(drive, st)) {
        errno = ENODEV;
        return -1;
    }
    const int fd = open(drive.node.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (fstat(fd, &st) != 0 || !Fits(drive, st)) {
        close(fd);
        errno = ENODEV;
        return -1;
    }
    return fd;
}

} // namespace corvane::os::linux_os
