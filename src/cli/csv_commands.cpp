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

// Why a row was refused, in the command line's words (the line and the cell are said before it).
std::string refusal_text(const Csv_problem& p) {
  switch (p.refusal) {
    case Csv_refusal::unclosed_quote:
      return "a quoted field is not closed";
    case Csv_refusal::no_location_column:
      return "the header names no Location column";
    case Csv_refusal::bad_location:
      return "Location must be a whole number";
    case Csv_refusal::duplicate_location:
      return "the channel was given on line " + std::to_string(p.number);
    case Csv_refusal::not_a_number:
      return "not a number";
    case Csv_refusal::missing_value:
      return "needed by this row, but empty or missing";
    case Csv_refusal::out_of_band:
      return "outside the band " + megahertz_text(p.limits.lower, '.') + " to " +
             megahertz_text(p.limits.upper, '.') + " MHz of the file";
    case Csv_refusal::bad_duplex:
      return "Duplex takes \"\", +, -, split or off";
    case Csv_refusal::bad_tone_mode:
      return "a tone mode the radio does not have (\"\", Tone, TSQL, DTCS or Cross; it has no "
             "reverse squelch)";
    case Csv_refusal::bad_cross_mode:
      return "not a cross mode (Tone->Tone, Tone->DTCS, DTCS->Tone, DTCS->DTCS, Tone->, DTCS->, "
             "->Tone, ->DTCS)";
    case Csv_refusal::bad_polarity:
      return "DtcsPolarity takes NN, NR, RN or RR";
    case Csv_refusal::tone_refused:
      return "a tone or code the radio cannot store: " + p.detail +
             " (tones 10.0 to 999.9 Hz, DCS codes of three octal digits)";
    case Csv_refusal::bad_mode:
      return "a mode the radio does not have (FM for 25 kHz, NFM for 12.5 kHz)";
    case Csv_refusal::bad_skip:
      return "Skip takes \"\" (scanned) or S (left out of scanning)";
    case Csv_refusal::bad_power:
      return "Power takes watts (25W, 5.0W) or High or Low";
    case Csv_refusal::bad_mark:
      return "takes V or \"\"";
    case Csv_refusal::bad_record:
      return "not the 16 bytes of a channel record in hex";
    case Csv_refusal::past_last_channel:
      return "the row would go to channel " + std::to_string(p.number) +
             ", past the last channel 16";
    case Csv_refusal::empty_table:
      return "the table has no rows (a table with no row for any channel is refused)";
    case Csv_refusal::duplicate_column:
      return "the header names this column twice";
    case Csv_refusal::channel_refused:
      return p.fault ? channel_fault_text(*p.fault) : "";
    case Csv_refusal::no_channel: {
      std::string locations;
      for (long long l : p.locations) {
        locations += (locations.empty() ? "" : ", ") + std::to_string(l);
      }
      return "no row names a channel 1 to 16 (the rows give Location " + locations +
             "; --first-location N makes memory N channel 1)";
    }
  }
  return "";
}

// "FILE:LINE: COLUMN "VALUE": why". A column named twice is named as the header spells it.
std::string problem_line(const std::string& where, const Csv_problem& p) {
  std::string out = where + ":" + std::to_string(p.line) + ": ";
  if (p.refusal == Csv_refusal::duplicate_column) {
    out += p.value + " " + in_quotes("") + ": ";
  } else if (p.column) {
    const std::string value =
        p.refusal == Csv_refusal::out_of_band ? megahertz_text(p.hz, '.') : p.value;
    out += std::string(column_name(*p.column)) + " " + in_quotes(value) + ": ";
  }
  return out + refusal_text(p);
}

// "receive tone 301.0 Hz is outside CHIRP's 50-300 Hz".
std::string chirp_note_text(const Csv_chirp_note& n) {
  const std::string side = n.side == Side::rx ? "receive" : "transmit";
  if (n.tone.kind == Tone_setting::ctcss) {
    return side + " tone " + std::to_string(n.tone.tenths / 10) + "." +
           std::to_string(n.tone.tenths % 10) + " Hz is outside CHIRP's 50-300 Hz";
  }
  return side + " DCS code " + dcs_code_text(n.tone.code) + " is not three octal digits";
}

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
    for (const Csv_problem& p : result.problems) out << problem_line(where, p) << '\n';
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
    std::cerr << where << ":" << n.line << ": note: " << column_name(n.column) << " "
              << megahertz_text(n.wanted_hz, '.') << " is stored as "
              << megahertz_text(n.stored_hz, '.')
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
      // One line a channel, its two sides together.
      const auto notes = rows_chirp_refuses(ws.image, ws.state.coding_version);
      for (std::size_t i = 0; i < notes.size(); ++i) {
        const bool first = i == 0 || notes[i - 1].channel != notes[i].channel;
        const bool last = i + 1 == notes.size() || notes[i + 1].channel != notes[i].channel;
        if (first) std::cerr << "note: channel " << notes[i].channel << ": ";
        std::cerr << chirp_note_text(notes[i]) << (last ? "; CHIRP will refuse its row\n" : "; ");
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
