#pragma once
#include <cstddef>
#include <cstdint>

namespace corvane::os {

// The fields of the standard INQUIRY data that the tool reads, and the command that asks for
// it. Drives that answer through a backend's own means (simulated drives, devices without
// SCSI) lay out their answer the same way.
struct InquiryLayout {
    static constexpr std::uint8_t kOpcode = 0x12;
    static constexpr std::size_t kPeripheral = 0;
    static constexpr std::size_t kRemovable = 1; // bit 7: removable medium
    static constexpr std::size_t kVendorAt = 8;
    static constexpr std::size_t kVendorWidth = 8;
    static constexpr std::size_t kProductAt = 16;
    static constexpr std::size_t kProductWidth = 16;
    static constexpr std::size_t kRevisionAt = 32;
    static constexpr std::size_t kRevisionWidth = 4;
    static constexpr std::size_t kStandardLength = 36;
};

} // namespace corvane::os
