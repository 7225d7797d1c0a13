#include <gtest/gtest.h>

#include <cstring>

#include "drives/inquiry.h"

namespace corvane {
namespace {

// INQUIRY data with the given byte 0 and the raw vendor, product and revision fields.
std::vector<std::uint8_t> Data(std::uint8_t byte0, std::string_view vendor,
                               std::string_view product, std::string_view revision) {
    std::vector<std::uint8_t> data(kInquiryLength, 0);
    data[0] = byte0;
    std::memcpy(data.data() + 8, vendor.data(), std::min<std::size_t>(8, vendor.size()));
    std::memcpy(data.data() + 16, product.data(), std::min<std::size_t>(16, product.size()));
    std::memcpy(data.data() + 32, revision.data(), std::min<std::size_t>(4, revision.size()));
    return data;
}

TEST(Inquiry, VendorAndProductJoinAndTrim) {
    using namespace std::string_view_literals;
    struct Case {
        std::string_view vendor, product, revision;
        std::string vendorProduct, firmware;
    };
    const Case cases[] = {
        // Four letters and four blanks, nine letters and seven blanks: the vendor's blanks stay
        // inside, 17 characters.
        {"KING    ", "DATATRAVE       ", "1.00", "KING    DATATRAVE", "1.00"},
        // Eight and sixteen non-blank characters: one blank put between, 25 characters.
        {"SANDISK1", "CRUZERBLADE12345", "PMAP", "SANDISK1 CRUZERBLADE12345", "PMAP"},
        // Leading blanks and a short revision are trimmed.
        {"  Lexar ", "JumpDrive       ", " 8.0", "Lexar JumpDrive", "8.0"},
        // The text ends at the first NUL byte, in the product or already in the vendor.
        {"SanDisk ", "Cruz\0er         "sv, "1\0\0\0"sv, "SanDisk Cruz", "1"},
        {"ABC\0\0\0\0\0"sv, "Product         ", "    ", "ABC", ""},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> data = Data(0, c.vendor, c.product, c.revision);
        const InquiryIdentity id = ParseInquiry(data.data());
        EXPECT_EQ(id.vendorProduct, c.vendorProduct);
        EXPECT_EQ(id.revision, c.firmware);
        EXPECT_FALSE(id.vendorEmpty);
    }
}

TEST(Inquiry, ByteZeroWholeAndAnEmptyVendor) {
    using namespace std::string_view_literals;
    const std::vector<std::uint8_t> qualifier = Data(0x20, "SanDisk ", "Cruzer", "1.00");
    EXPECT_EQ(ParseInquiry(qualifier.data()).peripheralType, 0x20);
    const std::vector<std::uint8_t> empty = Data(0, "\0ANDISK "sv, "Cruzer", "1.00");
    EXPECT_TRUE(ParseInquiry(empty.data()).vendorEmpty);
}

} // namespace
} // namespace corvane
