#include "platform/serial_port_list.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSerialPortInfo>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/text/format.h"
#include "core/usb/programmer_status.h"

namespace tirna {
namespace {

// The first line of a small sysfs file, or empty.
std::string first_line(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::optional<uint16_t> hex_id(const std::string& text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  unsigned value = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return static_cast<uint16_t>(value);
}

void read_access(Serial_port_facts& port) {
  port.root = ::geteuid() == 0;
  port.may_open = ::access(port.device.c_str(), R_OK | W_OK) == 0;
  struct stat st {};
  if (::stat(port.device.c_str(), &st) != 0) return;
  port.group_may_open = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
  if (const group* g = ::getgrgid(st.st_gid)) {
    port.group = g->gr_name;
    const passwd* me = ::getpwuid(::geteuid());
    for (char** member = g->gr_mem; member != nullptr && *member != nullptr; ++member) {
      if (me != nullptr && std::string_view(*member) == me->pw_name) port.listed_in_group = true;
    }
    if (me != nullptr && me->pw_gid == st.st_gid) port.listed_in_group = true;
  }
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)) + 1);
  const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
  port.in_group = ::getegid() == st.st_gid ||
                  std::find(groups.begin(), groups.begin() + std::max(count, 0), st.st_gid) !=
                      groups.begin() + std::max(count, 0);
}

}  // namespace

// One level above the tty's device for a modem-class device (interface, device), two levels for a
// USB-serial converter (port, interface, device). The nearer level is tried first: two levels
// above a modem-class device is its hub.
void read_usb_identity(const std::string& sysfs, const std::string& tty_name,
                       Serial_port_facts& port) {
  const std::string device = sysfs + "/class/tty/" + tty_name + "/device";
  for (const char* up : {"/..", "/../.."}) {
    const std::string dir = device + up;
    const std::string vendor = first_line(dir + "/idVendor");
    if (vendor.empty()) continue;
    port.vendor_id = hex_id(vendor);
    port.product_id = hex_id(first_line(dir + "/idProduct"));
    port.usb_product = first_line(dir + "/product");
    port.usb_serial = first_line(dir + "/serial");
    return;
  }
}

void read_stable_name(const std::string& by_id_folder, Serial_port_facts& port) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path device = fs::weakly_canonical(port.device, error);
  if (error) return;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(by_id_folder, error)) {
    if (!entry.is_symlink(error)) continue;
    if (fs::weakly_canonical(entry.path(), error) == device && !error) {
      names.push_back(entry.path().string());
    }
  }
  std::sort(names.begin(), names.end());
  if (!names.empty()) port.stable_name = names.front();
}

bool is_usb_programmer(const Serial_port_facts& port) {
  return port.usb_product == usb_programmer_description;
}

Serial_port_row port_row(const Serial_port_facts& port) {
  Serial_port_row row;
  row.device = port.device;
  row.description = port.description.empty() ? "-" : port.description;
  if (port.vendor_id && port.product_id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04x:%04x", *port.vendor_id, *port.product_id);
    row.usb_id = buf;
  } else {
    row.usb_id = "-";
  }
  row.programmer = is_usb_programmer(port);
  row.stable_name = port.stable_name;
  if (port.may_open) {
    row.access = "yes";
  } else if (port.group.empty() || !port.group_may_open || port.in_group || port.root) {
    row.access = "no (permission denied)";
  } else if (port.listed_in_group) {
    row.access = "no: log out and in again to take up the group " + port.group;
  } else if (port.group == "dialout") {
    row.access =
        "no: add this user to the group dialout (sudo usermod -aG dialout $USER), then log in "
        "again";
  } else {
    row.access = "no: the port belongs to the group " + port.group;
  }
  return row;
}

std::string port_table(const std::vector<Serial_port_facts>& ports) {
  if (ports.empty()) return "No serial ports found.\n";
  std::vector<Serial_port_row> rows;
  for (const auto& p : ports) rows.push_back(port_row(p));
  std::size_t device = display_width("DEVICE"), description = display_width("DESCRIPTION");
  std::size_t usb = display_width("USB ID");
  for (const auto& r : rows) {
    device = std::max(device, display_width(r.device));
    description = std::max(description, display_width(r.description));
    usb = std::max(usb, display_width(r.usb_id));
  }
  std::string out = padded("DEVICE", device + 2) + padded("DESCRIPTION", description + 2) +
                    padded("USB ID", usb + 2) + "PROGRAMMER  MAY OPEN\n";
  for (const auto& r : rows) {
    out += padded(r.device, device + 2) + padded(r.description, description + 2) +
           padded(r.usb_id, usb + 2) + padded(r.programmer ? "yes" : "no", 12) + r.access + "\n";
    if (!r.stable_name.empty()) out += "  (also " + r.stable_name + ")\n";
  }
  return out;
}

std::vector<Serial_port_facts> serial_ports() {
  std::vector<Serial_port_facts> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    Serial_port_facts port;
    port.device = info.systemLocation().toStdString();
    port.description = info.description().toStdString();
    if (info.hasVendorIdentifier()) port.vendor_id = info.vendorIdentifier();
    if (info.hasProductIdentifier()) port.product_id = info.productIdentifier();
    read_usb_identity("/sys", info.portName().toStdString(), port);
    read_stable_name("/dev/serial/by-id", port);
    read_access(port);
    ports.push_back(std::move(port));
  }
  std::sort(ports.begin(), ports.end(),
            [](const auto& a, const auto& b) { return a.device < b.device; });
  return ports;
}

}  // namespace tirna
