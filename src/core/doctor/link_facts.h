#pragma once
// What the machine tells about the programming link, as plain values: the serial ports and the
// USB adapters behind them, the device nodes' permissions, who holds a port, the line's latency,
// and the user, the groups and the services around it. The platform reads them (from a root
// folder that tests replace); the checks of link_checks.h decide from them alone.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tirna {

struct Usb_identity {
  uint16_t vendor = 0;
  uint16_t product = 0;
  std::string product_name;  // the USB product string ("USB-Programmer K-731M"), or empty
  std::string serial;        // the USB serial number, or empty
};

// One entry of a device node's access control list (setfacl's user:ID:rw- and group:ID:rw-, and
// the mask that limits them and the owning group).
struct Acl_entry {
  enum Tag { user, group, mask };
  Tag tag = user;
  uint32_t id = 0;  // unused for the mask
  bool read_write = false;
};

struct Device_node {
  bool exists = false;
  bool char_device = false;
  uint32_t mode = 0;  // the permission bits (07777)
  uint32_t uid = 0, gid = 0;
  std::string owner, group;  // names, or the numbers as text
  std::vector<Acl_entry> acl;
};

// A process that has the device open.
struct Device_opener {
  long pid = 0;
  std::string program;  // its comm, "ModemManager"
};

// A lock file "LCK..ttyUSB0" of Qt's kind, as the program takes one for every open port.
struct Lock_file {
  std::string path;
  std::string owner;
  bool owner_is_user = false;  // this user's own (the program may remove it when stale)
  long pid = 0;
  bool running = false;
  std::string program;
};

struct Port_facts {
  std::string device;  // as named: /dev/ttyUSB0, /dev/serial/by-id/..., /dev/pts/3
  std::string origin;  // why it is looked at: "--port", "COM1 (config.ini ...)", "найден в системе"
  std::string canonical;         // every link resolved
  std::string tty;               // "ttyUSB0"; empty when sysfs has no such tty
  bool pseudo_terminal = false;  // /dev/pts/N
  std::string driver;            // "ftdi_sio", "ch341", "cdc_acm", "serial8250", or empty
  std::optional<Usb_identity> usb;
  std::string stable_name;  // its link in /dev/serial/by-id, or empty
  Device_node node;
  bool uaccess_tag = false;            // udev's database: the seat's user gets an ACL on it
  bool modem_manager_ignores = false;  // udev's database: ID_MM_DEVICE_IGNORE=1
  std::optional<Lock_file> lock_file;
  std::vector<Device_opener> openers;     // other processes with the device open, as far as seen
  std::optional<int> latency_timer_ms;    // an FTDI adapter's latency timer (sysfs)
  std::optional<bool> low_latency;        // the driver took the low-latency request (unknown: none)
  std::vector<std::string> brltty_rules;  // brltty's udev rules that claim the adapter's ids
};

// A USB adapter of a serial chip maker that has no tty: no driver bound, or a chip whose product
// id a driver erased.
struct Adapter_without_tty {
  std::string usb_path;  // "1-1.2"
  Usb_identity usb;
  std::string driver;  // the driver bound to its interface (not a serial one), or empty
  std::vector<std::string> brltty_rules;
};

struct Group_entry {
  std::string name;
  uint32_t gid = 0;
  std::vector<std::string> members;
};

struct Machine_facts {
  // The process.
  uint32_t uid = 0, gid = 0;
  std::vector<uint32_t> groups;  // the supplementary groups
  std::string user;              // the user's name, or the number as text
  std::vector<Group_entry> group_database;
  // Services and rules.
  bool modem_manager_running = false;
  bool udev_rule_installed = false;  // the program's 70-tirna520.rules
  std::vector<Adapter_without_tty> adapters_without_tty;
  std::vector<Port_facts> ports;
};

}  // namespace tirna
