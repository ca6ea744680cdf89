// A stand-in for the chip maker's D2XX library: FT_ListDevices with two devices (or a chosen status
// for the count), and a record of the last call's arguments so that the test sees what the binding
// passed.

#include <cstdint>
#include <cstring>

namespace {
uintptr_t last_arg1 = 0;
bool last_arg2_null = false;
uint32_t last_flags = 0;
uint32_t count_status = 0;
}  // namespace

extern "C" {

__attribute__((visibility("default"))) uint32_t FT_ListDevices(void* arg1, void* arg2,
                                                               uint32_t flags) {
  last_arg1 = reinterpret_cast<uintptr_t>(arg1);
  last_arg2_null = arg2 == nullptr;
  last_flags = flags;
  if (flags == 0x80000000u) {
    if (count_status != 0) return count_status;
    const uint32_t count = 2;  // a DWORD, as the library writes it
    std::memcpy(arg1, &count, sizeof count);
    return 0;
  }
  if (flags == 0x40000002u) {
    const uintptr_t index = reinterpret_cast<uintptr_t>(arg1);
    const char* text = index == 0   ? "FT232R USB UART"
                       : index == 1 ? "USB-Programmer K-731M"
                                    : nullptr;
    if (text == nullptr) return 2;
    std::strcpy(static_cast<char*>(arg2), text);
    return 0;
  }
  return 6;
}

// The status of the count calls from now on: 2 is what the library answers a user without rights
// on the USB device nodes.
__attribute__((visibility("default"))) void fake_set_count_status(uint32_t status) {
  count_status = status;
}
__attribute__((visibility("default"))) uintptr_t fake_last_arg1() {
  return last_arg1;
}
__attribute__((visibility("default"))) bool fake_last_arg2_null() {
  return last_arg2_null;
}
__attribute__((visibility("default"))) uint32_t fake_last_flags() {
  return last_flags;
}
}
