#pragma once
// The diagnosis of the programming link on this machine, for the command line's doctor and the
// window's "Диагностика связи...": the facts read, every port checked, the radio tried through
// the serial port, and the technician's bundle of it all.

#include <optional>
#include <string>
#include <vector>

#include "core/doctor/link_diagnosis.h"
#include "core/files/io_error.h"
#include "core/link/link_clock.h"
#include "platform/ini_file.h"
#include "platform/link_facts_reader.h"
#include "platform/serial_port.h"

namespace tirna {

struct Doctor_request {
  std::vector<Port_request> ports;     // asked for by name (--port, the port config.ini maps)
  bool add_found = true;               // and every serial port of the machine
  std::optional<int> file_band_index;  // the band of a file to be written
};

// Reads the facts (below facts_root()), checks the ports in order and tries the radio on each
// whose other checks found nothing broken, through a serial port that waits in `mode` (stop_fd:
// the command line's stop pipe, or -1).
Link_diagnosis run_link_doctor(const Doctor_request& request, Link_clock& clock,
                               SerialPort::Wait_mode mode, int stop_fd,
                               const Diagnosis_progress& progress = {});

// The ports part of config.ini, as UTF-8 text: the programmer choice of [Общие] and the keys COMn
// of [Порты]. Nothing else of the file.
std::string config_ports_text(const Ini_file& ini);

// What a technician sends with a report, as one tar.gz archive saved through save_file: the
// checks (doctor.txt), the handshakes' traces (trace.txt), the versions of the program, the
// kernel, Qt and libarchive (versions.txt) and config_ports (config-ports.ini, when not empty).
std::optional<Io_error> save_diagnosis_bundle(const std::string& path,
                                              const Link_diagnosis& diagnosis,
                                              const std::string& config_ports);

}  // namespace tirna
