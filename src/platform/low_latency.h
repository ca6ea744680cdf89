#pragma once
// Low latency on a USB-serial adapter. Its driver holds received bytes until its latency timer
// runs out (16 ms by default), so every short reply of the radio waits that long; with the serial
// flag ASYNC_LOW_LATENCY, which a normal user may set, the driver uses 1 ms and a read of the
// radio takes half the time. Ports without the request (a pseudo-terminal) refuse it; that is no
// error.

#include <functional>

struct serial_struct;

namespace tirna {

// The two ioctl calls the request needs, TIOCGSERIAL and TIOCSSERIAL; the system's by default.
using Serial_info_call = std::function<int(int fd, unsigned long request, serial_struct* info)>;
Serial_info_call system_serial_info_call();

// Sets ASYNC_LOW_LATENCY on the open port `fd`, keeping its other flags; true when the port has
// it afterwards.
bool request_low_latency(int fd, const Serial_info_call& call);

}  // namespace tirna
