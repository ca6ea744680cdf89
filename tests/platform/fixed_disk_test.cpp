#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/fixed_disk.h"

namespace tirna {
namespace {

namespace fs = std::filesystem;

struct Drive_case {
  const char* fs_type;  // nullptr: no mount entry holds the folder (a chroot)
  Block_device device;
  Drive_kind expected;
};

Block_device disk(bool removable = false, bool usb = false, bool mmc = false) {
  return Block_device{.known = true, .removable = removable, .usb = usb, .mmc = mmc};
}

TEST(FixedDisk, DecisionFromTheMountEntryAndItsDevice) {
  const Drive_case cases[] = {
      {"ext4", disk(), Drive_kind::fixed},
      {"xfs", disk(), Drive_kind::fixed},
      {"btrfs", disk(), Drive_kind::fixed},
      {"ext4", Block_device{}, Drive_kind::fixed},  // a container that hides sysfs
      {"overlay", Block_device{}, Drive_kind::fixed},
      {"zfs", Block_device{}, Drive_kind::fixed},
      {"vfat", disk(true), Drive_kind::removable},
      {"ext4", disk(false, true), Drive_kind::removable},          // USB disk not marked removable
      {"exfat", disk(false, false, true), Drive_kind::removable},  // SD card
      {"fuseblk", disk(true, true), Drive_kind::removable},        // NTFS stick through ntfs-3g
      {"nfs", Block_device{}, Drive_kind::network},
      {"nfs4", Block_device{}, Drive_kind::network},
      {"cifs", Block_device{}, Drive_kind::network},
      {"smb3", Block_device{}, Drive_kind::network},
      {"smbfs", Block_device{}, Drive_kind::network},
      {"sshfs", Block_device{}, Drive_kind::network},
      {"fuse.sshfs", Block_device{}, Drive_kind::network},
      {"9p", Block_device{}, Drive_kind::network},
      {"iso9660", disk(true), Drive_kind::optical},
      {"udf", disk(true), Drive_kind::optical},
      {"tmpfs", Block_device{}, Drive_kind::ram},
      {"ramfs", Block_device{}, Drive_kind::ram},
      {"fuse.unknownfs", Block_device{}, Drive_kind::unknown},
      {"proc", Block_device{}, Drive_kind::unknown},
      {"ext4", Block_device{.known = true, .ram = true}, Drive_kind::ram},          // on zram
      {"ext4", Block_device{.known = true, .network = true}, Drive_kind::network},  // on nbd
      // No mount entry: the folder's own device decides.
      {nullptr, disk(), Drive_kind::fixed},
      {nullptr, Block_device{}, Drive_kind::unknown},  // tmpfs, NFS, ...: no device in sysfs
      {nullptr, disk(true), Drive_kind::removable},
      {nullptr, disk(false, true), Drive_kind::removable},
      {nullptr, disk(false, false, true), Drive_kind::removable},
      {nullptr, Block_device{.known = true, .removable = true, .optical = true},
       Drive_kind::optical},
      {nullptr, Block_device{.known = true, .ram = true}, Drive_kind::ram},
      {nullptr, Block_device{.known = true, .network = true}, Drive_kind::network},
  };
  for (const auto& c : cases) {
    std::optional<Mount_entry> m;
    if (c.fs_type) m = Mount_entry{"/media/x", c.fs_type, "/dev/sdb1", 8, 17};
    EXPECT_EQ(classify_drive(m, c.device), c.expected)
        << (c.fs_type ? c.fs_type : "no mount entry") << " " << c.device.known;
  }
}

TEST(FixedDisk, TheLongestMountPointHoldsThePathAndStackedMountsTakeTheLast) {
  const std::string mountinfo =
      "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
      "30 27 0:27 / /tmp rw,relatime shared:5 - tmpfs tmpfs rw\n"
      "31 27 8:17 / /media/user/My\\040Stick rw,nosuid master:1 - vfat /dev/sdb1 rw\n"
      "32 27 0:40 / /home/user/share rw - nfs4 server:/export rw\n"
      "33 32 0:41 / /home/user/share rw - cifs //server/share rw\n"
      "garbage line\n";
  auto m = mount_of(mountinfo, "/home/user/share/tirna");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->fs_type, "cifs");
  m = mount_of(mountinfo, "/media/user/My Stick/tirna");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->fs_type, "vfat");
  EXPECT_EQ(m->major, 8u);
  EXPECT_EQ(m->minor, 17u);
  EXPECT_EQ(m->source, "/dev/sdb1");
  m = mount_of(mountinfo, "/tmpfolder/tirna");  // /tmp is no prefix of /tmpfolder
  ASSERT_TRUE(m);
  EXPECT_EQ(m->fs_type, "ext4");
  EXPECT_EQ(mount_of(mountinfo, "/tmp")->fs_type, "tmpfs");
  EXPECT_FALSE(mount_of("", "/"));
}

