#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <vector>

#include "file_store.h"

namespace corvane::fakeflash {
namespace {

TEST(FileStore, KeepsTheMediumInASparseFileAcrossReopening) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("fakeflash-store-" + std::to_string(::getpid()));
    constexpr std::uint64_t kCapacity = 1ULL << 30;
    const std::vector<std::uint8_t> block(4096, 0x5A);
    {
        std::string error;
        auto store = FileStore::Open(path, kCapacity, error);
        ASSERT_TRUE(store) << error;
        EXPECT_EQ(std::filesystem::file_size(path), kCapacity);
        ASSERT_EQ(store->Write(kCapacity - 4096, block), 0);
        EXPECT_EQ(store->Flush(), 0);
        EXPECT_LT(store->StoredBytes(), 1U << 20); // sparse: 1 GiB costs a few blocks
    }
    {
        std::string error;
        auto store = FileStore::Open(path, kCapacity, error);
        ASSERT_TRUE(store) << error;
        std::vector<std::uint8_t> out(8192, 0xEE);
        ASSERT_EQ(store->Read(kCapacity - 8192, out), 0);
        EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 4096),
                  std::vector<std::uint8_t>(4096, 0));
        EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + 4096, out.end()), block);
    }
    std::filesystem::remove(path);

    std::string error;
    EXPECT_FALSE(FileStore::Open(std::filesystem::temp_directory_path(), kCapacity, error));
    EXPECT_NE(error.find("store"), std::string::npos);
}

} // namespace
} // namespace corvane::fakeflash
