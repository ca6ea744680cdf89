#pragma once
// Listing the machine's serial ports for the technician: device path, description, USB identity,
// whether a port is the maker's USB programmer and whether this user may open it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirna {

// What the machine tells about one port.
struct Serial_port_facts {
  std::string device;       // "/dev/ttyUSB0"
  std::string description;  // the system's description of the port
  std::optional<uint16_t> vendor_id, product_id;
  std::string usb_product;       // the USB device's product string, empty when none
  std::string usb_serial;        // the USB device's serial number, empty when none
  std::string stable_name;       // "/dev/serial/by-id/usb-FTDI_..._A50285BI-if00-port0", or empty
  bool may_open = false;         // read and write access for this process
  std::string group;             // the group owning the device node
  bool group_may_open = true;    // the node's mode lets that group read and write
  bool in_group = false;         // this process has that group now
  bool listed_in_group = false;  // the group database lists this user (effective after a new login)
  bool root = false;
};

struct Serial_port_row {
  std::string device;
  std::string description;
  std::string usb_id;  // "0403:6001", or "-" for a port without USB identity
  bool programmer = false;
  std::string access;  // "yes", or "no" with the reason and what to do
  std::string stable_name;
};

// The programmer is recognised by its USB product string alone, compared exactly with the
// description the programmer status looks for.
bool is_usb_programmer(const Serial_port_facts& port);
Serial_port_row port_row(const Serial_port_facts& port);
// The table printed by list-ports, one line per port, with a header, and below a port with a
// stable name a line with that name; a line saying that there are none when the list is empty.
std::string port_table(const std::vector<Serial_port_facts>& ports);

// Fills the USB identity (vendor, product, product string, serial number) of a tty from the USB device behind it
// under a sysfs tree ("/sys"); leaves it as it is for a tty without one.
void read_usb_identity(const std::string& sysfs, const std::string& tty_name,
                       Serial_port_facts& port);

// The name udev gives the port in `by_id_folder` (/dev/serial/by-id): the link there that leads to
// the port's device. It stays the same whichever ttyUSB number the adapter gets, which makes it
// the name to keep in config.ini.
void read_stable_name(const std::string& by_id_folder, Serial_port_facts& port);

// Every serial port the system lists, with what the device files and the USB devices behind them
// tell.
std::vector<Serial_port_facts> serial_ports();

}  // namespace tirna
