#pragma once
// One physical port is one lock, whatever name it is opened by: /dev/ttyUSB0, a link to it in
// /dev/serial/by-id, /dev/tirna520-programmer or a COMn mapping all name the same device. The
// port is opened by its canonical path, so that the lock file Qt takes (/run/lock/LCK..ttyUSB0)
// is the same for every name, and the open descriptor is also locked with flock(), which holds
// for root too (root passes the exclusive mode of a tty) and for a lock file in another folder.

#include <string>

namespace tirna {

// The device a path names, every link resolved (/dev/serial/by-id/usb-... -> /dev/ttyUSB0); the
// path itself when it does not resolve.
std::string canonical_device(const std::string& path);

// Takes the exclusive flock() of an open device without waiting; false when another open
// descriptor of the device holds it.
bool lock_device(int fd);

// Who holds the device, as far as this user may see: our programs' lock file (its owner, the
// process and whether it still runs, with how to remove a stale one) and the process that holds
// the flock() of the device. Empty when nothing is known.
std::string device_holder(const std::string& canonical_path);

}  // namespace tirna
