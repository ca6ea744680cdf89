#include "platform/ftdi_device_lists.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <optional>

#ifndef Q_OS_LINUX
#include <QSerialPortInfo>
#endif

namespace tirna {
namespace {

constexpr uint16_t ftdi_vendor_id = 0x0403;

// The text of a sysfs attribute without the line end the kernel adds; nullopt when unreadable.
std::optional<QByteArray> read_attribute(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray text = file.read(4096);
  while (text.endsWith('\n')) text.chop(1);
  return text;
}

int tty_number(const QString& name) {
  return name.mid(6).toInt();
}  // "ttyUSB12" -> 12

}  // namespace

D2xx_library_list::D2xx_library_list(const QString& file_name) : library_(file_name) {
  if (library_.load()) {
    list_devices_ = reinterpret_cast<List_devices>(library_.resolve("FT_ListDevices"));
  }
}

uint32_t D2xx_library_list::list_number(uint32_t& count) {
  if (list_devices_ == nullptr) return ft_device_not_found;
  // The library writes a DWORD; 64 bits of room keep a library with a wider DWORD harmless.
  uint64_t number = 0;
  const uint32_t status = list_devices_(&number, nullptr, ft_list_number_only);
  if (status == ft_ok) count = static_cast<uint32_t>(number & 0xFFFFFFFF);
  return status;
}

uint32_t D2xx_library_list::list_description(uint32_t index, std::span<char> buffer) {
  if (list_devices_ == nullptr) return ft_device_not_found;
  // The index is passed as the value of the pointer argument.
  return list_devices_(reinterpret_cast<void*>(static_cast<uintptr_t>(index)), buffer.data(),
                       ft_list_by_index | ft_open_by_description);
}

std::vector<std::string> System_ftdi_list::product_strings() const {
  std::vector<std::string> products;
#ifdef Q_OS_LINUX
  QStringList ttys = QDir(tty_class_dir_).entryList({QStringLiteral("ttyUSB*")}, QDir::AllEntries);
  std::sort(ttys.begin(), ttys.end(),
            [](const QString& a, const QString& b) { return tty_number(a) < tty_number(b); });
  for (const QString& tty : ttys) {
    // ttyUSB<n>/device is the adapter's interface; two levels up lies the USB device itself.
    const QString interface_path =
        QFileInfo(tty_class_dir_ + u'/' + tty + QStringLiteral("/device")).canonicalFilePath();
    if (interface_path.isEmpty()) continue;
    QDir usb_device(interface_path);
    if (!usb_device.cdUp() || !usb_device.cdUp()) continue;
    const auto vendor = read_attribute(usb_device.filePath(QStringLiteral("idVendor")));
    if (!vendor || vendor->toUShort(nullptr, 16) != ftdi_vendor_id) continue;
    const auto product = read_attribute(usb_device.filePath(QStringLiteral("product")));
    products.push_back(product ? product->toStdString() : std::string());
  }
#else
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    if (port.hasVendorIdentifier() && port.vendorIdentifier() == ftdi_vendor_id) {
      products.push_back(port.description().toStdString());
    }
  }
#endif
  return products;
}

uint32_t System_ftdi_list::list_number(uint32_t& count) {
  snapshot_ = product_strings();
  count = static_cast<uint32_t>(snapshot_.size());
  return ft_ok;
}

uint32_t System_ftdi_list::list_description(uint32_t index, std::span<char> buffer) {
  if (index >= snapshot_.size() || buffer.empty()) return ft_device_not_found;
  const std::string& text = snapshot_[index];
  const std::size_t n = std::min(text.size(), buffer.size() - 1);
  std::memcpy(buffer.data(), text.data(), n);
  buffer[n] = 0;
  return ft_ok;
}

uint32_t D2xx_with_system_list::list_number(uint32_t& count) {
  system_answered_ = false;
  const uint32_t status = library_->list_number(count);
  if (status != ft_device_not_found) return status;
  system_answered_ = true;
  return system_->list_number(count);
}

uint32_t D2xx_with_system_list::list_description(uint32_t index, std::span<char> buffer) {
  return system_answered_ ? system_->list_description(index, buffer)
                          : library_->list_description(index, buffer);
}

std::unique_ptr<Ft_device_list> make_ftdi_device_list(const QString& library_file) {
  auto library = std::make_unique<D2xx_library_list>(library_file);
  if (!library->loaded()) return std::make_unique<System_ftdi_list>();
  return std::make_unique<D2xx_with_system_list>(std::move(library),
                                                 std::make_unique<System_ftdi_list>());
}

}  // namespace tirna
