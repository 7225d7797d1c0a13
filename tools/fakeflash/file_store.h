#pragma once
#include <memory>
#include <string>

#include "block_store.h"

namespace corvane::fakeflash {

// The medium kept in a sparse file, so that a run can hold more real capacity than memory and
// a drive's contents outlive the mount. The file is sized to the capacity (existing contents
// are kept); holes read as zeros.
class FileStore : public BlockStore {
public:
    // Opens or creates `path`. Returns null with a reason in `error` on failure.
    static std::unique_ptr<FileStore> Open(const std::string& path, std::uint64_t capacity,
                                           std::string& error);
    ~FileStore() override;
    FileStore(const FileStore&) = delete;
    FileStore& operator=(const FileStore&) = delete;

    int Read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    int Write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    int Flush() override;
    std::uint64_t StoredBytes() const override;

private:
    explicit FileStore(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace corvane::fakeflash
