// read, write, read-extra and write-extra: the transfers with a radio, through the programmer on a
// serial port.

#include <iostream>

#include "cli/commands.h"
#include "cli/file_io.h"
#include "cli/link_run.h"
#include "cli/readback.h"
#include "cli/write_journal.h"
#include "core/pages/extra_data.h"
#include "core/text/messages.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/read_image.h"
#include "core/transfer/transfer_messages.h"
#include "core/transfer/write_image.h"
#include "platform/files/safe_file.h"
#include "platform/programming_journal.h"

namespace tirna::cli {

void add_journal_option(CLI::App* cmd, std::string& journal) {
  cmd->add_option("--journal", journal,
                  "The programming journal this write is recorded in (default: the user's, "
                  "$XDG_DATA_HOME/tirna520/journal.csv, else ~/.local/share/tirna520/journal.csv)")
      ->type_name("JOURNAL.csv");
}

void add_link_commands(CLI::App& app) {
  {
    auto* cmd = app.add_subcommand("read", "Read the radio's parameters into a file");
    struct Options : Link_options {
      std::string output;
    };
    auto o = std::make_shared<Options>();
    add_link_options(cmd, *o);
    cmd->add_option("-o,--output", o->output, "The parameter file to write (*.tn5)")->required();
    cmd->callback([o] {
      check_output_or_fail(o->output);  // before the radio is read for nothing
      Link_run run(*o, {o->output});
      Workspace ws = start_up_workspace();
      const Transfer_result r = read_parameter_image(ws, run.session, run.view);
      run.finish(r);
      save_or_fail(ws, o->output);  // atomic: a failed save leaves the old file
      run.close();
    });
  }
  {
    auto* cmd = app.add_subcommand("write", "Write a parameter file to the radio");
    struct Options : Link_options {
      std::string file;
      std::string backup_dir;
      std::string journal;
      bool verify = false;
    };
    auto o = std::make_shared<Options>();
    add_link_options(cmd, *o);
    cmd->add_option("FILE", o->file, "The parameter file (*.tn5); it is not changed")->required();
    cmd->add_option("--backup-dir", o->backup_dir,
                    "First read the whole radio and save it as DIR/<factory number>-"
                    "<YYYYMMDD-HHMMSS>.tn5 (DIR is created when missing); nothing is written "
                    "unless the backup is saved")
        ->type_name("DIR");
    cmd->add_flag("--verify", o->verify,
                  "After the write, read the radio back and compare the written packets with "
                  "what was sent (exit status 7 when they differ)");
    cmd->footer(
        "--backup-dir: the factory number is trimmed, characters unsafe in file names become _,\n"
        "a radio without one is no-number; a backup never replaces a file (-2, -3, ... are\n"
        "added). When the backup read fails or the backup cannot be saved, nothing is written.\n"
        "--verify: compares the 38 written packets as `verify` does, the time stamp included.\n"
        "Journal: one row per write (see `journal verify`); the factory number and model are\n"
        "known when the radio is read whole (--backup-dir, --verify).");
    add_journal_option(cmd, o->journal);
    cmd->callback([o] {
      Workspace ws = open_or_fail(o->file);
      const std::string file_bytes = read_input_or_fail(o->file, csv_size_limit);
      if (!o->backup_dir.empty()) {
        refuse_unwritable_file(ws);
        prepare_backup_folder(o->backup_dir);
      }
      refuse_output_over_input(o->journal, {o->file});
      Link_run run(*o, {o->file, o->journal});
      Write_record record(o->journal, "write", o->port);
      record.row.file = o->file;
      record.row.file_sha256 = sha256_hex(file_bytes);
      try {
        if (!o->backup_dir.empty()) {
          Backup backup;
          record.on_failure(Radio_result::read_failed);
          try {
            backup_radio(run, o->backup_dir, backup);
          } catch (const Command_failed&) {
            if (backup.radio) record.on_failure(Radio_result::backup_failed);
            record.radio_read(run, backup.radio ? &*backup.radio : nullptr);
            throw;
          }
          record.radio_read(run, &*backup.radio);
          record.row.backup = backup.path;
        }
        record.on_failure(Radio_result::write_failed);
        const Transfer_result written = write_parameter_image(ws, run.session, run.view);
        record.radio_read(run);
        if (written.packets > 0) record.sent(ws.image);
        run.finish(written);
        std::string note = "written";
        if (o->verify) {
          // The image as the write left it is exactly what was sent, time stamp included.
          record.on_failure(Radio_result::readback_failed);
          const Workspace radio = read_radio(run);
          record.radio_read(run, &radio);
          record.read_back(radio.image);
          check_readback(ws.image, radio.image, Time_stamp::compared, "записано");
          note = "read back equal";
        }
        run.close();
        record.succeeded(note);
      } catch (const Command_failed& e) {
        record.failed(e);
        throw;
      }
    });
  }
  {
    auto* cmd = app.add_subcommand(
        "read-extra",
        "Read the additional data (model, factory number, free text, programming time) into a "
        "file's packets 89, 90, 93 and 97-122; a missing file is created from the default image");
    struct Options : Link_options {
      std::string file;
    };
    auto o = std::make_shared<Options>();
    add_link_options(cmd, *o);
    cmd->add_option("FILE", o->file, "The parameter file (*.tn5)")->required();
    cmd->callback([o] {
      Workspace ws = start_up_workspace();
      if (const auto error = open_parameter_file(safe_files(), ws, o->file);
          error && error->kind != Io_error::file_not_found) {
        throw Command_failed(exit_file_error, o->file + ": " + with_full_stop(error->text()));
      }
      check_output_or_fail(o->file);
      Link_run run(*o, {o->file});
      run.finish(read_additional_data(ws, run.session, run.view));
      save_or_fail(ws, o->file);
      run.close();
      std::cout << "Модель : " << model_label(ws.image) << '\n'
                << "Заводской № : " << factory_number_label(ws.image) << '\n'
                << "Время последнего программирования : " << time_label(ws.image) << '\n'
                << "Дополнительная информация :\n"
                << free_text(ws.image) << '\n';
    });
  }
  {
    auto* cmd = app.add_subcommand("write-extra",
                                   "Write the free text and the programming time to the radio");
    struct Options : Link_options {
      std::string text, text_file, journal;
    };
    auto o = std::make_shared<Options>();
    add_link_options(cmd, *o);
    auto* text = cmd->add_option("--text", o->text, "The free text (UTF-8; a line break as typed)");
    cmd->add_option("--text-file", o->text_file, "Take the free text from a UTF-8 file")
        ->excludes(text);
    add_journal_option(cmd, o->journal);
    cmd->callback([o] {
      const std::string utf8 =
          o->text_file.empty() ? o->text : read_input_or_fail(o->text_file, text_file_size_limit);
      const auto bytes = free_text_bytes(utf8);
      if (!bytes) {
        throw Command_failed(exit_refused, transfer_text::free_text_not_storable.text);
      }
      if (bytes->size() > static_cast<std::size_t>(mem::free_text_size)) {
        std::cerr << "Текст длиннее 192 байт: записываются первые 192.\n";
      }
      Workspace ws = start_up_workspace();
      refuse_output_over_input(o->journal, {o->text_file});
      Link_run run(*o, {o->text_file, o->journal});
      Write_record record(o->journal, "write-extra", o->port);
      record.row.file = o->text_file;
      if (!o->text_file.empty()) record.row.file_sha256 = sha256_hex(utf8);
      try {
        const Transfer_result written = write_additional_data(ws, run.session, run.view, *bytes);
        record.radio_read(run);
        if (written.packets > 0) record.sent(ws.image);
        run.finish(written);
        run.close();
        record.succeeded("free text written");
      } catch (const Command_failed& e) {
        record.failed(e);
        throw;
      }
    });
  }
}

}  // namespace tirna::cli
