#pragma once
// The FTDI device lists of the machine for the USB programmer status: the chip maker's D2XX
// library when it is installed, otherwise the USB-serial adapters of vendor 0x0403 that the
// system lists, each with its USB product string (what D2XX reports as the description).

#include <QLibrary>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "core/usb/ft_device_list.h"

namespace tirna {

// FT_ListDevices of libftd2xx.so (ftd2xx.dll on Windows), loaded at run time so that the program
// also starts where the library is missing.
class D2xx_library_list : public Ft_device_list {
 public:
  // file_name: the library to load; by default the system's D2XX library.
  explicit D2xx_library_list(const QString& file_name = QStringLiteral("ftd2xx"));
  bool loaded() const { return list_devices_ != nullptr; }

  uint32_t list_number(uint32_t& count) override;
  uint32_t list_description(uint32_t index, std::span<char> buffer) override;

 private:
  using List_devices = uint32_t (*)(void*, void*, uint32_t);
  QLibrary library_;
  List_devices list_devices_ = nullptr;
};

// The USB-serial adapters with vendor id 0x0403 as the system lists them. The count call takes a
// snapshot; the description calls answer from it, as the library does between two counts.
class System_ftdi_list : public Ft_device_list {
 public:
  // tty_class_dir: where the kernel lists the ttys (Linux: /sys/class/tty).
  explicit System_ftdi_list(QString tty_class_dir = QStringLiteral("/sys/class/tty"))
      : tty_class_dir_(std::move(tty_class_dir)) {}

  uint32_t list_number(uint32_t& count) override;
  uint32_t list_description(uint32_t index, std::span<char> buffer) override;

  // The product strings of the FTDI adapters, in the order of their tty numbers.
  std::vector<std::string> product_strings() const;

 private:
  QString tty_class_dir_;
  std::vector<std::string> snapshot_;
};

// The D2XX library, with the system's list for the counts it cannot make: a user without rights on
// the USB device nodes gets the library's status 2 (device not found) although the programmer is
// plugged in, while the kernel still lists the adapter.
class D2xx_with_system_list : public Ft_device_list {
 public:
  D2xx_with_system_list(std::unique_ptr<D2xx_library_list> library,
                        std::unique_ptr<System_ftdi_list> system)
      : library_(std::move(library)), system_(std::move(system)) {}

  uint32_t list_number(uint32_t& count) override;
  uint32_t list_description(uint32_t index, std::span<char> buffer) override;
  // The last count came from the system's list.
  bool system_answered() const { return system_answered_; }

 private:
  std::unique_ptr<D2xx_library_list> library_;
  std::unique_ptr<System_ftdi_list> system_;
  bool system_answered_ = false;
};

// The D2XX library (with the system's list behind it) when it loads, otherwise the system's list.
std::unique_ptr<Ft_device_list> make_ftdi_device_list(
    const QString& library_file = QStringLiteral("ftd2xx"));

}  // namespace tirna
