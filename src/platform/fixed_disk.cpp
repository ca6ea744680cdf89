#include "platform/fixed_disk.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace tirna {
namespace {

namespace fs = std::filesystem;

bool one_of(std::string_view value, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), value) != names.end();
}

// mountinfo writes blanks, tabs, newlines and backslashes in paths as octal escapes.
std::string unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out +=
            static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

std::optional<Mount_entry> parse_mountinfo_line(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start < line.size()) {
    const std::size_t end = std::min(line.find(' ', start), line.size());
    if (end > start) fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  const auto dash = std::find(fields.begin(), fields.end(), "-");
  if (fields.size() < 6 || dash == fields.end() || fields.end() - dash < 3) return std::nullopt;
  Mount_entry entry;
  const std::string_view dev = fields[2];
  const std::size_t colon = dev.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  entry.major =
      static_cast<unsigned>(std::strtoul(std::string(dev.substr(0, colon)).c_str(), nullptr, 10));
  entry.minor =
      static_cast<unsigned>(std::strtoul(std::string(dev.substr(colon + 1)).c_str(), nullptr, 10));
  entry.mount_point = unescape(fields[4]);
  entry.fs_type = std::string(dash[1]);
  entry.source = unescape(dash[2]);
  return entry;
}

bool holds(std::string_view mount_point, std::string_view path) {
  if (mount_point == "/") return true;
  if (path.substr(0, mount_point.size()) != mount_point) return false;
  return path.size() == mount_point.size() || path[mount_point.size()] == '/';
}

std::string read_small(const fs::path& file) {
  std::ifstream in(file);
  std::string text;
  std::getline(in, text);
  return text;
}

// name is prefix followed by a number: "sr0" of "sr", not "sram".
bool numbered(std::string_view name, std::string_view prefix) {
  return name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix &&
         std::isdigit(static_cast<unsigned char>(name[prefix.size()]));
}

// Looks at one block device folder of sysfs and at the devices it is built on (device mapper,
// RAID), a few levels deep.
void examine(const fs::path& device_dir, Block_device& out, int depth) {
  std::error_code ec;
  const fs::path dir = fs::canonical(device_dir, ec);
  if (ec) return;
  out.known = true;
  const fs::path disk = fs::exists(dir / "partition", ec) ? dir.parent_path() : dir;
  if (read_small(disk / "removable") == "1") out.removable = true;
  const std::string name = disk.filename().string();
  if (numbered(name, "sr") || read_small(disk / "device" / "type") == "5") out.optical = true;
  if (numbered(name, "ram") || numbered(name, "zram")) out.ram = true;
  if (numbered(name, "nbd") || numbered(name, "rbd")) out.network = true;
  const std::string where = dir.string();
  if (where.find("/usb") != std::string::npos) out.usb = true;
  if (where.find("/mmc") != std::string::npos || disk.filename().string().rfind("mmcblk", 0) == 0) {
    out.mmc = true;
  }
  if (depth >= 4) return;
  for (const fs::path& slaves : {dir / "slaves", disk / "slaves"}) {
    for (const auto& entry : fs::directory_iterator(slaves, ec))
      examine(entry.path(), out, depth + 1);
    if (disk == dir) break;
  }
}

// The device alone: a disk that sysfs knows, unless it is of a refused kind.
Drive_kind classify_device(const Block_device& device) {
  if (!device.known) return Drive_kind::unknown;
  if (device.ram) return Drive_kind::ram;
  if (device.network) return Drive_kind::network;
  if (device.optical) return Drive_kind::optical;
  if (device.removable || device.usb || device.mmc) return Drive_kind::removable;
  return Drive_kind::fixed;
}

}  // namespace

