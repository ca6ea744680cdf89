#include "platform/low_latency.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace tirna {

Serial_info_call system_serial_info_call() {
  return [](int fd, unsigned long request, serial_struct* info) {
    return ::ioctl(fd, request, info);
  };
}

bool request_low_latency(int fd, const Serial_info_call& call) {
  serial_struct info{};
  if (call(fd, TIOCGSERIAL, &info) != 0) return false;
  if ((info.flags & ASYNC_LOW_LATENCY) != 0) return true;
  info.flags |= ASYNC_LOW_LATENCY;
  return call(fd, TIOCSSERIAL, &info) == 0;
}

}  // namespace tirna
