#pragma once
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "os/linux/linux_drive_env.h"

namespace corvane::os::linux_os::testing {

// Block device requests answered from fields, recording the SG_IO requests they are given.
class FakeBlockCalls : public BlockCalls {
public:
    int sectorError = 0;
    std::uint32_t sector = 512;
    int sizeError = 0;
    std::uint64_t size = 0;
    int geometryError = ENOTTY; // as on a loop device
    HdGeometry geometry;

    // The answer to SG_IO.
    int scsiError = 0;
    unsigned char status = 0;
    std::vector<unsigned char> sense;
    int resid = 0;
    unsigned short hostStatus = 0;
    unsigned short driverStatus = 0;

    // The SG_IO requests seen, with their command bytes.
    mutable std::vector<sg_io_hdr_t> requests;
    mutable std::vector<std::vector<unsigned char>> cdbs;

    int LogicalSectorSize(int, std::uint32_t& bytes) const override {
        if (sectorError == 0)
            bytes = sector;
        return sectorError;
    }
    int SizeInBytes(int, std::uint64_t& bytes) const override {
        if (sizeError == 0)
            bytes = size;
        return sizeError;
    }
    int Geometry(int, HdGeometry& out) const override {
        if (geometryError == 0)
            out = geometry;
        return geometryError;
    }
    int ScsiIo(int, sg_io_hdr_t& request) const override {
        requests.push_back(request);
        cdbs.emplace_back(request.cmdp, request.cmdp + request.cmd_len);
        if (scsiError != 0)
            return scsiError;
        request.status = status;
        const std::size_t n = std::min<std::size_t>(sense.size(), request.mx_sb_len);
        if (n > 0)
            std::memcpy(request.sbp, sense.data(), n);
        request.sb_len_wr = static_cast<unsigned char>(n);
        request.resid = resid;
        request.host_status = hostStatus;
        request.driver_status = driverStatus;
        return 0;
    }
};

} // namespace corvane::os::linux_os::testing
