#include "platform/link_facts_reader.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/low_latency.h"
#include "platform/serial_port_list.h"

namespace tirna {

namespace {

namespace fs = std::filesystem;

// The first line of a small file, or empty.
std::string line_of(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::vector<std::string> lines_of(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> fields(const std::string& line, char separator) {
  std::vector<std::string> out;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, separator)) out.push_back(field);
  if (!line.empty() && line.back() == separator) out.emplace_back();
  return out;
}

std::optional<uint32_t> number(const std::string& text, int base = 10) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, base);
  if (*end != '\0' || value > 0xFFFFFFFFul) return std::nullopt;
  return static_cast<uint32_t>(value);
}

std::string link_name(const std::string& path) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(path, ec);
  return ec ? "" : target.filename().string();
}

class Reader {
 public:
  // The root as the resolved paths below it begin, so that it can be taken off them.
  explicit Reader(const std::string& root) {
    std::error_code ec;
    if (!root.empty()) root_ = fs::weakly_canonical(root, ec).string();
  }

  Machine_facts read(const std::vector<Port_request>& requests, bool add_found) {
    read_identity();
    read_processes();
    m_.udev_rule_installed = false;
    for (const char* folder : {"/etc/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d"}) {
      std::error_code ec;
      if (fs::exists(root_ + folder + "/70-tirna520.rules", ec)) m_.udev_rule_installed = true;
      for (const auto& entry : fs::directory_iterator(root_ + folder, ec)) {
        if (entry.path().filename().string().find("brltty") != std::string::npos) {
          brltty_files_.push_back(entry.path().string());
        }
      }
    }
    std::vector<Port_request> all = requests;
    if (add_found) {
      for (const auto& tty : found_ttys()) all.push_back({"/dev/" + tty, "найден в системе"});
    }
    for (const auto& r : all) {
      Port_facts port = read_port(r);
      const bool seen = std::any_of(m_.ports.begin(), m_.ports.end(), [&](const Port_facts& p) {
        return p.canonical == port.canonical;
      });
      if (!seen) m_.ports.push_back(std::move(port));
    }
    read_adapters_without_tty();
    return std::move(m_);
  }

 private:
  std::string at(const std::string& path) const { return root_ + path; }
  bool machine_root() const { return root_.empty(); }

  void read_identity() {
    for (const auto& line : lines_of(at("/proc/self/status"))) {
      std::istringstream in(line);
      std::string key;
      in >> key;
      uint32_t real = 0;
      if (key == "Uid:") in >> real >> m_.uid;  // the effective id follows the real one
      if (key == "Gid:") in >> real >> m_.gid;
      if (key == "Groups:") {
        for (uint32_t g; in >> g;) m_.groups.push_back(g);
      }
    }
    std::optional<uint32_t> primary;
    for (const auto& line : lines_of(at("/etc/passwd"))) {
      const auto f = fields(line, ':');
      if (f.size() < 4) continue;
      users_.emplace_back(number(f[2]).value_or(~0u), f[0]);
      if (number(f[2]) == m_.uid && m_.user.empty()) {
        m_.user = f[0];
        primary = number(f[3]);
      }
    }
    if (m_.user.empty()) m_.user = std::to_string(m_.uid);
    for (const auto& line : lines_of(at("/etc/group"))) {
      const auto f = fields(line, ':');
      if (f.size() < 3 || !number(f[2])) continue;
      Group_entry g{f[0], *number(f[2]), {}};
      if (f.size() > 3 && !f[3].empty()) g.members = fields(f[3], ',');
      if (primary == g.gid) g.members.push_back(m_.user);  // the login's own group
      m_.group_database.push_back(std::move(g));
    }
  }

  std::string user_name(uint32_t uid) const {
    for (const auto& [id, name] : users_) {
      if (id == uid) return name;
    }
    return std::to_string(uid);
  }

  std::string group_name(uint32_t gid) const {
    for (const auto& g : m_.group_database) {
      if (g.gid == gid) return g.name;
    }
    return std::to_string(gid);
  }

  // Every process this user may look at: its program, and where its descriptors lead.
  void read_processes() {
    std::error_code ec;
    const long self = machine_root() ? static_cast<long>(::getpid()) : -1;
    for (const auto& entry : fs::directory_iterator(at("/proc"), ec)) {
      const auto pid = number(entry.path().filename().string());
      if (!pid || static_cast<long>(*pid) == self) continue;
      Process p{static_cast<long>(*pid), line_of(entry.path().string() + "/comm"), {}};
      if (p.program == "ModemManager") m_.modem_manager_running = true;
      std::error_code fd_ec;
      for (const auto& fd : fs::directory_iterator(entry.path() / "fd", fd_ec)) {
        std::error_code link_ec;
        const fs::path target = fs::read_symlink(fd.path(), link_ec);
        if (!link_ec && target.string().starts_with("/dev/")) p.devices.push_back(target.string());
      }
      processes_.push_back(std::move(p));
    }
  }

