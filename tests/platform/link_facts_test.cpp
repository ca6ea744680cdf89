// The link diagnosis's checks of the device, the access and the holders, each class read from a
// fake machine (sysfs, /dev, /proc, /etc, udev's database and rules) as the kernel lays it out.

#include <gtest/gtest.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/doctor/link_diagnosis.h"
#include "platform/link_facts_reader.h"

namespace tirna {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t tech = 4321;  // the user of the fake machine, never the test's own

class Fake_machine {
 public:
  Fake_machine() {
    std::string pattern = (fs::temp_directory_path() / "facts-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) root = pattern;
    // The node's group is the test's own group, named dialout on this machine.
    file("etc/passwd", "root:x:0:0::/root:/bin/sh\ntech:x:4321:4321::/home/tech:/bin/bash\n");
    groups_line = "dialout:x:" + std::to_string(::getegid()) + ":";
    login({tech, dialout()});
  }
  ~Fake_machine() { fs::remove_all(root); }

  uint32_t dialout() const { return static_cast<uint32_t>(::getegid()); }

  void file(const std::string& path, const std::string& text, fs::perms mode = fs::perms(0644)) {
    fs::create_directories((root / path).parent_path());
    std::ofstream(root / path) << text;
    fs::permissions(root / path, mode);
  }
  void link(const std::string& path, const std::string& target) {
    fs::create_directories((root / path).parent_path());
    fs::create_symlink(target, root / path);
  }
  // The process's groups now, and the group database (dialout's members after the colon).
  void login(std::vector<uint32_t> groups, const std::string& dialout_members = "") {
    const uint32_t uid = groups.front() == 0 ? 0 : tech;
    std::string text = "Name:\ttirna520\nUid:\t" + std::to_string(uid) + "\t" +
                       std::to_string(uid) + "\t0\t0\nGid:\t" + std::to_string(groups.front()) +
                       "\t" + std::to_string(groups.front()) + "\t0\t0\nGroups:\t";
    for (uint32_t g : groups) text += std::to_string(g) + " ";
    file("proc/self/status", text + "\n");
    file("etc/group", groups_line + dialout_members + "\ntech:x:4321:\n");
  }
  // A USB device at bus path `usb` (1-1) with its ids, as sysfs and /sys/bus/usb/devices show it.
  void usb(const std::string& usb, const char* vendor, const char* product,
           const std::string& name) {
    const std::string dir = "sys/devices/usb1/" + usb;
    file(dir + "/idVendor", std::string(vendor) + "\n");
    file(dir + "/idProduct", std::string(product) + "\n");
    file(dir + "/product", name + "\n");
    file(dir + "/serial", "A50285BI\n");
    fs::create_directories(root / dir / (usb + ":1.0"));
    link("sys/bus/usb/devices/" + usb, "../../../devices/usb1/" + usb);
  }
  // A tty of a USB-serial converter (under its port, under interface .0) or of a modem-class
  // device (the interface itself), its driver, node and device numbers.
  void tty(const std::string& usb, const std::string& name, const std::string& driver,
           fs::perms mode = fs::perms(0660)) {
    const bool modem = name.starts_with("ttyACM");
    const std::string interface = "devices/usb1/" + usb + "/" + usb + ":1.0";
    const std::string device = modem ? interface : interface + "/" + name;
    fs::create_directories(root / "sys" / device / (modem ? "tty/" + name : "tty"));
    link("sys/" + device + "/driver", "../../../../../bus/usb-serial/drivers/" + driver);
    link("sys/class/tty/" + name + "/device", "../../../" + device);
    file("sys/class/tty/" + name + "/dev", "188:0\n");
    file("dev/" + name, "", mode);
    if (driver == "ftdi_sio") file("sys/" + device + "/latency_timer", "1\n");
  }
  void programmer() {
    usb("1-1", "0403", "6001", "USB-Programmer K-731M");
    tty("1-1", "ttyUSB0", "ftdi_sio");
  }
  // A process with a program name and, optionally, the device open.
  void process(long pid, const std::string& program, const std::string& open_device = "") {
    file("proc/" + std::to_string(pid) + "/comm", program + "\n");
    fs::create_directories(root / ("proc/" + std::to_string(pid) + "/fd"));
    if (!open_device.empty()) link("proc/" + std::to_string(pid) + "/fd/7", open_device);
  }

  fs::path root;
  std::string groups_line;
};

struct Facts_case {
  const char* name;
  std::function<void(Fake_machine&)> make;
  const char* port;
  // The marks of device, access, holders and line ("o" ok, "w" warning, "b" broken, "-" not run).
  const char* marks;
  Link_fault fault;    // the verdict's
  const char* phrase;  // in the first check that is not ok (its line or its fix), else in a line
};

std::string marks_of(const Port_diagnosis& p) {
  std::string out;
  for (std::size_t i = 0; i < 4; ++i) out += "owb-"[static_cast<int>(p.checks[i].mark)];
  return out;
}

class LinkFacts : public ::testing::TestWithParam<Facts_case> {};

TEST_P(LinkFacts, NamesTheClassAndItsFix) {
  const Facts_case& c = GetParam();
  Fake_machine m;
  ASSERT_FALSE(m.root.empty());
  c.make(m);
  if (std::string(c.name) == "acl_for_the_seat_user" &&
      ::getxattr((m.root / "dev/ttyUSB0").c_str(), "system.posix_acl_access", nullptr, 0) < 0) {
    GTEST_SKIP() << "no ACLs on " << m.root;
  }
  const Machine_facts facts = read_link_facts(m.root.string(), {{c.port, "--port"}}, false);
  const Link_diagnosis d = diagnose_link(facts, nullptr, std::nullopt);
  ASSERT_EQ(d.ports.size(), 1u);
  const Port_diagnosis& p = d.ports[0];
  EXPECT_EQ(marks_of(p), c.marks) << diagnosis_text(d);
  EXPECT_EQ(d.fault, c.fault) << diagnosis_text(d);
  std::string said;
  for (const auto& check : p.checks) said += check.line + " / ";
  for (const auto& check : p.checks) {
    if (check.mark == Check_mark::warning || check.mark == Check_mark::broken) {
      said = check.line + " / " + check.fix;
      break;
    }
  }
  EXPECT_NE(said.find(c.phrase), std::string::npos) << said;
  if (d.fault != Link_fault::none) {
    EXPECT_NE(d.verdict.find(c.phrase), std::string::npos);
  }
}

// Sets the node's access ACL as setfacl would: the base entries and user:tech:rw- with its mask.
void acl_for_tech(Fake_machine& m) {
  const uint32_t entries[][3] = {
      {0x01, 6, ~0u}, {0x02, 6, tech}, {0x04, 6, ~0u}, {0x10, 6, ~0u}, {0x20, 0, ~0u}};
  std::string bytes = {2, 0, 0, 0};
  for (const auto& e : entries) {
    for (uint32_t v : {e[0], e[1]})
      bytes += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((e[2] >> (8 * i)) & 0xFF);
  }
  ::setxattr((m.root / "dev/ttyUSB0").c_str(), "system.posix_acl_access", bytes.data(),
             bytes.size(), 0);
}

const Link_fault none = Link_fault::none;

const Facts_case cases[] = {
    // The devices.
    Facts_case{"ftdi_programmer", [](Fake_machine& m) { m.programmer(); }, "/dev/ttyUSB0", "oooo",
               none,
               "драйвер ftdi_sio, USB 0403:6001 «USB-Programmer K-731M», "
               "серийный № A50285BI — программатор"},
    Facts_case{"ftdi_erased_product_id",
               [](Fake_machine& m) { m.usb("1-1", "0403", "0000", "FT232R USB UART"); },
               "/dev/ttyUSB0", "b---", Link_fault::no_device, "product id 6001"},
    Facts_case{"ch340_claimed_by_brltty_rule",
               [](Fake_machine& m) {
                 m.usb("1-3", "1a86", "7523", "USB Serial");
                 m.tty("1-3", "ttyUSB0", "ch341");
                 m.file("usr/lib/udev/rules.d/85-brltty.rules",
                        "# Device: 1A86:7523\nENV{PRODUCT}==\"1a86/7523/*\", "
                        "ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\", GOTO=\"brltty_usb_run\"\n");
               },
               "/dev/ttyUSB0", "oowo", none, "sudo apt-get remove brltty"},
    Facts_case{"pl2303_without_latency_timer",
               [](Fake_machine& m) {
                 m.usb("1-4", "067b", "2303", "USB-Serial Controller");
                 m.tty("1-4", "ttyUSB0", "pl2303");
               },
               "/dev/ttyUSB0", "oooo", none, "драйвер pl2303, USB 067b:2303"},
    Facts_case{"cdc_modem_class",
               [](Fake_machine& m) {
                 m.usb("1-2", "2341", "0043", "Modem");
                 m.tty("1-2", "ttyACM0", "cdc_acm");
               },
               "/dev/ttyACM0", "oooo", none, "драйвер cdc_acm, USB 2341:0043 «Modem»"},
    Facts_case{"adapter_without_bound_driver",
               [](Fake_machine& m) { m.usb("1-2", "1a86", "7523", "USB Serial"); }, "/dev/ttyUSB0",
               "b---", Link_fault::no_device, "sudo modprobe ch341"},
    Facts_case{"no_port_at_all", [](Fake_machine&) {}, "/dev/ttyUSB0", "b---",
               Link_fault::no_device, "tirna520-cli list-ports"},
    // The access.
    Facts_case{"group_missing",
               [](Fake_machine& m) {
                 m.programmer();
                 m.login({tech});
               },
               "/dev/ttyUSB0", "ob--", Link_fault::no_access,
               "sudo usermod -aG dialout tech) и войдите в систему заново"},
    Facts_case{"group_added_not_yet_in_the_login",
               [](Fake_machine& m) {
                 m.programmer();
                 m.login({tech}, "tech");
               },
               "/dev/ttyUSB0", "ob--", Link_fault::no_access,
               "уже в группе dialout, но она действует только с нового входа"},
    Facts_case{"owner_only_without_the_udev_rule",
               [](Fake_machine& m) {
                 m.usb("1-1", "0403", "6001", "USB-Programmer K-731M");
                 m.tty("1-1", "ttyUSB0", "ftdi_sio", fs::perms(0600));
               },
               "/dev/ttyUSB0", "ob--", Link_fault::no_access, "70-tirna520.rules"},
    Facts_case{"acl_for_the_seat_user",
               [](Fake_machine& m) {
                 m.programmer();
                 m.login({tech});
                 m.file("run/udev/data/c188:0", "G:uaccess\nQ:uaccess\n");
                 m.file("usr/lib/udev/rules.d/70-tirna520.rules", "");
                 acl_for_tech(m);
               },
               "/dev/ttyUSB0", "oooo", none, "запись ACL для пользователя tech"},
    Facts_case{"root",
               [](Fake_machine& m) {
                 m.usb("1-1", "0403", "6001", "USB-Programmer K-731M");
                 m.tty("1-1", "ttyUSB0", "ftdi_sio", fs::perms(0600));
                 m.login({0});
               },
               "/dev/ttyUSB0", "oooo", none, "root открывает любое устройство"},
    // Who holds it.
    Facts_case{"another_program_has_it_open",
               [](Fake_machine& m) {
                 m.programmer();
                 m.process(4242, "minicom", "/dev/ttyUSB0");
               },
               "/dev/ttyUSB0", "oob-", Link_fault::held, "minicom (процесс 4242)"},
    Facts_case{"modem_manager_took_it",
               [](Fake_machine& m) {
                 m.programmer();
                 m.process(812, "ModemManager", "/dev/ttyUSB0");
               },
               "/dev/ttyUSB0", "oob-", Link_fault::held, "sudo systemctl stop ModemManager"},
    Facts_case{"modem_manager_not_told_to_ignore",
               [](Fake_machine& m) {
                 m.programmer();
                 m.process(812, "ModemManager");
               },
               "/dev/ttyUSB0", "oowo", none, "ModemManager работает"},
    Facts_case{"modem_manager_told_to_ignore",
               [](Fake_machine& m) {
                 m.programmer();
                 m.process(812, "ModemManager");
                 m.file("run/udev/data/c188:0", "E:ID_MM_DEVICE_IGNORE=1\n");
               },
               "/dev/ttyUSB0", "oooo", none, "программатор"},
    Facts_case{"lock_file_of_a_running_program",
               [](Fake_machine& m) {
                 m.programmer();
                 m.process(777, "tirna520");
                 m.file("run/lock/LCK..ttyUSB0", "777\ntirna520\nhost\n");
               },
               "/dev/ttyUSB0", "oob-", Link_fault::held, "процесс 777 tirna520"},
    Facts_case{"slow_latency_timer",
               [](Fake_machine& m) {
                 m.usb("1-1", "0403", "6001", "FT232R USB UART");
                 m.tty("1-1", "ttyUSB0", "ftdi_sio");
                 m.file("sys/devices/usb1/1-1/1-1:1.0/ttyUSB0/latency_timer", "16\n");
               },
               "/dev/ttyUSB0", "ooow", none, "чтение около 4,3 с, запись около 1,2 с"},
};

INSTANTIATE_TEST_SUITE_P(Classes, LinkFacts, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<Facts_case>& row) {
                           return std::string(row.param.name);
                         });

// Without a port named: every tty with a device behind it, a built-in port only with a UART.
TEST(LinkFactsPorts, FoundAreTheTtysWithADevice) {
  Fake_machine m;
  m.programmer();
  m.usb("1-2", "2341", "0043", "Modem");
  m.tty("1-2", "ttyACM0", "cdc_acm");
  for (const char* serial : {"ttyS0", "ttyS1"}) {
    m.link(std::string("sys/class/tty/") + serial + "/device", "../../../devices/pnp0/00:04");
  }
  fs::create_directories(m.root / "sys/devices/pnp0/00:04");
  m.file("sys/class/tty/ttyS1/type", "0\n");
  fs::create_directories(m.root / "sys/class/tty/tty0");  // a console: no device
  const Machine_facts facts = read_link_facts(m.root.string(), {{"/dev/ttyUSB0", "COM1"}}, true);
  std::vector<std::string> found;
  for (const auto& p : facts.ports) found.push_back(p.device + " " + p.origin);
  EXPECT_EQ(found, (std::vector<std::string>{"/dev/ttyUSB0 COM1", "/dev/ttyACM0 найден в системе",
                                             "/dev/ttyS0 найден в системе"}));
  ::setenv("TIRNA520_FACTS_ROOT", (m.root.string() + "/").c_str(), 1);
  EXPECT_EQ(facts_root(), m.root.string());
  ::unsetenv("TIRNA520_FACTS_ROOT");
  EXPECT_EQ(facts_root(), "");
}

}  // namespace
}  // namespace tirna
