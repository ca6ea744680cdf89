// read, write, read-extra and write-extra: the transfers with a radio, through the programmer on a
// serial port.

#include <iostream>

#include "cli/commands.h"
#include "cli/file_io.h"
#include "cli/link_run.h"
#include "cli/readback.h"
#include "core/pages/extra_data.h"
#include "core/text/messages.h"
#include "core/transfer/extra_data_transfer.h"
#include "core/transfer/read_image.h"
#include "core/transfer/transfer_messages.h"
#include "core/transfer/write_image.h"
#include "platform/files/safe_file.h"

namespace tirna::cli {

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
        "--verify: compares the 38 written packets as `verify` does, the time stamp included.");
    cmd->callback([o] {
      Workspace ws = open_or_fail(o->file);
      if (!o->backup_dir.empty()) {
        refuse_unwritable_file(ws);
        prepare_backup_folder(o->backup_dir);
      }
      Link_run run(*o, {o->file});
      if (!o->backup_dir.empty()) backup_radio(run, o->backup_dir);
      run.finish(write_parameter_image(ws, run.session, run.view));
      if (o->verify) {
        // The image as the write left it is exactly what was sent, time stamp included.
        const Workspace radio = read_radio(run);
        check_readback(ws.image, radio.image, Time_stamp::compared, "записано");
      }
      run.close();
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
      std::string text, text_file;
    };
    auto o = std::make_shared<Options>();
    add_link_options(cmd, *o);
    auto* text = cmd->add_option("--text", o->text, "The free text (UTF-8; a line break as typed)");
    cmd->add_option("--text-file", o->text_file, "Take the free text from a UTF-8 file")
        ->excludes(text);
    cmd->callback([o] {
      const std::string utf8 = o->text_file.empty()
                                   ? o->text
                                   : read_input_or_fail(o->text_file, text_file_size_limit);
      const auto bytes = free_text_bytes(utf8);
      if (!bytes) {
        throw Command_failed(exit_refused, transfer_text::free_text_not_storable.text);
      }
      if (bytes->size() > static_cast<std::size_t>(mem::free_text_size)) {
        std::cerr << "Текст длиннее 192 байт: записываются первые 192.\n";
      }
      Workspace ws = start_up_workspace();
      Link_run run(*o, {o->text_file});
      run.finish(write_additional_data(ws, run.session, run.view, *bytes));
      run.close();
    });
  }
}

}  // namespace tirna::cli