Drive_kind classify_drive(const std::optional<Mount_entry>& mount, const Block_device& device) {
  if (!mount) return classify_device(device);
  const std::string_view type = mount->fs_type;
  if (one_of(type, {"tmpfs", "ramfs", "devtmpfs"})) return Drive_kind::ram;
  if (one_of(type, {"iso9660", "udf"})) return Drive_kind::optical;
  if (one_of(type, {"nfs",
                    "nfs4",
                    "cifs",
                    "smb3",
                    "smbfs",
                    "ncpfs",
                    "afs",
                    "ceph",
                    "glusterfs",
                    "lustre",
                    "9p",
                    "virtiofs",
                    "sshfs",
                    "fuse.sshfs",
                    "davfs",
                    "fuse.davfs2",
                    "fuse.rclone",
                    "fuse.s3fs",
                    "fuse.gvfsd-fuse",
                    "fuse.glusterfs",
                    "fuse.cephfs"})) {
    return Drive_kind::network;
  }
  if (one_of(type,
             {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "reiserfs", "vfat", "msdos",
              "exfat", "ntfs", "ntfs3", "fuseblk", "hfs", "hfsplus", "nilfs2", "bcachefs"})) {
    // A container that hides sysfs still has its files on a disk.
    return device.known ? classify_device(device) : Drive_kind::fixed;
  }
  // Local file systems without one block device of their own: a container's layered root and ZFS.
  if (one_of(type, {"overlay", "zfs"})) return Drive_kind::fixed;
  return Drive_kind::unknown;
}

std::optional<Mount_entry> mount_of(std::string_view mountinfo, std::string_view path) {
  std::optional<Mount_entry> best;
  std::istringstream lines{std::string(mountinfo)};
  std::string line;
  while (std::getline(lines, line)) {
    auto entry = parse_mountinfo_line(line);
    if (!entry || !holds(entry->mount_point, path)) continue;
    if (!best || entry->mount_point.size() >= best->mount_point.size()) best = std::move(entry);
  }
  return best;
}

Block_device block_device_of(unsigned major, unsigned minor, const std::string& sys_root) {
  Block_device device;
  examine(
      fs::path(sys_root) / "dev" / "block" / (std::to_string(major) + ":" + std::to_string(minor)),
      device, 0);
  return device;
}

std::optional<Drive_kind> drive_kind_from_name(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, Drive_kind>, 6> names = {{
      {"fixed", Drive_kind::fixed},
      {"removable", Drive_kind::removable},
      {"network", Drive_kind::network},
      {"optical", Drive_kind::optical},
      {"ram", Drive_kind::ram},
      {"unknown", Drive_kind::unknown},
  }};
  for (const auto& [text, kind] : names) {
    if (text == name) return kind;
  }
  return std::nullopt;
}

Drive_kind drive_kind_of(const std::string& folder) {
  if (const char* forced = std::getenv("TIRNA520_DRIVE")) {
    if (auto kind = drive_kind_from_name(forced)) return *kind;
  }
  std::ifstream in("/proc/self/mountinfo");
  const std::string mountinfo{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return drive_kind_of(folder, mountinfo, "/sys");
}

Drive_kind drive_kind_of(const std::string& folder, std::string_view mountinfo,
                         const std::string& sys_root) {
  std::error_code ec;
  const fs::path path = fs::canonical(folder, ec);
  if (ec) return Drive_kind::unknown;
  struct stat st {};
  const auto mount = mount_of(mountinfo, path.string());
  if (!mount) {
    // Where the root is no mount point of its own (a chroot, some containers) the mount table
    // lists nothing that holds the folder: its own device number still names its disk.
    if (::stat(path.c_str(), &st) != 0) return Drive_kind::unknown;
    return classify_drive(std::nullopt,
                          block_device_of(::major(st.st_dev), ::minor(st.st_dev), sys_root));
  }
  // File systems such as btrfs report an anonymous device; the source names the real one.
  unsigned major = mount->major, minor = mount->minor;
  if (major == 0 && mount->source.rfind("/dev/", 0) == 0 &&
      ::stat(mount->source.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) {
    major = ::major(st.st_rdev);
    minor = ::minor(st.st_rdev);
  }
  return classify_drive(mount, block_device_of(major, minor, sys_root));
}

}  // namespace tirna
