#pragma once
#include <string>

#include "linux/fake_sysfs.h"

namespace corvane::os::linux_os::testing {

// Device folders below /sys/devices of the fake machine.
inline const std::string kUsbStick =
    "pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/6:0:0:0";
inline const std::string kSataDisk = "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0";
inline const std::string kPataDisk = "pci0000:00/0000:00:1f.1/ata3/host2/target2:0:0/2:0:0:0";
inline const std::string kCdDrive = "pci0000:00/0000:00:1f.2/ata2/host1/target1:0:0/1:0:0:0";
inline const std::string kSdCard = "platform/fe340000.mmc/mmc_host/mmc0/mmc0:aaaa";
inline const std::string kEmmc = "platform/fe330000.mmc/mmc_host/mmc1/mmc1:0001";
inline const std::string kNvme = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0";
inline const std::string kVirtio = "pci0000:00/0000:00:02.0/virtio1";

inline constexpr std::uint64_t kStickSectors = 31266816; // a 16 GB stick

// A machine with a removable USB stick sdb, a fixed SATA disk sda, a parallel ATA disk sdc,
// a CD drive sr0, an SD card mmcblk0, an eMMC mmcblk1, an NVMe disk, a virtio disk, two bound
// loop devices, and devices that are never drives (an unbound loop device, RAM disks, a
// device-mapper volume).
class FakeMachine : public FakeSysfs {
public:
    explicit FakeMachine(const std::string& under = "/tmp") : FakeSysfs(under) {
        sdb = AddDisk("sdb", "8:16", kStickSectors, kUsbStick);
        MakeScsi(kUsbStick);
        Write(sdb + "/removable", "1\n");
        Write(sys + "/devices/" + kUsbStick + "/vendor", "SanDisk \n");
        Write(sys + "/devices/" + kUsbStick + "/model", "Cruzer Blade    \n");
        Write(sys + "/devices/" + kUsbStick + "/rev", "1.00\n");
        sdb1 = AddPartition(sdb, "sdb1", "8:17", 1);
        sdb2 = AddPartition(sdb, "sdb2", "8:18", 2);

        sda = AddDisk("sda", "8:0", 1953525168, kSataDisk);
        MakeScsi(kSataDisk);
        Write(sys + "/devices/pci0000:00/0000:00:1f.2/ata1/link1/ata_link/link1/sata_spd",
              "6.0 Gbps\n");
        sda1 = AddPartition(sda, "sda1", "8:1", 1);
        sda2 = AddPartition(sda, "sda2", "8:2", 2);

        sdc = AddDisk("sdc", "8:32", 78165360, kPataDisk);
        MakeScsi(kPataDisk);
        Write(sys + "/devices/pci0000:00/0000:00:1f.1/ata3/link3/ata_link/link3/sata_spd",
              "<unknown>\n");

        sr0 = AddDisk("sr0", "11:0", 2097152, kCdDrive);
        MakeScsi(kCdDrive);
        Write(sr0 + "/removable", "1\n");

        mmcblk0 = AddDisk("mmcblk0", "179:0", 31116288, kSdCard);
        Write(sys + "/devices/" + kSdCard + "/type", "SD\n");
        Write(sys + "/devices/" + kSdCard + "/name", "SD16G\n");
        Write(sys + "/devices/" + kSdCard + "/oemid", "0x5344\n");
        Write(sys + "/devices/" + kSdCard + "/manfid", "0x000003\n");
        Write(sys + "/devices/" + kSdCard + "/fwrev", "0x0\n");

        mmcblk1 = AddDisk("mmcblk1", "179:32", 61071360, kEmmc);
        Write(sys + "/devices/" + kEmmc + "/type", "MMC\n");
        Write(sys + "/devices/" + kEmmc + "/name", "DG4032\n");
        Write(sys + "/devices/" + kEmmc + "/oemid", "0x0100\n");
        Write(sys + "/devices/" + kEmmc + "/manfid", "0x000045\n");

        nvme0n1 = AddDisk("nvme0n1", "259:0", 1000215216, kNvme);
        Write(sys + "/devices/" + kNvme + "/model", "Samsung SSD 970 EVO Plus 1TB\n");
        Write(sys + "/devices/" + kNvme + "/firmware_rev", "2B2QEXM7\n");

        vda = AddDisk("vda", "254:0", 41943040, kVirtio);
        Write(sys + "/devices/" + kVirtio + "/vendor", "0x1af4\n");

        loop3 = AddDisk("loop3", "7:3", 65536);
        Write(loop3 + "/loop/backing_file", "/var/tmp/fake stick.img\n");
        AddDisk("loop12", "7:12", 2048);
        AddDisk("loop0", "7:0", 0); // unbound
        AddDisk("ram0", "1:0", 8192);
        AddDisk("zram0", "252:0", 8192);
        dm0 = AddDisk("dm-0", "253:0", 1953000000);
    }

    std::string sdb, sdb1, sdb2, sda, sda1, sda2, sdc, sr0, mmcblk0, mmcblk1, nvme0n1, vda, loop3,
        dm0;
};

} // namespace corvane::os::linux_os::testing
