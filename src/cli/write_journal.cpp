#include "cli/write_journal.h"

#include <iostream>

#include "core/pages/extra_data.h"
#include "core/text/format.h"

namespace tirna::cli {

Write_record::Write_record(const std::string& journal, std::string command, const std::string& port)
    : journal_(journal) {
  row = journal_.row(std::move(command));
  row.port = port;
}

void Write_record::radio_read(const Link_run& run, const Workspace* radio) {
  if (const auto& id = run.radio()) {
    row.band = band_code_text(id->band_code());
    row.version = id->radio_version();
  }
  if (radio != nullptr) {
    row.factory_number = trimmed(factory_number_label(radio->image));
    row.model = trimmed(model_label(radio->image));
  }
}

void Write_record::sent(const Param_image& image) {
  row.sent_sha256 = image_sha256(image);
}

void Write_record::read_back(const Param_image& radio) {
  row.readback_sha256 = image_sha256(radio);
}

std::optional<std::string> Write_record::append() {
  row.time = system_local_time();
  return journal_.append(row);
}

void Write_record::failed(const Command_failed& e) {
  if (e.status == exit_port || e.status == exit_usage) return;
  switch (e.status) {
    case exit_band_mismatch:
      row.result = Radio_result::band_refused;
      break;
    case exit_readback:
      row.result = Radio_result::readback_differs;
      break;
    case exit_interrupted:
      row.result = Radio_result::stopped;
      break;
    default:
      row.result = on_failure_;
  }
  row.exit_status = e.status;
  row.note = e.what();
  if (const auto failure = append()) std::cerr << *failure << '\n';
}

void Write_record::succeeded(std::string note) {
  row.result = Radio_result::done;
  row.exit_status = exit_ok;
  row.note = std::move(note);
  if (const auto failure = append()) {
    throw Command_failed(exit_journal_not_written,
                         *failure + "\nThe radio is written; its journal row is missing.");
  }
}

}  // namespace tirna::cli
