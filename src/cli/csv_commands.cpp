// export-csv and import-csv: the channel list in CHIRP's CSV layout.

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>

#include "cli/cli_text.h"
#include "cli/commands.h"
#include "cli/file_io.h"
#include "core/files/channel_csv.h"
#include "core/image/channel_record.h"
#include "platform/files/safe_file.h"

namespace tirna::cli {
namespace {

constexpr const char* export_footer =
    R"(Writes the 16 channels as CHIRP's generic CSV files hold them, so that CHIRP opens the file
without an error: the columns
  Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,
  RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment
then four of our own, which CHIRP drops when it saves: ChannelOff (V for a channel that is
off), BusyLockout (V for transmit lock-out on a busy channel), TxFrequency (the transmit
frequency of an inhibited transmitter, Duplex off) and Record (the 16 bytes of the channel
record, so that an import gives back the same records). A channel that is off is a comment line
("#" before its Location): CHIRP skips it, as it has no channel that is off; our import reads
it. Frequencies in MHz with six decimals; Duplex "", +, - (Offset the difference), split
(Offset the transmit frequency) or off; sub-tones as Tone, TSQL, DTCS or Cross with CrossMode,
DtcsPolarity transmit letter first (N normal, R inverted); Mode FM (25 kHz) or NFM (12.5 kHz);
Skip S for a channel left out of scanning; Power 25W for full and 5.0W for reduced power
(nominal figures). A channel whose tone CHIRP cannot hold (outside 50-300 Hz) is named on
stderr. OUT may be - for standard output.)";

constexpr const char* import_footer =
    R"(Reads a table in the layout export-csv writes, or as CHIRP and spreadsheets write it: columns
are found by their header names in any order, unknown columns are ignored, a UTF-8 byte order
mark, CR LF line ends, ';' as separator and ',' as decimal mark are taken. Each row changes the
channel its Location names (1..16; --first-location N makes memory N channel 1, as for CHIRP's
0-based files); rows of other Locations are skipped with a note, and a table without a row for
a channel is refused. A missing column keeps that field of the channel, except that a row
switches its channel on unless ChannelOff says V, and a row without a Duplex column is simplex.
Channels the table does not name: a table from CHIRP (without our ChannelOff column) has no
other way to say a memory is empty, so they are switched off (--keep-missing keeps them as they
are); in a table of our own export they are kept. Fields are stored as the window's edits store
them: the band limits of the file's band, the file's frequency coding, the sub-tone dialog's
rules. With any refused row nothing is written: every problem is reported with its line, and
the exit status is 8. Power takes watts (at or above 15 W full power, below it reduced) or High
and Low; TStep, Name and Comment are ignored. IN may be - for standard input.)";

// "0, 17-40": numbers in order, runs of three or more as ranges.
std::string number_list(std::vector<long long> numbers) {
  std::sort(numbers.begin(), numbers.end());
  std::string out;
  for (std::size_t i = 0; i < numbers.size();) {
    std::size_t j = i;
    while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
    if (!out.empty()) out += ", ";
    out += std::to_string(numbers[i]);
    if (j >= i + 2) {
      out += "-" + std::to_string(numbers[j]);
    } else if (j == i + 1) {
      out += ", " + std::to_string(numbers[j]);
    }
    i = j + 1;
  }
  return out;
}

void run_import(const std::string& file, const std::string& table_path,
                const Csv_import_options& options) {
  refuse_output_over_input(file, {table_path});
  const std::string text = read_input_or_fail(table_path, csv_size_limit);
  Workspace ws = open_or_fail(file);
  const Param_image original = ws.image;
  const Csv_import_result result = import_channels_csv(ws.image, ws.state, text, options);
  const std::string where = table_path == "-" ? "standard input" : table_path;
  if (!result.ok()) {
    std::ostringstream out;
    for (const Csv_problem& p : result.problems) {
      out << where << ":" << p.line << ": ";
      if (!p.column.empty()) out << p.column << " " << in_quotes(p.value) << ": ";
      out << csv_refusal_text(p, ws.state) << '\n';
    }
    throw Command_failed(exit_refused, out.str() + "import-csv: nothing was changed in " + file);
  }
  if (!result.skipped.empty()) {
    std::vector<long long> locations;
    for (const Csv_skipped& k : result.skipped) locations.push_back(k.location);
    std::cerr << where << ": note: the rows of Location " << number_list(locations)
              << " are skipped: the radio has channels 1 to 16"
              << (options.first_location == 1 ? " (--first-location N makes memory N channel 1)"
                                              : " (memory " +
                                                    std::to_string(options.first_location) +
                                                    " is channel 1)")
              << '\n';
  }
  if (!result.switched_off.empty()) {
    std::vector<long long> channels(result.switched_off.begin(), result.switched_off.end());
    const bool one = channels.size() == 1;
    std::cerr << where << ": note: channel" << (one ? " " : "s ") << number_list(channels)
              << (one ? " has no row and is" : " have no row and are")
              << " switched off, as CHIRP's empty memories are (--keep-missing keeps "
              << (one ? "it as it is" : "them as they are") << ")\n";
  }
  for (const Csv_note& n : result.notes) {
    std::cerr << where << ":" << n.line << ": note: " << n.column << " "
              << megahertz_text(n.wanted_hz, '.') << " is stored as " << megahertz_text(n.stored_hz, '.')
              << ": the frequency coding of the file keeps no finer frequency\n";
  }
  if (ws.image != original) save_or_fail(ws, file);
}

}  // namespace

void add_csv_commands(CLI::App& app) {
  {
    auto* cmd =
        app.add_subcommand("export-csv", "Write the channel list as a CHIRP-style CSV table");
    struct Options {
      std::string file, output;
    };
    auto options = std::make_shared<Options>();
    cmd->add_option("FILE", options->file, "The parameter file (*.tn5)")->required();
    cmd->add_option("-o,--output", options->output, "The CSV file to write, - for standard output")
        ->required();
    cmd->footer(export_footer);
    cmd->callback([options] {
      refuse_output_over_input(options->output, {options->file});
      const Workspace ws = open_or_fail(options->file);
      write_output_or_fail(options->output,
                           export_channels_csv(ws.image, ws.state.coding_version));
      for (const Csv_chirp_note& n : rows_chirp_refuses(ws.image, ws.state.coding_version)) {
        std::cerr << "note: channel " << n.channel << ": " << n.reason
                  << "; CHIRP will refuse its row\n";
      }
    });
  }
  {
    auto* cmd = app.add_subcommand(
        "import-csv", "Change the channels of a file from a CHIRP-style CSV table, all or nothing");
    struct Options {
      std::string file, table;
      Csv_import_options import;
    };
    auto options = std::make_shared<Options>();
    cmd->add_option("FILE", options->file, "The parameter file (*.tn5) to change")->required();
    cmd->add_option("IN", options->table, "The CSV table, - for standard input")->required();
    cmd->add_option("--first-location", options->import.first_location,
                    "The Location of channel 1 (default 1; 0 for CHIRP's 0-based files)")
        ->type_name("N")
        ->check(CLI::Range(0LL, 1000000000LL));
    cmd->add_flag("--keep-missing", options->import.keep_missing,
                  "Keep the channels a CHIRP table has no row for, instead of switching them off");
    cmd->footer(import_footer);
    cmd->callback([options] { run_import(options->file, options->table, options->import); });
  }
}

}  // namespace tirna::cli
