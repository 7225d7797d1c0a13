#pragma once
#include <cstdint>
#include <string>

namespace corvane {

// The record of one listed drive.
class CDevice {
public:
    CDevice() = default;
    virtual ~CDevice() = default;

    // Drive name: "E:" on Windows and in the simulated bay, a block device name or path on
    // Linux. Set only after a successful INQUIRY.
    std::string m_drive;
    // Vendor and product identification, joined and trimmed.
    std::string m_vendorProduct;
    // Product revision level, trimmed.
    std::string m_revision;
    // INQUIRY byte 0, whole: 0 is a connected direct-access device.
    std::int32_t m_peripheralType = 0;
    // STORAGE_BUS_TYPE value, or -1 when the query failed.
    std::int32_t m_busType = -1;
};

} // namespace corvane
