#pragma once
// Whether a folder lies on a fixed local disk: the program refuses to run from removable media,
// network shares, optical discs and RAM disks, and from file systems it does not recognise.

#include <optional>
#include <string>
#include <string_view>

namespace tirna {

enum class Drive_kind { fixed, removable, network, optical, ram, unknown };

// One line of /proc/self/mountinfo, the fields the decision needs.
struct Mount_entry {
  std::string mount_point;
  std::string fs_type;
  std::string source;  // "/dev/sda1", "server:/export", "tmpfs", ...
  unsigned major = 0;  // st_dev of the mount (0 for file systems without a block device)
  unsigned minor = 0;
};

// What sysfs says about the block device under a mount.
struct Block_device {
  bool known = false;      // sysfs had an entry for it
  bool removable = false;  // /sys/block/<disk>/removable = 1 (of the disk or any disk below it)
  bool usb = false;        // attached through USB
  bool mmc = false;        // an SD/MMC card
  bool optical = false;    // a CD/DVD drive (sr<n>, SCSI device type 5)
  bool ram = false;        // a RAM disk (ram<n>, zram<n>)
  bool network = false;    // a network block device (nbd<n>, rbd<n>)
};

// The decision, from the mount entry and its block device. Only file systems known to live on a
// local disk (or a container's overlay of one) count as fixed; anything unrecognised is refused.
// Without a mount entry (a chroot or container whose root is no mount point of its own) the
// folder's device alone decides: a disk that sysfs knows and that is none of the refused kinds is
// fixed, a device sysfs does not know (RAM and network file systems have none) is unknown.
Drive_kind classify_drive(const std::optional<Mount_entry>& mount, const Block_device& device);

// The entry of mountinfo text that holds an absolute, canonical path: the one with the longest
// mount point that is a prefix of it, the last one listed when mounts are stacked.
std::optional<Mount_entry> mount_of(std::string_view mountinfo, std::string_view path);

// Reads sysfs (below sys_root, "/sys" on a real machine) for device major:minor.
Block_device block_device_of(unsigned major, unsigned minor, const std::string& sys_root = "/sys");

// The kind of drive that holds folder. The environment variable TIRNA520_DRIVE, when it names a
// kind ("fixed", "removable", "network", "optical", "ram", "unknown"), replaces the decision; tests
// use it to run the program from temporary folders, which may be a RAM disk.
Drive_kind drive_kind_of(const std::string& folder);

// The same decision from the given mount table and sysfs root, without the environment.
Drive_kind drive_kind_of(const std::string& folder, std::string_view mountinfo,
                         const std::string& sys_root);

std::optional<Drive_kind> drive_kind_from_name(std::string_view name);

}  // namespace tirna
