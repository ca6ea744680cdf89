#pragma once
// The device list of the FTDI USB-serial chips, as the chip maker's D2XX library reports it
// through FT_ListDevices. The wrapper D2XXUnit and the programmer status build on this interface
// only; src/platform binds it to the real library or to the system's own device list.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tirna {

// Status codes of the library (FT_STATUS). 0 is success; 1 to 6 have texts of their own.
enum Ft_status : uint32_t {
  ft_ok = 0,
  ft_invalid_handle = 1,
  ft_device_not_found = 2,
  ft_device_not_opened = 3,
  ft_io_error = 4,
  ft_insufficient_resources = 5,
  ft_invalid_parameter = 6,
};

// Flags of FT_ListDevices in the two ways it is called.
inline constexpr uint32_t ft_list_number_only = 0x80000000;
inline constexpr uint32_t ft_list_by_index = 0x40000000;
inline constexpr uint32_t ft_open_by_description = 0x00000002;

// Room for a description: the library documents 64 bytes at most; the rest is a safety margin
// against a library that writes more.
inline constexpr std::size_t ft_description_buffer_size = 256;

class Ft_device_list {
 public:
  virtual ~Ft_device_list() = default;
  // FT_ListDevices(&count, nullptr, FT_LIST_NUMBER_ONLY). count is written only on success.
  virtual uint32_t list_number(uint32_t& count) = 0;
  // FT_ListDevices(index, buffer, FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION): on success the
  // buffer holds the description, ended by a zero byte when it is shorter than the buffer.
  virtual uint32_t list_description(uint32_t index, std::span<char> buffer) = 0;
};

}  // namespace tirna
