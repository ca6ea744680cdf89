// set: changes a parameter file by report-parameter names, as the window's edits would.

#include <iostream>
#include <memory>
#include <sstream>

#include "cli/cli_text.h"
#include "cli/commands.h"
#include "core/image/frequency.h"
#include "core/pages/settings.h"
#include "core/edit/parameter_edit.h"

namespace tirna::cli {
namespace {

constexpr const char* set_footer =
    R"(Names and values are those of `show --json`; every assignment makes the edit the window
would make so that it shows the value:
  f_rxN, f_txN        a frequency as typed into the frequency dialog: 160,0125 or 160.0125
                      (MHz, at most six decimals); the band limits of the file's band and the
                      frequency coding of the file apply, as in the window
  st_rxN, st_txN      Выключен, "CTC 67,0", "DCS 023", "-DCS 754" (inverted); any tone or code
                      the sub-tone dialog accepts when typed
  powN, bandN,        the cell texts: Повышен. / Понижен., "25 кГц" / "12,5 кГц",
  skanN, busyN        Включен / Выключен (leading blanks optional)
  no_kanN, no_txN     V (ticked) or "" (cleared)
  osn1 .. osn14       an item of the settings list, as the list shows it
  memo1               the free text; line breaks as they are ($'line 1\nline 2' in bash)
N is the channel 1..16. model, nomer and frq cannot be set.
Assignments apply in their order, so a channel that is off takes edits after no_kanN= in the
same call; osn13 (the squelch key) is picked after all others, from the list as the power
selection osn14 leaves it. A value the window already shows changes nothing. What the window
would not allow is refused: every refused assignment is reported, nothing is written and the
exit status is 8. An unknown name is a refused value (8); an argument without '=' is a usage
error (2). The file is replaced atomically.)";

std::string list_hint(const Window_view& view, int slot) {
  const auto& items = shown_setting_items(view, slot);
  std::ostringstream out;
  out << items.size() << " items: ";
  const auto item = [&](std::size_t i) { return in_quotes(items[i]); };
  if (items.size() <= 16) {
    for (std::size_t i = 0; i < items.size(); ++i) out << (i ? ", " : "") << item(i);
  } else {
    out << item(0) << ", " << item(1) << ", " << item(2) << " ... " << item(items.size() - 1);
  }
  if (slot == squelch_key_slot && view.settings.squelch_form == Squelch_form::short_form) {
    out << "; the short form, shown while osn14 is "
        << in_quotes(setting_items(power_select_slot)[2]);
  }
  return out.str();
}

std::string reason(const Assignment_outcome& o, const Workspace& ws, const Window_view& view) {
  const auto p = parse_parameter_name(o.name);
  const std::string n = p ? std::to_string(p->number) : "";
  switch (*o.refusal) {
    case Edit_refusal::unknown_name:
      return "unknown parameter: the names are those of `show --json` (no_kan1 .. busy16, memo1, "
             "osn1 .. osn14)";
    case Edit_refusal::read_only:
      return o.name == "frq"
                 ? "cannot be set: the band is chosen when the file is made (new --band)"
                 : "cannot be set: only the radio writes it";
    case Edit_refusal::channel_off:
      return "channel " + n + " is off, so the window takes no edit of it; switch it on first in " +
             "the same call with no_kan" + n + "=";
    case Edit_refusal::tx_inhibited:
      return "the transmitter of channel " + n + " is inhibited, so its transmit cells take no " +
             "edit; allow it first in the same call with no_tx" + n + "=";
    case Edit_refusal::not_a_box_value:
      return "takes V (ticked) or \"\" (cleared)";
    case Edit_refusal::not_a_frequency:
      return "not a frequency as the frequency dialog takes it: megahertz, one ',' or '.', at "
             "most six decimals";
    case Edit_refusal::frequency_too_long:
      return "longer than the frequency field's 10 characters";
    case Edit_refusal::no_frequency:
      return "no frequency: the frequency dialog stores nothing for an empty field or 0";
    case Edit_refusal::out_of_band:
      return "outside the band " + megahertz_text(ws.state.limits.lower) + " to " +
             megahertz_text(ws.state.limits.upper) + " MHz (Введенная частота вне диапазона!)";
    case Edit_refusal::not_a_subtone:
      return "not a sub-tone as the table shows it: Выключен, \"CTC 67,0\", \"DCS 023\" or "
             "\"-DCS 754\"";
    case Edit_refusal::subtone_refused:
      return "the sub-tone dialog refuses it: " + o.detail +
             " (a tone has the form 67,0 or 100,0; a DCS code is three octal digits)";
    case Edit_refusal::not_a_cell_text: {
      const Flag_column& f = flag_column(p->column());
      return "takes " + in_quotes(f.clear_text) + " or " + in_quotes(f.set_text) +
             " (leading blanks optional)";
    }
    case Edit_refusal::not_a_list_item:
      return "not an item of the list (" + list_hint(view, p->number - 1) + ")";
    case Edit_refusal::not_in_code_page:
      return "holds a character that code page 1251 cannot store";
    case Edit_refusal::text_too_long:
      return o.detail + " bytes in code page 1251 (a line break takes 2); the radio keeps 192";
    case Edit_refusal::channel_refused:
      return channel_fault_text(*o.fault) + "; a channel in use must keep the band's limits and "
             "sub-tones the radio has";
    case Edit_refusal::text_not_kept:
      return "would read back as " + in_quotes(o.detail) +
             ": a final \"я\" in the 192nd place is the byte 0xFF, which reads as erased memory";
  }
  return "";
}

void run_set(const std::string& file, const std::vector<std::string>& arguments) {
  std::vector<std::pair<std::string, std::string>> assignments;
  for (const std::string& a : arguments) {
    const std::size_t eq = a.find('=');
    if (eq == std::string::npos) {
      throw Command_failed(exit_usage, "set: " + in_quotes(a) + " is not NAME=VALUE");
    }
    assignments.emplace_back(a.substr(0, eq), a.substr(eq + 1));
  }

  Workspace ws = open_or_fail(file);
  const Param_image original = ws.image;
  const std::string squelch_before = Parameter_editor(ws).view().settings.text(squelch_key_slot);
  // The editor refreshes its own view; a second one over the result gives what the window shows.
  const auto outcomes = apply_assignments(ws, assignments);
  const Window_view view = Parameter_editor(ws).view();

  std::ostringstream refusals;
  bool refused = false;
  bool squelch_assigned = false;
  for (const auto& o : outcomes) {
    squelch_assigned = squelch_assigned || o.name == "osn" + std::to_string(squelch_key_slot + 1);
    if (!o.refusal) continue;
    refused = true;
    refusals << "set: " << o.name << "=" << in_quotes(o.value) << ": " << reason(o, ws, view)
             << '\n';
  }
  if (refused) {
    throw Command_failed(exit_refused, refusals.str() + "set: nothing was changed in " + file);
  }

  for (const auto& o : outcomes) {
    if (o.detail.empty()) continue;
    std::cerr << "note: " << o.name << "=" << in_quotes(o.value) << " is stored as "
              << in_quotes(o.detail) << ": the frequency coding of the file ("
              << (is_new_coding(ws.state.coding_version) ? "12.5 kHz steps" : "5 or 6.25 kHz steps")
              << ") keeps no finer frequency\n";
  }
  const std::string squelch_after = view.settings.text(squelch_key_slot);
  if (!squelch_assigned && squelch_after != squelch_before) {
    std::cerr << "note: osn13 now reads " << in_quotes(squelch_after)
              << ": the power selection changed the squelch-key list\n";
  }
  if (ws.image != original) save_or_fail(ws, file);
}

}  // namespace

void add_set_command(CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "set", "Change parameters of a file by their report names, as the window's edits would");
  struct Options {
    std::string file;
    std::vector<std::string> assignments;
  };
  auto options = std::make_shared<Options>();
  cmd->add_option("FILE", options->file, "The parameter file (*.tn5)")->required();
  cmd->add_option("NAME=VALUE", options->assignments, "Assignments, applied in their order")
      ->required();
  cmd->footer(set_footer);
  cmd->callback([options] { run_set(options->file, options->assignments); });
}

}  // namespace tirna::cli
