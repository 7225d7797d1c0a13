#include <gtest/gtest.h>

#include "size_text.h"

namespace corvane::fakeflash {
namespace {

TEST(ParseSize, AcceptsBytesDecimalAndBinaryUnits) {
    const struct {
        const char* text;
        std::uint64_t bytes;
    } cases[] = {
        {"4096", 4096},
        {"0", 0},
        {"512B", 512},
        {"16GB", 16'000'000'000ULL},
        {"16gb", 16'000'000'000ULL},
        {"500MB", 500'000'000ULL},
        {"2TB", 2'000'000'000'000ULL},
        {"3KB", 3000},
        {"8GiB", 8ULL << 30},
        {"1gib", 1ULL << 30},
        {"512KiB", 512ULL << 10},
        {"32MiB", 32ULL << 20},
        {"1TiB", 1ULL << 40},
        {"7.5GB", 7'500'000'000ULL},
        {"1.5KiB", 1536},
    };
    for (const auto& c : cases) {
        std::uint64_t bytes = 1;
        std::string error;
        EXPECT_TRUE(ParseSize(c.text, bytes, error)) << c.text << ": " << error;
        EXPECT_EQ(bytes, c.bytes) << c.text;
    }
}

TEST(ParseSize, RefusesWhatIsNotAByteCount) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"", "does not start with a number"},
        {"GB", "does not start with a number"},
        {"-1GB", "does not start with a number"},
        {"16G", "ambiguous"},
        {"16k", "ambiguous"},
        {"16XB", "unknown unit"},
        {"16 GB", "unknown unit"},
        {"1.GB", "digits after the point"},
        {"0.3B", "not a whole number of bytes"},
        {"1.0000001KiB", "not a whole number of bytes"},
        {"18446744073709551616", "too large"},
        {"16777216TiB", "too large"},
        {"20000000TB", "too large"},
    };
    for (const auto& c : cases) {
        std::uint64_t bytes = 7;
        std::string error;
        EXPECT_FALSE(ParseSize(c.text, bytes, error)) << c.text;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
        EXPECT_EQ(bytes, 7U) << c.text;
    }
}

} // namespace
} // namespace corvane::fakeflash