  bool running(long pid) const {
    if (machine_root()) return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
    std::error_code ec;
    return fs::exists(at("/proc/" + std::to_string(pid)), ec);
  }

  std::string program_of(long pid) const {
    return line_of(at("/proc/" + std::to_string(pid) + "/comm"));
  }

  // The ttys a serial port list offers: every tty with a device behind it, except a built-in
  // port's slot without a UART (type 0).
  std::vector<std::string> found_ttys() const {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(at("/sys/class/tty"), ec)) {
      const std::string name = entry.path().filename().string();
      std::error_code e;
      if (!fs::exists(entry.path() / "device", e)) continue;
      if (name.starts_with("ttyS") && line_of(entry.path().string() + "/type") == "0") continue;
      out.push_back(name);
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  Port_facts read_port(const Port_request& r) const {
    Port_facts p;
    p.device = r.device;
    p.origin = r.origin;
    std::error_code ec;
    const fs::path inside = fs::weakly_canonical(at(r.device), ec);
    p.canonical = ec ? r.device : inside.string().substr(root_.size());
    p.pseudo_terminal = p.canonical.starts_with("/dev/pts/");
    read_node(p);
    if (p.node.exists && p.canonical.starts_with("/dev/")) read_holders(p);
    const std::string name = fs::path(p.canonical).filename().string();
    const std::string sys = at("/sys/class/tty/" + name);
    if (!p.canonical.starts_with("/dev/") || !fs::exists(sys + "/device", ec)) return p;
    p.tty = name;
    p.driver = link_name(sys + "/device/driver");
    Serial_port_facts usb;
    usb.device = at(p.canonical);
    read_usb_identity(at("/sys"), name, usb);
    if (usb.vendor_id && usb.product_id) {
      p.usb = Usb_identity{*usb.vendor_id, *usb.product_id, usb.usb_product, usb.usb_serial};
      p.brltty_rules = brltty_rules_for(*p.usb);
    }
    read_stable_name(at("/dev/serial/by-id"), usb);
    if (!usb.stable_name.empty()) p.stable_name = usb.stable_name.substr(root_.size());
    for (const auto& line : lines_of(at("/run/udev/data/c" + line_of(sys + "/dev")))) {
      if (line == "G:uaccess" || line == "Q:uaccess") p.uaccess_tag = true;
      if (line == "E:ID_MM_DEVICE_IGNORE=1") p.modem_manager_ignores = true;
    }
    if (p.usb && machine_root() && p.node.char_device) {
      const int fd = ::open(p.canonical.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
      if (fd >= 0) {
        p.low_latency = request_low_latency(fd, system_serial_info_call());
        ::close(fd);
      }
    }
    if (const auto ms = number(line_of(sys + "/device/latency_timer"))) {
      p.latency_timer_ms = static_cast<int>(*ms);
    }
    return p;
  }

  void read_node(Port_facts& p) const {
    struct stat st {};
    if (::stat(at(p.canonical).c_str(), &st) != 0) return;
    Device_node& n = p.node;
    n.exists = true;
    n.char_device = S_ISCHR(st.st_mode);
    n.mode = st.st_mode & 07777;
    n.uid = st.st_uid;
    n.gid = st.st_gid;
    n.owner = user_name(st.st_uid);
    n.group = group_name(st.st_gid);
    // The access ACL as the kernel stores it: a version, then entries of tag, permissions, id.
    unsigned char acl[1024];
    const ssize_t size =
        ::getxattr(at(p.canonical).c_str(), "system.posix_acl_access", acl, sizeof acl);
    for (ssize_t at_entry = 4; size > 4 && at_entry + 8 <= size; at_entry += 8) {
      const auto u16 = [&](ssize_t i) { return static_cast<unsigned>(acl[i] | acl[i + 1] << 8); };
      const unsigned tag = u16(at_entry), perm = u16(at_entry + 2);
      const uint32_t id = u16(at_entry + 4) | u16(at_entry + 6) << 16;
      const bool rw = (perm & 6u) == 6u;
      if (tag == 0x02) n.acl.push_back({Acl_entry::user, id, rw});
      if (tag == 0x08) n.acl.push_back({Acl_entry::group, id, rw});
      if (tag == 0x10) n.acl.push_back({Acl_entry::mask, 0, rw});
    }
  }

  void read_holders(Port_facts& p) const {
    for (const auto& proc : processes_) {
      if (std::find(proc.devices.begin(), proc.devices.end(), p.canonical) != proc.devices.end()) {
        p.openers.push_back({proc.pid, proc.program});
      }
    }
    std::string name = p.canonical.substr(5);
    std::replace(name.begin(), name.end(), '/', '_');
    for (const char* folder : {"/run/lock", "/var/lock", "/tmp"}) {
      const std::string path = std::string(folder) + "/LCK.." + name;
      struct stat st {};
      if (::lstat(at(path).c_str(), &st) != 0) continue;
      Lock_file lock{path, user_name(st.st_uid), st.st_uid == m_.uid, 0, false, ""};
      lock.pid = static_cast<long>(std::strtol(line_of(at(path)).c_str(), nullptr, 10));
      if (lock.pid > 0) {
        lock.running = running(lock.pid);
        if (lock.running) lock.program = program_of(lock.pid);
      }
      p.lock_file = lock;
      return;
    }
  }

  // The lines of brltty's udev rules that claim a USB device of these ids: ENV{PRODUCT}=="v/p/*"
  // (hexadecimal without leading zeros) or ATTRS{idVendor}=="vvvv" and ATTRS{idProduct}=="pppp".
  std::vector<std::string> brltty_rules_for(const Usb_identity& usb) const {
    char product[32], vendor_attr[48], product_attr[48];
    std::snprintf(product, sizeof product, "env{product}==\"%x/%x/", usb.vendor, usb.product);
    std::snprintf(vendor_attr, sizeof vendor_attr, "attrs{idvendor}==\"%04x\"", usb.vendor);
    std::snprintf(product_attr, sizeof product_attr, "attrs{idproduct}==\"%04x\"", usb.product);
    std::vector<std::string> out;
    for (const auto& file : brltty_files_) {
      int number_of_line = 0;
      for (std::string line : lines_of(file)) {
        ++number_of_line;
        std::transform(line.begin(), line.end(), line.begin(), [](unsigned char c) {
          return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        });
        if (line.starts_with("#")) continue;
        if (line.find(product) != std::string::npos ||
            (line.find(vendor_attr) != std::string::npos &&
             line.find(product_attr) != std::string::npos)) {
          out.push_back(file.substr(root_.size()) + ":" + std::to_string(number_of_line));
        }
      }
    }
    return out;
  }

  // USB devices of the serial chip makers (FTDI, WCH, Prolific, Silicon Labs) none of whose
  // interfaces has a tty.
  void read_adapters_without_tty() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(at("/sys/bus/usb/devices"), ec)) {
      const std::string dir = entry.path().string();
      const auto vendor = number(line_of(dir + "/idVendor"), 16);
      const auto product = number(line_of(dir + "/idProduct"), 16);
      if (!vendor || !product) continue;
      if (*vendor != 0x0403 && *vendor != 0x1a86 && *vendor != 0x067b && *vendor != 0x10c4)
        continue;
      bool has_tty = false;
      std::string driver;
      std::error_code e;
      for (const auto& part : fs::directory_iterator(dir, e)) {
        const std::string name = part.path().filename().string();
        if (name.find(':') == std::string::npos) continue;  // not an interface
        if (driver.empty()) driver = link_name(part.path().string() + "/driver");
        std::error_code e2;
        for (const auto& inner : fs::directory_iterator(part.path(), e2)) {
          const std::string n = inner.path().filename().string();
          if (n == "tty" || n.starts_with("ttyUSB")) has_tty = true;
        }
      }
      if (has_tty) continue;
      Adapter_without_tty a;
      a.usb_path = entry.path().filename().string();
      a.usb = {static_cast<uint16_t>(*vendor), static_cast<uint16_t>(*product),
               line_of(dir + "/product"), line_of(dir + "/serial")};
      a.driver = driver;
      a.brltty_rules = brltty_rules_for(a.usb);
      m_.adapters_without_tty.push_back(std::move(a));
    }
    std::sort(m_.adapters_without_tty.begin(), m_.adapters_without_tty.end(),
              [](const auto& a, const auto& b) { return a.usb_path < b.usb_path; });
  }

  struct Process {
    long pid;
    std::string program;
    std::vector<std::string> devices;
  };

  std::string root_;
  Machine_facts m_;
  std::vector<std::pair<uint32_t, std::string>> users_;
  std::vector<Process> processes_;
  std::vector<std::string> brltty_files_;
};

}  // namespace

std::string facts_root() {
  const char* root = std::getenv("TIRNA520_FACTS_ROOT");
  if (root == nullptr || root[0] == '\0') return "";
  std::string text = root;
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text == "/" ? "" : text;
}

Machine_facts read_link_facts(const std::string& root, const std::vector<Port_request>& ports,
                              bool add_found) {
  return Reader(root).read(ports, add_found);
}

}  // namespace tirna
