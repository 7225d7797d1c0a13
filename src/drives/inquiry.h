#pragma once
#include <cstdint>

#include "os/scsi.h"
#include <string>

#include "drives/scsi_command.h"

namespace corvane {

// The standard INQUIRY the drive walk sends: 254 bytes of data.
inline constexpr std::uint32_t kInquiryLength = 254;
// Byte 0 of a connected direct-access block device (DTYPE_DASD).
inline constexpr std::int32_t kDirectAccessDevice = 0;

// What the drive list takes from the INQUIRY data.
struct InquiryIdentity {
    std::int32_t peripheralType = 0; // byte 0, whole
    bool vendorEmpty = true;         // byte 8 is 0
    std::string vendorProduct;       // bytes 8-15, a blank unless byte 15 is one, bytes 16-31
    std::string revision;            // bytes 32-35
};

// Reads the fields of INQUIRY data of kInquiryLength bytes. Each text is taken up to its first
// NUL byte and trimmed.
InquiryIdentity ParseInquiry(const std::uint8_t* data);

// Builds the INQUIRY command in the channel (6 command bytes) and sends it into data, a buffer
// of kInquiryLength bytes that is zeroed first, closing the handle afterwards. 0 on success.
int SendInquiry(CScsiCommand& channel, std::uint8_t* data);

} // namespace corvane
