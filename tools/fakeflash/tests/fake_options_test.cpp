#include <gtest/gtest.h>

#include <sstream>

#include "fake_options.h"

namespace corvane::fakeflash {
namespace {

std::vector<std::string> Split(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

TEST(FakeOptions, TheCommandLineOfAHandMadeFake) {
    const ParsedOptions p = ParseFakeOptions(
        Split("/mnt/fake --size 16GB --real=8GiB --beyond stale --wrap 4GiB --cache 64 "
              "--cache-policy lru --store /tmp/s -f -o allow_other -o ro --no-direct-io"));
    ASSERT_TRUE(p.ok) << p.error;
    const FakeOptions& o = p.options;
    EXPECT_EQ(o.mountpoint, "/mnt/fake");
    EXPECT_EQ(o.model.size, 16'000'000'000ULL);
    EXPECT_EQ(o.model.real, 8ULL << 30);
    EXPECT_EQ(o.model.beyond, Beyond::Stale);
    EXPECT_EQ(o.model.wrap, 4ULL << 30);
    EXPECT_EQ(o.model.cacheUnits, 64U);
    EXPECT_EQ(o.model.cachePolicy, WriteCache::Policy::Lru);
    EXPECT_EQ(o.storePath, "/tmp/s");
    EXPECT_TRUE(o.foreground);
    EXPECT_FALSE(o.directIo);
    EXPECT_EQ(o.fuseOptions, "allow_other,ro");
}

TEST(FakeOptions, DefaultsMakeAGenuineDriveInMemoryAsADaemon) {
    const ParsedOptions p = ParseFakeOptions(Split("m --size 1GB"));
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.model.real, 1'000'000'000ULL);
    EXPECT_EQ(p.options.model.beyond, Beyond::Wrap);
    EXPECT_EQ(p.options.model.wrap, 0U);
    EXPECT_EQ(p.options.model.cacheUnits, 0U);
    EXPECT_TRUE(p.options.storePath.empty());
    EXPECT_FALSE(p.options.foreground);
    EXPECT_TRUE(p.options.directIo);
    EXPECT_TRUE(ParseFakeOptions(Split("--bogus --help")).options.help);
}

TEST(FakeOptions, BadCommandLinesAreRefusedWithTheReason) {
    const struct {
        const char* line;
        const char* reason;
    } cases[] = {
        {"--size 1GB", "no mount point"},
        {"m", "--size is required"},
        {"m --size 0", "--size is required"},
        {"m --size", "--size needs a size"},
        {"m --size 16G", "ambiguous"},
        {"m --size 1GB --real 2GB", "--real must not exceed --size"},
        {"m --size 1GB --beyond maybe", "unknown mode 'maybe'"},
        {"m --size 1GB --real 1MB --wrap 3MiB", "power of two"},
        {"m --size 1GB --real 1MB --wrap 256", "power of two"},
        {"m --size 1GB --real 1MB --beyond zeros --wrap 1MiB", "only to --beyond wrap or stale"},
        {"m --size 1GB --real 0", "nothing to alias onto"},
        {"m --size 1GB --cache -1", "not a number of sectors"},
        {"m --size 1GB --cache 4k", "not a number of sectors"},
        {"m --size 1GB --cache 99999999", "not a number of sectors"},
        {"m --size 1GB --cache-policy random", "fifo or lru"},
        {"m --size 1GB --store", "needs a file name"},
        {"m --size 1GB -x", "unknown option '-x'"},
        {"m --size 1GB --colour=red", "unknown option '--colour=red'"},
        {"m --size 1GB --foreground=yes", "takes no value"},
        {"m n --size 1GB", "only one mount point"},
    };
    for (const auto& c : cases) {
        const ParsedOptions p = ParseFakeOptions(Split(c.line));
        EXPECT_FALSE(p.ok) << c.line;
        EXPECT_NE(p.error.find(c.reason), std::string::npos) << c.line << ": " << p.error;
    }
    // Zero real capacity is a drive of nothing but errors or dropped writes: allowed.
    EXPECT_TRUE(ParseFakeOptions(Split("m --size 1GB --real 0 --beyond error")).ok);
}

} // namespace
} // namespace corvane::fakeflash
