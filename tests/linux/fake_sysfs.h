#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "os/linux/linux_drive_env.h"

namespace corvane::os::linux_os::testing {

namespace fs = std::filesystem;

// A machine's sysfs tree, device folder and mount and swap tables in a temporary folder,
// laid out as the kernel lays them out: each disk's folder sits under the device it belongs
// to, with /sys/block, /sys/class/block and /sys/dev/block pointing at it.
class FakeSysfs {
public:
    explicit FakeSysfs(const std::string& under = "/tmp") {
        std::string pattern = under + "/corvane-sysfs-XXXXXX";
        const char* made = mkdtemp(pattern.data());
        if (made == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        root = made;
        sys = root + "/sys";
        dev = root + "/dev";
        for (const char* dir :
             {"block", "class/block", "dev/block", "bus/scsi", "devices/virtual/block"})
            fs::create_directories(sys + "/" + dir);
        fs::create_directories(dev);
        Write(root + "/mountinfo", "");
        Write(root + "/swaps", "Filename\tType\tSize\tUsed\tPriority\n");
    }
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;
    ~FakeSysfs() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    LinuxDriveEnv Env(const BlockCalls* calls = &RealBlockCalls()) const {
        LinuxDriveEnv env;
        env.sysRoot = sys;
        env.devRoot = dev;
        env.mountInfoPath = root + "/mountinfo";
        env.swapsPath = root + "/swaps";
        env.calls = calls;
        return env;
    }

    // Adds a whole disk of sectors 512-byte sectors. device is the folder of the device it
    // belongs to, below /sys/devices ("pci0000:00/.../6:0:0:0"); empty for a virtual disk
    // (loop, ram), which has no device. Returns the disk's folder.
    std::string AddDisk(const std::string& name, const std::string& devNumber,
                        std::uint64_t sectors, const std::string& device = "") {
        const std::string dir = device.empty() ? sys + "/devices/virtual/block/" + name
                                               : sys + "/devices/" + device + "/block/" + name;
        fs::create_directories(dir);
        if (!device.empty())
            fs::create_directory_symlink(sys + "/devices/" + device, dir + "/device");
        Write(dir + "/dev", devNumber + "\n");
        Write(dir + "/size", std::to_string(sectors) + "\n");
        Write(dir + "/removable", "0\n");
        fs::create_directories(dir + "/holders");
        fs::create_directory_symlink(dir, sys + "/block/" + name);
        Link(dir, name, devNumber);
        return dir;
    }

    // Adds partition number of a disk folder.
    std::string AddPartition(const std::string& diskDir, const std::string& name,
                             const std::string& devNumber, int number) {
        const std::string dir = diskDir + "/" + name;
        fs::create_directories(dir + "/holders");
        Write(dir + "/dev", devNumber + "\n");
        Write(dir + "/partition", std::to_string(number) + "\n");
        Write(dir + "/size", "2048\n");
        Link(dir, name, devNumber);
        return dir;
    }

    // Marks the device folder as one on the SCSI layer.
    void MakeScsi(const std::string& device) {
        fs::create_directory_symlink(sys + "/bus/scsi", sys + "/devices/" + device + "/subsystem");
    }

    // Records holderDir as built on deviceDir.
    void AddHolder(const std::string& deviceDir, const std::string& holderDir) {
        fs::create_directory_symlink(holderDir, deviceDir + "/holders/" +
                                                    fs::path(holderDir).filename().string());
    }

    // A regular file standing for the device node /dev/<name>.
    std::string AddNode(const std::string& name) {
        Write(dev + "/" + name, "");
        return dev + "/" + name;
    }

    static void Write(const std::string& path, const std::string& text) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }

    std::string root;
    std::string sys;
    std::string dev;

private:
    void Link(const std::string& dir, const std::string& name, const std::string& devNumber) {
        fs::create_directory_symlink(dir, sys + "/class/block/" + name);
        fs::create_directory_symlink(dir, sys + "/dev/block/" + devNumber);
    }
};

} // namespace corvane::os::linux_os::testing
