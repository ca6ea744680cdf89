#pragma once
// The radio's check: one handshake with a trace, followed when it succeeds by the read of the
// additional data (for the factory number; nothing is written), and its classification: nothing
// came back, our own bytes came back, bytes without an acknowledgement, a negative acknowledgement,
// an identification of another layout, the other band than a file's, or a good radio.

#include <optional>
#include <string>
#include <vector>

#include "core/doctor/link_checks.h"
#include "core/link/link_clock.h"
#include "core/link/radio_identification.h"
#include "core/link/transport.h"
#include "core/transfer/transfer_result.h"

namespace tirna {

struct Radio_probe {
  Transfer_result result;
  std::vector<uint8_t> sent, received;  // every byte, in order
  std::optional<Radio_identification> identification;
  std::optional<Open_error> open_error;  // why the port did not open
  std::string link_error;                // the port's failure text, when it failed
  std::string factory_number, model;     // from the additional data, when it was read
  std::string trace;                     // as --trace writes it
};

// Opens the port (port number 1 of `port`), enters programming mode, reads the additional data and
// sends "END"; the port is closed on every way out. Asks nothing and shows nothing.
Radio_probe probe_radio(Transport& port, Link_clock& clock);

// The verdict on what the probe saw; file_band_index: the band of a file to be written (0 or 1).
Link_check check_radio(const Radio_probe& probe, std::optional<int> file_band_index);

}  // namespace tirna
