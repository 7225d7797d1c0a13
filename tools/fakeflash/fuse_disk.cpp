#define FUSE_USE_VERSION 31
#include "fuse_disk.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace corvane::fakeflash {
namespace {

constexpr char kDiskPath[] = "/disk";
constexpr char kDiskName[] = "disk";

struct Served {
    FakeDrive* drive;
    bool directIo;
    uid_t uid;
    gid_t gid;
    std::time_t mounted;
};

Served& State() {
    return *static_cast<Served*>(fuse_get_context()->private_data);
}

void* Init(fuse_conn_info* /*conn*/, fuse_config* cfg) {
    Served& s = State();
    // Without direct I/O the kernel keeps the pages a reader wrote and hands them back on the
    // next read, so a write that wrapped or was dropped still reads back as written.
    cfg->direct_io = s.directIo ? 1 : 0;
    cfg->kernel_cache = 0;
    cfg->auto_cache = 0;
    return &s;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info* /*fi*/) {
    const Served& s = State();
    std::memset(st, 0, sizeof *st);
    st->st_uid = s.uid;
    st->st_gid = s.gid;
    st->st_atime = st->st_mtime = st->st_ctime = s.mounted;
    if (std::strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        return 0;
    }
    if (std::strcmp(path, kDiskPath) == 0) {
        st->st_mode = S_IFREG | 0600;
        st->st_nlink = 1;
        st->st_size = static_cast<off_t>(s.drive->Size());
        st->st_blocks = static_cast<blkcnt_t>((s.drive->StoredBytes() + 511) / 512);
        st->st_blksize = 4096;
        return 0;
    }
    return -ENOENT;
}

int ReadDir(const char* path, void* buf, fuse_fill_dir_t fill, off_t /*offset*/,
            fuse_file_info* /*fi*/, fuse_readdir_flags /*flags*/) {
    if (std::strcmp(path, "/") != 0)
        return -ENOTDIR;
    const auto none = static_cast<fuse_fill_dir_flags>(0);
    fill(buf, ".", nullptr, 0, none);
    fill(buf, "..", nullptr, 0, none);
    fill(buf, kDiskName, nullptr, 0, none);
    return 0;
}

int Open(const char* path, fuse_file_info* fi) {
    if (std::strcmp(path, kDiskPath) != 0)
        return -ENOENT;
    fi->direct_io = State().directIo ? 1 : 0;
    fi->keep_cache = 0;
    return 0;
}

// A drive's size is fixed: any other size is refused, so an O_TRUNC open cannot empty it.
int Truncate(const char* path, off_t size, fuse_file_info* /*fi*/) {
    if (std::strcmp(path, kDiskPath) != 0)
        return -ENOENT;
    return static_cast<std::uint64_t>(size) == State().drive->Size() ? 0 : -EPERM;
}

int Read(const char* /*path*/, char* buf, size_t size, off_t offset, fuse_file_info* /*fi*/) {
    if (offset < 0)
        return -EINVAL;
    return static_cast<int>(State().drive->Read(static_cast<std::uint64_t>(offset),
                                                {reinterpret_cast<std::uint8_t*>(buf), size}));
}

int Write(const char* /*path*/, const char* buf, size_t size, off_t offset,
          fuse_file_info* /*fi*/) {
    if (offset < 0)
        return -EINVAL;
    return static_cast<int>(State().drive->Write(
        static_cast<std::uint64_t>(offset), {reinterpret_cast<const std::uint8_t*>(buf), size}));
}

int Flush(const char* /*path*/, fuse_file_info* /*fi*/) {
    return State().drive->Flush();
}

int Fsync(const char* /*path*/, int /*datasync*/, fuse_file_info* /*fi*/) {
    return State().drive->Flush();
}

fuse_operations Operations() {
    fuse_operations ops{};
    ops.init = Init;
    ops.getattr = GetAttr;
    ops.readdir = ReadDir;
    ops.open = Open;
    ops.truncate = Truncate;
    ops.read = Read;
    ops.write = Write;
    ops.flush = Flush;
    ops.fsync = Fsync;
    return ops;
}

} // namespace

int ServeDisk(FakeDrive& drive, const MountRequest& request) {
    Served served{&drive, request.directIo, ::getuid(), ::getgid(), std::time(nullptr)};
    // A loop device has few requests in flight. Explicit thread limits also keep the library
    // from warning about its own unset default for idle threads.
    std::vector<std::string> args{
        "fakeflash", request.mountpoint, "-o",
        "fsname=fakeflash,subtype=fakeflash,max_threads=8,max_idle_threads=4"};
    if (!request.fuseOptions.empty())
        args.insert(args.end(), {"-o", request.fuseOptions});
    if (request.foreground)
        args.emplace_back("-f");
    if (request.debug)
        args.emplace_back("-d");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const fuse_operations ops = Operations();
    return fuse_main(static_cast<int>(argv.size() - 1), argv.data(), &ops, &served) == 0 ? 0 : 1;
}

} // namespace corvane::fakeflash
