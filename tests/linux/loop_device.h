#pragma once
#include <fcntl.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace corvane::os::linux_os::testing {

// A loop device over a sparse backing file, detached and removed again on every path.
class LoopDevice {
public:
    // Attaches a new loop device of size bytes; null with the reason in whyNot when this
    // machine cannot (not root, no loop support, no losetup).
    static std::unique_ptr<LoopDevice> Attach(std::uint64_t size, std::string& whyNot) {
        if (geteuid() != 0) {
            whyNot = "attaching a loop device needs root";
            return nullptr;
        }
        const std::string folder = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = folder + "/corvane-loop-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd < 0) {
            whyNot = "cannot make a backing file in " + folder;
            return nullptr;
        }
        const bool sized = ftruncate(fd, static_cast<off_t>(size)) == 0;
        close(fd);
        auto loop = std::unique_ptr<LoopDevice>(new LoopDevice(pattern));
        if (!sized) {
            whyNot = "cannot size the backing file";
            return nullptr;
        }
        std::string output;
        if (Run("losetup -f --show '" + pattern + "' 2>&1", output) != 0 ||
            !output.starts_with("/dev/loop")) {
            whyNot = "losetup cannot attach a loop device: " + output;
            return nullptr;
        }
        loop->device = output;
        loop->name = output.substr(5);
        return loop;
    }

    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;
    ~LoopDevice() {
        std::string ignored;
        if (!device.empty())
            Run("losetup -d " + device + " 2>&1", ignored);
        unlink(backing.c_str());
    }

    // Runs a shell command; its exit status, with its output (last line end removed).
    static int Run(const std::string& command, std::string& output) {
        output.clear();
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr)
            return -1;
        char chunk[256];
        std::size_t n = 0;
        while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
            output.append(chunk, n);
        const int status = pclose(pipe);
        while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
            output.pop_back();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string device;  // /dev/loopN
    std::string name;    // loopN
    std::string backing; // the sparse file behind it

private:
    explicit LoopDevice(std::string file) : backing(std::move(file)) {}
};

} // namespace corvane::os::linux_os::testing
