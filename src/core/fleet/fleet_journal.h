#pragma once
// The records of programming radios: the table of free texts by factory number, the journal row
// of each write (a fleet's radio and attempt, a single write, the window's), and what an earlier
// journal says is done already.
//
// The journal is a CSV table a spreadsheet opens as it is: UTF-8 with a byte order mark, and ";"
// between the fields where the decimal mark is "," (so the spreadsheet does not take "," for it).
// Every row ends with the SHA-256 of the bytes of the row before it (of the header, for the first
// row), so that a row changed, removed or moved afterwards shows (journal_chain.h).

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/pages/extra_data.h"
#include "core/transfer/exit_status.h"

namespace tirna {

// How one radio's turn ended.
enum class Radio_result {
  done,              // backed up, written, read back equal (and its free text written)
  already_done,      // the journal holds its factory number as done: nothing asked or written
  read_failed,       // the first read (the backup) did not complete: nothing written
  band_refused,      // the radio is of the other band: nothing written
  backup_failed,     // the backup could not be saved: nothing written
  write_failed,      // the write did not complete: the radio may hold part of it
  text_failed,       // FILE is written, the free text did not complete
  readback_differs,  // the read-back differs from what was written
  readback_failed,   // the read-back did not complete
  stopped,           // Ctrl-C during the radio's transfers
  matches,           // audit: the radio holds what a write of FILE sends
  differs,           // audit: it does not (the note names the parameters)
};

// The journal's words: "done", "already done", "band refused", ...
std::string_view result_text(Radio_result result);

struct Journal_row {
  Local_time time{};
  std::string port;
  std::string factory_number;
  std::string model;
  std::string band;  // "148-174 MHz" or "450-470 MHz" from the radio's band code
  int version = -1;  // the radio's version; -1 when it never answered
  std::string file;  // FILE as given
  std::string file_sha256;
  std::string backup;  // the backup's path, or empty
  Radio_result result = Radio_result::done;
  int exit_status = 0;      // what a single write (with --verify) of FILE to this radio would give
  std::string note;         // the transfer's message, the free text's fate
  std::string station;      // the machine's host name
  std::string user;         // who ran the command
  std::string command;      // "fleet", "write", "write-extra", "window write", ...
  std::string sent_sha256;  // of the 1024 bytes of the image as the write sent it
  std::string readback_sha256;  // of the radio's 1024 bytes read back; empty when not read back
};

// The worse of two exit statuses of radios, by an explicit order (not by their numbers): the
// status a run of many radios ends with. From least to most: success; a difference; refused
// usage; a file error; the port; no answer; the band; a read-back; a refused value; a stop.
Exit_status worse_status(Exit_status a, Exit_status b);

// The first line of a new journal: the byte order mark and the header.
std::string journal_start(char separator);
// One row with its CR LF, chained to the row before it by that row's SHA-256 (hexadecimal). Line
// breaks inside a cell become blanks: one row is one line.
std::string journal_line(const Journal_row& row, char separator, std::string_view previous_sha256);
// The column names of the journal's header, in order.
const std::vector<std::string>& journal_column_names();
// A radio done with a file: its factory number and the file's SHA-256.
using Done_radio = std::pair<std::string, std::string>;
// What an existing journal tells the next run: the radios it records as done, each with the file
// it was done with, and its separator, which the rows appended to it keep (none for an empty or
// foreign text).
struct Journal_contents {
  std::set<Done_radio> done;
  std::optional<char> separator;
};
Journal_contents read_journal(std::string_view journal);

// The table of free texts: columns factory_number and text (by the header, in any order; other
// columns ignored). Factory numbers are trimmed; the texts become the radio's bytes (code page
// 1251, CR LF line breaks) and may not be longer than the radio keeps.
struct Free_texts {
  std::map<std::string, std::string> by_factory_number;  // cp1251 bytes
};
// The reason (with the line) when the table cannot be used.
std::variant<Free_texts, std::string> read_free_texts(std::string_view csv);

// "2026-12-09 18:30:05"
std::string journal_time(const Local_time& t);

}  // namespace tirna
