#pragma once
// Setting a report parameter to a text: the edit the window would make so that it shows that text,
// made through the window's own operations (box toggles, cell clicks with the entry dialogs, list
// picks, set_dop_dat) on a workspace and the view it shows. What the window would not let the user
// do is refused with its reason and changes nothing.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/channels/channel_check.h"
#include "core/channels/subtone_entry.h"
#include "core/catalogue/catalogue.h"
#include "core/channels/window_view.h"
#include "core/edit/edit.h"
#include "core/image/workspace.h"

namespace tirna {

// A report parameter name taken apart: its catalogue row and, for the channel parameters, the
// channel 1..16 or, for the settings, the setting 1..14.
struct Parameter_name {
  const Parameter* parameter = nullptr;
  int number = 0;
  Parameter_kind kind() const { return parameter->kind; }
  int column() const { return parameter->column; }  // table column of a cell, box of a box
};
std::optional<Parameter_name> parse_parameter_name(std::string_view name);

enum class Edit_refusal {
  unknown_name,        // not one of the 178 names
  read_only,           // model, nomer, frq: the window offers no edit
  channel_off,         // the channel's cells and its transmit-inhibit box take no edit
  tx_inhibited,        // the transmit cells (f_tx, st_tx, pow, busy) take no edit
  not_a_box_value,     // no_kan, no_tx: "V" or ""
  not_a_frequency,     // the frequency field's text is not a number of megahertz
  frequency_too_long,  // more characters than the frequency field takes
  no_frequency,        // an empty field or 0: the dialog stores nothing
  out_of_band,         // outside the band limits (both inclusive)
  not_a_subtone,       // not "Выключен", "CTC t", "DCS c" or "-DCS c"
  subtone_refused,     // the sub-tone dialog refuses the tone or code
  not_a_cell_text,     // pow, band, skan, busy: neither of the column's two texts
  not_a_list_item,     // osn: not an item of the list as it is shown
  not_in_code_page,    // memo1: a character code page 1251 cannot store
  text_too_long,       // memo1: more than 192 bytes
  text_not_kept,       // memo1: would read back as another text
  channel_refused,     // the channel the edits make fails the check of every channel (fault)
};

struct Assignment_outcome {
  std::string name;
  std::string value;
  std::optional<Edit_refusal> refusal;
  // f_rx, f_tx: the text now shown when the coding stored another frequency than the one typed.
  // subtone_refused: the dialog's message.
  std::string detail;
  std::optional<Channel_fault> fault;  // channel_refused: what the check found
};

class Parameter_editor : Edit_host {
 public:
  // The view is the one a window shows right after opening the workspace's file.
  explicit Parameter_editor(Workspace& ws);

  // Makes the edit that shows value for the parameter, or refuses it leaving image and view as
  // they were. A value equal to what the window shows changes nothing. Cell texts may omit their
  // leading blanks.
  Assignment_outcome assign(std::string_view name, std::string_view value);

  const Window_view& view() const { return view_; }

 private:
  std::optional<Edit_refusal> assign_box(const Parameter_name& p, std::string_view value);
  std::optional<Edit_refusal> assign_cell(const Parameter_name& p, std::string_view value,
                                          std::string& detail);
  std::optional<Edit_refusal> assign_setting(int slot, std::string_view value);
  std::optional<Edit_refusal> assign_memo(std::string_view value, std::string& detail);
  void refresh();
  void print_wind_blok() override { refresh(); }
  void in_frq(int n, Side side) override;
  void in_tone(int n, Side side) override;

  Workspace& ws_;
  Window_view view_;
  Subtone_dialog_state tone_dialog_;  // the dialog keeps its controls from one opening to the next
  class Prepared_entry* entry_ = nullptr;  // the entry the dialogs of the edit in progress give
};

// The items a settings list offers as shown (the squelch-key list in its current form), for
// messages.
const std::vector<std::string>& shown_setting_items(const Window_view& view, int slot);

// All assignments of one command, applied in their order, except that osn13 (the squelch key) is
// applied after all others: the power selection osn14 decides which items its list offers and may
// rewrite its code, so the squelch key is picked from the list as the other assignments leave it.
// Returns one outcome per assignment, in the order applied.
std::vector<Assignment_outcome> apply_assignments(
    Workspace& ws, const std::vector<std::pair<std::string, std::string>>& assignments);

}  // namespace tirna