class FakeSysfs : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("tirna_sysfs_" + std::to_string(::getpid()));
    fs::remove_all(root);
  }
  void TearDown() override { fs::remove_all(root); }
  // A disk at devices/<where>/block/<disk> with partition <disk>1 and its dev/block link.
  void add_disk(const std::string& where, const std::string& name, const std::string& dev,
                bool removable) {
    const fs::path d = root / "devices" / where / "block" / name;
    fs::create_directories(d / (name + "1"));
    std::ofstream(d / "removable") << (removable ? "1\n" : "0\n");
    std::ofstream(d / (name + "1") / "partition") << "1\n";
    fs::create_directories(root / "dev" / "block");
    fs::create_directory_symlink(d / (name + "1"), root / "dev" / "block" / dev);
  }
  fs::path root;
};

TEST_F(FakeSysfs, PartitionsAreJudgedByTheirDisk) {
  add_disk("pci0000:00/0000:00:1f.2/ata1/host0", "sda", "8:1", false);
  add_disk("pci0000:00/0000:00:14.0/usb2/2-1/host6", "sdb", "8:17", false);
  add_disk("pci0000:00/0000:00:1c.0/mmc_host/mmc0/mmc0:0001", "mmcblk0", "179:1", false);
  add_disk("platform/floppy", "fd0", "2:1", true);
  add_disk("pci0000:00/0000:00:1f.2/ata2/host1", "sr0", "11:1", true);
  add_disk("pci0000:00/0000:00:1f.2/ata3/host2", "sdc", "8:33", true);
  const fs::path sdc_device = root / "devices/pci0000:00/0000:00:1f.2/ata3/host2/block/sdc/device";
  fs::create_directories(sdc_device);
  std::ofstream(sdc_device / "type") << "5\n";  // a SCSI CD drive that is no sr<n>
  add_disk("virtual", "zram0", "252:1", false);
  add_disk("virtual", "nbd0", "43:1", false);
  const Block_device sata = block_device_of(8, 1, root.string());
  EXPECT_TRUE(sata.known);
  EXPECT_FALSE(sata.removable || sata.usb || sata.mmc || sata.optical || sata.ram || sata.network);
  EXPECT_TRUE(block_device_of(8, 17, root.string()).usb);
  EXPECT_TRUE(block_device_of(179, 1, root.string()).mmc);
  EXPECT_TRUE(block_device_of(2, 1, root.string()).removable);
  EXPECT_TRUE(block_device_of(11, 1, root.string()).optical);
  EXPECT_TRUE(block_device_of(8, 33, root.string()).optical);
  EXPECT_TRUE(block_device_of(252, 1, root.string()).ram);
  EXPECT_TRUE(block_device_of(43, 1, root.string()).network);
  EXPECT_FALSE(block_device_of(9, 9, root.string()).known);
}

// In a chroot the mount table holds no entry for the folder; its device number leads to sysfs.
TEST_F(FakeSysfs, AFolderNoMountHoldsIsJudgedByItsOwnDevice) {
  const fs::path folder = root / "program";
  fs::create_directories(folder);
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  const std::string dev = std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
  const std::string chroot_mounts = "40 39 0:5 / /proc rw - proc proc rw\n";
  EXPECT_EQ(drive_kind_of(folder, chroot_mounts, root.string()), Drive_kind::unknown);
  add_disk("pci0000:00/0000:00:1f.2/ata1/host0", "sda", dev, false);
  EXPECT_EQ(drive_kind_of(folder, chroot_mounts, root.string()), Drive_kind::fixed);
  std::ofstream(root / "devices/pci0000:00/0000:00:1f.2/ata1/host0/block/sda/removable") << "1\n";
  EXPECT_EQ(drive_kind_of(folder, chroot_mounts, root.string()), Drive_kind::removable);
}

TEST_F(FakeSysfs, DeviceMapperVolumesAreJudgedByTheDisksBelow) {
  add_disk("pci0000:00/0000:00:14.0/usb2/2-1/host6", "sdb", "8:17", false);
  const fs::path dm = root / "devices" / "virtual" / "block" / "dm-0";
  fs::create_directories(dm / "slaves");
  std::ofstream(dm / "removable") << "0\n";
  fs::create_directory_symlink(
      root / "devices/pci0000:00/0000:00:14.0/usb2/2-1/host6/block/sdb/sdb1",
      dm / "slaves" / "sdb1");
  fs::create_directory_symlink(dm, root / "dev" / "block" / "253:0");
  EXPECT_TRUE(block_device_of(253, 0, root.string()).usb);
}

TEST(FixedDisk, TheEnvironmentCanNameTheDecisionForTests) {
  ::setenv("TIRNA520_DRIVE", "removable", 1);
  EXPECT_EQ(drive_kind_of("/"), Drive_kind::removable);
  ::setenv("TIRNA520_DRIVE", "fixed", 1);
  EXPECT_EQ(drive_kind_of("/nonexistent"), Drive_kind::fixed);
  ::setenv("TIRNA520_DRIVE", "nonsense", 1);  // not a kind: the real decision
  EXPECT_EQ(drive_kind_of("/nonexistent/folder"), Drive_kind::unknown);
  ::unsetenv("TIRNA520_DRIVE");
  EXPECT_EQ(drive_kind_of("/proc"), Drive_kind::unknown);
}

}  // namespace
}  // namespace tirna
