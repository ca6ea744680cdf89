#include "platform/link_doctor.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/utsname.h>

#include <QtGlobal>
#include <cerrno>
#include <ctime>
#include <memory>

#include "platform/files/safe_file.h"
#include "platform/config_file.h"
#include "platform/port_names.h"

namespace tirna {

namespace {

struct Archive_file {
  std::string name;
  std::string bytes;
};

la_ssize_t append(struct archive*, void* out, const void* bytes, size_t size) {
  static_cast<std::string*>(out)->append(static_cast<const char*>(bytes), size);
  return static_cast<la_ssize_t>(size);
}

// The files as a gzip-compressed ustar archive, each a regular file of mode 0644 dated now; nothing
// when libarchive refuses (out of memory).
std::optional<std::string> tar_gz(const std::vector<Archive_file>& files) {
  std::string out;
  const std::unique_ptr<struct archive, decltype(&archive_write_free)> a(archive_write_new(),
                                                                         &archive_write_free);
  if (!a || archive_write_add_filter_gzip(a.get()) != ARCHIVE_OK ||
      archive_write_set_format_ustar(a.get()) != ARCHIVE_OK ||
      archive_write_open(a.get(), &out, nullptr, append, nullptr) != ARCHIVE_OK) {
    return std::nullopt;
  }
  const std::time_t now = std::time(nullptr);
  for (const auto& f : files) {
    const std::unique_ptr<archive_entry, decltype(&archive_entry_free)> e(archive_entry_new(),
                                                                          &archive_entry_free);
    archive_entry_set_pathname(e.get(), f.name.c_str());
    archive_entry_set_size(e.get(), static_cast<la_int64_t>(f.bytes.size()));
    archive_entry_set_filetype(e.get(), AE_IFREG);
    archive_entry_set_perm(e.get(), 0644);
    archive_entry_set_mtime(e.get(), now, 0);
    if (archive_write_header(a.get(), e.get()) != ARCHIVE_OK ||
        archive_write_data(a.get(), f.bytes.data(), f.bytes.size()) !=
            static_cast<la_ssize_t>(f.bytes.size())) {
      return std::nullopt;
    }
  }
  if (archive_write_close(a.get()) != ARCHIVE_OK) return std::nullopt;
  return out;
}

std::string versions_text() {
  std::string text = "tirna520 " TIRNA_VERSION "\n";
  struct utsname u {};
  if (::uname(&u) == 0) {
    text += std::string("ядро: ") + u.sysname + " " + u.release + " " + u.version + " " +
            u.machine + "\n";
  }
  text += std::string("Qt ") + qVersion() + "\n";
  text += std::string(archive_version_string()) + "\n";
  return text;
}

}  // namespace

Link_diagnosis run_link_doctor(const Doctor_request& request, Link_clock& clock,
                               SerialPort::Wait_mode mode, int stop_fd,
                               const Diagnosis_progress& progress) {
  const Machine_facts facts = read_link_facts(facts_root(), request.ports, request.add_found);
  const Radio_prober prober = [&](const Port_facts& port) {
    SerialPort serial([](int) { return std::string(); });
    serial.set_fixed_device(port.device);
    serial.set_wait_mode(mode);
    serial.set_stop_fd(stop_fd);
    return probe_radio(serial, clock);
  };
  return diagnose_link(facts, prober, request.file_band_index, progress);
}

std::string config_ports_text(const Ini_file& ini) {
  std::string text = "[" + std::string(config_section) + "]\n";
  for (const char* key : {config_key_programmer, config_key_port}) {
    if (const auto value = ini.value(config_section, key)) text += key + ("=" + *value) + "\n";
  }
  text += "[" + std::string(ports_section) + "]\n";
  for (int n = 1; n <= 256; ++n) {
    if (const auto device = configured_port_device(ini, n)) {
      text += "COM" + std::to_string(n) + "=" + *device + "\n";
    }
  }
  return text;
}

std::optional<Io_error> save_diagnosis_bundle(const std::string& path, const Link_diagnosis& d,
                                              const std::string& config_ports) {
  std::string traces;
  for (const auto& port : d.ports) {
    if (!port.trace.empty()) traces += "Порт " + port.device + "\n" + port.trace + "\n";
  }
  std::vector<Archive_file> files = {
      {"tirna520-doctor/doctor.txt", diagnosis_text(d)},
      {"tirna520-doctor/trace.txt", traces},
      {"tirna520-doctor/versions.txt", versions_text()},
  };
  if (!config_ports.empty()) files.push_back({"tirna520-doctor/config-ports.ini", config_ports});
  const auto bytes = tar_gz(files);
  if (!bytes) return Io_error::from_errno(ENOMEM);
  return save_file(path, *bytes);
}

}  // namespace tirna
