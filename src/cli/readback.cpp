#include "cli/readback.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "cli/commands.h"
#include "cli/difference_listing.h"
#include "core/files/backup_file.h"
#include "core/pages/extra_data.h"
#include "core/text/messages.h"
#include "core/transfer/read_image.h"
#include "core/transfer/transfer_messages.h"
#include "core/transfer/transfer_runner.h"
#include "core/transfer/write_image.h"
#include "platform/files/safe_file.h"

namespace tirna::cli {

namespace {

constexpr const char* radio_column = "радиостанция";

[[noreturn]] void fail_with_note(const Command_failed& e, const std::string& note) {
  throw Command_failed(e.status, std::string(e.what()) + (e.what()[0] ? "\n" : "") + note);
}

}  // namespace

void refuse_unwritable_file(const Workspace& file) {
  if (const auto refusal = write_refusal(file.image, file.state.coding_version)) {
    throw Command_failed(exit_refused, terminal_text(refusal->message.text));
  }
}

void prepare_backup_folder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!ec && !std::filesystem::is_directory(folder, ec))
    ec.assign(ENOTDIR, std::generic_category());
  if (!ec && ::access(folder.c_str(), W_OK | X_OK) != 0) ec.assign(errno, std::generic_category());
  if (ec) {
    throw Command_failed(exit_file_error,
                         folder + ": " + with_full_stop(Io_error::from_errno(ec.value()).text()));
  }
}

Workspace read_radio(Link_run& run) {
  Workspace radio = start_up_workspace();
  run.finish(read_parameter_image(radio, run.session, run.view));
  return radio;
}

void backup_radio(Link_run& run, const std::string& folder, Backup& backup) {
  constexpr const char* nothing_written = "В радиостанцию ничего не записано.";
  try {
    backup.radio = read_radio(run);
  } catch (const Command_failed& e) {
    fail_with_note(e, std::string("Резервная копия не сделана. ") + nothing_written);
  }
  const auto saved = save_backup(safe_files(), folder, backup.radio->image, system_local_time());
  if (const auto* error = std::get_if<Io_error>(&saved)) {
    throw Command_failed(exit_file_error, folder + ": " + with_full_stop(error->text()) + "\n" +
                                              "Резервная копия не сделана. " + nothing_written);
  }
  backup.path = std::get<std::string>(saved);
  std::cout << "Резервная копия: " << backup.path << '\n';
}

void check_readback(const Param_image& sent, const Param_image& radio, Time_stamp time,
                    const std::string& sent_name) {
  const Image_comparison c = compare_with_radio(sent, radio, time);
  const bool after_write = time == Time_stamp::compared;
  if (c.same()) {
    std::cout << (after_write ? "Проверка записи: параметры в радиостанции совпадают с записанными."
                              : "Параметры в радиостанции совпадают с файлом.")
              << '\n';
    return;
  }
  std::cout << difference_listing(c, sent_name, radio_column);
  throw Command_failed(exit_readback,
                       after_write
                           ? "Проверка записи: параметры в радиостанции отличаются от записанных."
                           : "Параметры в радиостанции отличаются от файла.");
}

void add_verify_command(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "verify", "Read the radio and compare it with what a write of a parameter file sends");
  struct Options : Link_options {
    std::string file;
  };
  auto o = std::make_shared<Options>();
  add_link_options(cmd, *o);
  cmd->add_option("FILE", o->file, "The parameter file (*.tn5); it is not changed")->required();
  cmd->footer(
      "Reads the radio's whole memory (as `read` does, into memory only) and compares the 38\n"
      "packets a write sends: channels, settings, identification block and programming time.\n"
      "FILE is taken as a write would send it to this radio: bits 0-1 of 0x2BC cleared, the\n"
      "channel records and the version byte in the radio's coding. The date and time of the last\n"
      "programming (0x3C0-0x3CD), which every write stamps anew, are not compared but printed.\n"
      "Model text, factory number, free text and unused areas are the radio's own: not compared.\n"
      "Differences are listed as `diff` lists them: report parameters side by side, then the\n"
      "other bytes by address. Exit status 0 when the radio holds what a write of FILE sends, 7\n"
      "when it differs, 6 when the radio is of the other band.");
  cmd->callback([o] {
    const Workspace file = open_or_fail(o->file);
    refuse_unwritable_file(file);
    Link_run run(*o, {o->file});
    const Workspace radio = read_radio(run);
    std::cout << "Время последнего программирования : " << time_label(radio.image) << '\n';
    if (!radio_fits_band(run.identification(), file.image)) {
      throw Command_failed(exit_band_mismatch, terminal_text(transfer_text::band_mismatch.text));
    }
    check_readback(image_as_written(file, run.identification().radio_version()), radio.image,
                   Time_stamp::ignored, o->file);
    run.close();
  });
}

}  // namespace tirna::cli
