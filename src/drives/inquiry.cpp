#include "drives/inquiry.h"

#include <cstring>

#include "drives/panel_text.h"
#include "os/scsi.h"

namespace corvane {
namespace {

constexpr std::size_t kVendorAt = os::InquiryLayout::kVendorAt;
constexpr std::size_t kVendorBytes = os::InquiryLayout::kVendorWidth;
constexpr std::size_t kProductAt = os::InquiryLayout::kProductAt;
constexpr std::size_t kProductBytes = os::InquiryLayout::kProductWidth;
constexpr std::size_t kRevisionAt = os::InquiryLayout::kRevisionAt;
constexpr std::size_t kRevisionBytes = os::InquiryLayout::kRevisionWidth;

// Bytes as text up to the first NUL, then trimmed.
std::string TextField(const std::string& bytes) {
    const std::size_t nul = bytes.find('\0');
    return Trim(std::string_view(bytes).substr(0, nul));
}

std::string Bytes(const std::uint8_t* data, std::size_t at, std::size_t count) {
    return std::string(reinterpret_cast<const char*>(data + at), count);
}

} // namespace

InquiryIdentity ParseInquiry(const std::uint8_t* data) {
    InquiryIdentity id;
    id.peripheralType = data[0];
    id.vendorEmpty = data[kVendorAt] == 0;
    std::string joined = Bytes(data, kVendorAt, kVendorBytes);
    if (data[kVendorAt + kVendorBytes - 1] != ' ')
        joined += ' ';
    joined += Bytes(data, kProductAt, kProductBytes);
    id.vendorProduct = TextField(joined);
    id.revision = TextField(Bytes(data, kRevisionAt, kRevisionBytes));
    return id;
}

int SendInquiry(CScsiCommand& channel, std::uint8_t* data) {
    std::memset(data, 0, kInquiryLength);
    channel.CdbByte(0) = os::InquiryLayout::kOpcode;
    channel.CdbByte(1) = 0;
    channel.CdbByte(2) = 0;
    channel.CdbByte(3) = 0;
    channel.CdbByte(4) = static_cast<std::uint8_t>(kInquiryLength);
    channel.CdbByte(5) = 0;
    return channel.ExecuteAndClose(os::kScsiDataIn, data, kInquiryLength);
}

} // namespace corvane
