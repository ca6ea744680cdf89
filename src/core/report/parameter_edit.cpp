#include "core/report/parameter_edit.h"

#include <array>

#include "core/channels/channel_edits.h"
#include "core/channels/frequency_entry.h"
#include "core/image/frequency.h"
#include "core/pages/extra_data.h"
#include "core/pages/settings.h"
#include "core/text/cp1251.h"

namespace tirna {
namespace {

std::string_view without_leading_blanks(std::string_view s) {
  const std::size_t start = s.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string_view{} : s.substr(start);
}

// "1".."max" written without a leading zero.
std::optional<int> small_number(std::string_view digits, int max) {
  if (digits.empty() || digits.size() > 2 || digits[0] == '0') return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > max) return std::nullopt;
  return value;
}

// The dialogs a cell click opens, answered with one prepared entry: a frequency in Hz for the
// frequency dialog, a pick for the sub-tone dialog. Records what the dialogs told the user.
class Prepared_entry : public Cell_dialogs, Frequency_dialog, Subtone_dialog {
 public:
  Prepared_entry(Workspace& ws, Subtone_dialog_state& tone_state)
      : ws_(ws), tone_state_(tone_state) {}

  int64_t frequency_hz = 0;
  Subtone_pick pick;
  bool out_of_band = false;
  std::optional<std::string> tone_refusal;

  void in_frq(int n, Side side) override { tirna::in_frq(ws_.image, ws_.state, n, side, *this); }
  void in_tone(int n, Side side) override {
    tirna::in_tone(ws_.image, n, side, tone_state_, *this);
  }

 private:
  int64_t ask_frequency(Side) override { return frequency_hz; }
  void show_out_of_band() override { out_of_band = true; }
  bool ask_subtone(Side, Subtone_dialog_state& state) override {
    make_pick(state, pick);
    return true;
  }
  void show_refused(const std::string& message) override { tone_refusal = message; }

  Workspace& ws_;
  Subtone_dialog_state& tone_state_;
};

// Latin letters that look like Cyrillic ones are taken as those, and blanks around the text are
// dropped, so that a list item typed by hand matches the item as the list spells it.
std::string look_alike_key(std::string_view text) {
  static constexpr std::array<std::pair<char, const char*>, 20> latin = {{
      {'a', "а"}, {'c', "с"}, {'e', "е"}, {'o', "о"}, {'p', "р"}, {'x', "х"}, {'y', "у"},
      {'A', "А"}, {'B', "В"}, {'C', "С"}, {'E', "Е"}, {'H', "Н"}, {'K', "К"}, {'M', "М"},
      {'O', "О"}, {'P', "Р"}, {'T', "Т"}, {'X', "Х"}, {'k', "к"}, {'m', "м"},
  }};
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::string key;
  for (char c : text) {
    const char* cyrillic = nullptr;
    for (const auto& [l, cy] : latin) {
      if (l == c) cyrillic = cy;
    }
    if (cyrillic != nullptr) {
      key += cyrillic;
    } else {
      key += c;
    }
  }
  return key;
}

std::optional<int> find_item(const std::vector<std::string>& items, std::string_view value) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == value) return static_cast<int>(i);
  }
  const std::string key = look_alike_key(value);
  std::optional<int> found;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (look_alike_key(items[i]) != key) continue;
    if (found) return std::nullopt;  // ambiguous
    found = static_cast<int>(i);
  }
  return found;
}

std::string shown_text(const Window_view& view, const Parameter_name& p) {
  switch (p.kind) {
    case Parameter_name::model:
      return view.extra.model;
    case Parameter_name::nomer:
      return view.extra.factory_number;
    case Parameter_name::frq:
      return band_text(view.band_selector);
    case Parameter_name::no_kan:
      return view.rows[p.number - 1].off_ticked ? "V" : "";
    case Parameter_name::no_tx:
      return view.rows[p.number - 1].tx_inhibit_ticked ? "V" : "";
    case Parameter_name::cell:
      return view.rows[p.number - 1].cells[p.column];
    case Parameter_name::memo1:
      return view.extra.free_text;
    case Parameter_name::osn:
      return view.settings.text(p.number - 1);
  }
  return "";
}

}  // namespace

std::optional<Parameter_name> parse_parameter_name(std::string_view name) {
  if (name == "model") return Parameter_name{Parameter_name::model};
  if (name == "nomer") return Parameter_name{Parameter_name::nomer};
  if (name == "frq") return Parameter_name{Parameter_name::frq};
  if (name == "memo1") return Parameter_name{Parameter_name::memo1};
  if (name.substr(0, 3) == "osn") {
    if (auto k = small_number(name.substr(3), settings_count)) {
      return Parameter_name{Parameter_name::osn, *k};
    }
    return std::nullopt;
  }
  struct Prefix {
    std::string_view text;
    Parameter_name::Kind kind;
    int column;
  };
  static constexpr std::array<Prefix, 10> prefixes = {{
      {"no_kan", Parameter_name::no_kan, 0},
      {"no_tx", Parameter_name::no_tx, 0},
      {"f_rx", Parameter_name::cell, 1},
      {"st_rx", Parameter_name::cell, 2},
      {"f_tx", Parameter_name::cell, 3},
      {"st_tx", Parameter_name::cell, 4},
      {"pow", Parameter_name::cell, 5},
      {"band", Parameter_name::cell, 6},
      {"skan", Parameter_name::cell, 7},
      {"busy", Parameter_name::cell, 8},
  }};
  for (const Prefix& prefix : prefixes) {
    if (name.substr(0, prefix.text.size()) != prefix.text) continue;
    if (auto n = small_number(name.substr(prefix.text.size()), channel_count)) {
      return Parameter_name{prefix.kind, *n, prefix.column};
    }
    return std::nullopt;
  }
  return std::nullopt;
}

const std::vector<std::string>& shown_setting_items(const Window_view& view, int slot) {
  return setting_items(slot, view.settings.squelch_form_of(slot));
}

Parameter_editor::Parameter_editor(Workspace& ws) : ws_(ws) {
  refresh();
}

void Parameter_editor::refresh() {
  print_wind_blok(view_, ws_.image, ws_.state);
}

Assignment_outcome Parameter_editor::assign(std::string_view name, std::string_view value) {
  Assignment_outcome out{std::string(name), std::string(value), std::nullopt, ""};
  const auto p = parse_parameter_name(name);
  if (!p) {
    out.refusal = Edit_refusal::unknown_name;
    return out;
  }
  if (p->kind == Parameter_name::model || p->kind == Parameter_name::nomer ||
      p->kind == Parameter_name::frq) {
    out.refusal = Edit_refusal::read_only;
    return out;
  }
  const std::string shown = shown_text(view_, *p);
  const bool same = p->kind == Parameter_name::cell    ? without_leading_blanks(value) ==
                                                             without_leading_blanks(shown)
                    : p->kind == Parameter_name::memo1 ? with_line_feeds(value) == shown
                                                       : value == shown;
  if (same) return out;

  switch (p->kind) {
    case Parameter_name::no_kan:
    case Parameter_name::no_tx:
      out.refusal = assign_box(*p, value);
      break;
    case Parameter_name::cell:
      out.refusal = assign_cell(*p, value, out.detail);
      break;
    case Parameter_name::osn:
      out.refusal = assign_setting(p->number - 1, value);
      break;
    case Parameter_name::memo1:
      out.refusal = assign_memo(value, out.detail);
      break;
    default:
      break;
  }
  return out;
}

std::optional<Edit_refusal> Parameter_editor::assign_box(const Parameter_name& p,
                                                         std::string_view value) {
  if (value != "V" && !value.empty()) return Edit_refusal::not_a_box_value;
  const bool ticked = value == "V";
  const Channel_row_view& row = view_.rows[p.number - 1];
  if (p.kind == Parameter_name::no_tx && !row.tx_box_enabled) return Edit_refusal::channel_off;
  // The focus entering the box counts as an edit; the toggle itself does not.
  ws_.state.modified = true;
  if (p.kind == Parameter_name::no_kan) {
    toggle_channel_off(ws_.image, p.number, ticked);
  } else {
    toggle_tx_inhibit(ws_.image, p.number, ticked);
  }
  refresh();
  return std::nullopt;
}

std::optional<Edit_refusal> Parameter_editor::assign_cell(const Parameter_name& p,
                                                          std::string_view value,
                                                          std::string& detail) {
  const int n = p.number;
  const int c = p.column;
  switch (cell_block(ws_.image, c, n)) {
    case Cell_block::channel_off:
      return Edit_refusal::channel_off;
    case Cell_block::tx_inhibited:
      return Edit_refusal::tx_inhibited;
    case Cell_block::none:
      break;
  }
  const std::string_view text = without_leading_blanks(value);
  Prepared_entry entry(ws_, tone_dialog_);
  if (c == 1 || c == 3) {
    const auto hz = parse_frequency_text(text);
    if (!hz) return Edit_refusal::not_a_frequency;
    if (text.size() > static_cast<std::size_t>(frequency_field_max_length)) {
      return Edit_refusal::frequency_too_long;
    }
    if (*hz == 0) return Edit_refusal::no_frequency;
    entry.frequency_hz = *hz;
  } else if (c == 2 || c == 4) {
    const auto pick = subtone_pick_from_text(text);
    if (!pick) return Edit_refusal::not_a_subtone;
    if (auto refusal = refusal_of_cut_text(*pick)) {
      detail = *refusal;
      return Edit_refusal::subtone_refused;
    }
    entry.pick = *pick;
  } else {
    const Flag_column& f = flag_column(c);
    if (text != without_leading_blanks(f.set_text) &&
        text != without_leading_blanks(f.clear_text)) {
      return Edit_refusal::not_a_cell_text;
    }
  }
  // The value differs from the cell (assign checked), so one click on a flag cell shows it.
  click_cell(ws_.image, ws_.state, c, n - 1, entry);
  if (entry.out_of_band) return Edit_refusal::out_of_band;
  if (entry.tone_refusal) {
    detail = *entry.tone_refusal;
    return Edit_refusal::subtone_refused;
  }
  refresh();
  if ((c == 1 || c == 3) && channel_frequency(ws_.image, n, c == 1 ? Side::rx : Side::tx,
                                              ws_.state.coding_version) != entry.frequency_hz) {
    detail = view_.rows[n - 1].cells[c];
  }
  return std::nullopt;
}

std::optional<Edit_refusal> Parameter_editor::assign_setting(int slot, std::string_view value) {
  const auto item = find_item(shown_setting_items(view_, slot), value);
  if (!item) return Edit_refusal::not_a_list_item;
  if (view_.settings.selection[slot] == item) return std::nullopt;
  ws_.state.modified = true;
  if (slot == squelch_key_slot) {
    squelch_key_change(ws_.image, *item);
  } else if (slot == power_select_slot) {
    power_select_change(ws_.image, view_.settings.squelch_form,
                        view_.settings.selection[squelch_key_slot], *item);
  } else {
    write_setting(ws_.image, slot, *item);
  }
  refresh();
  return std::nullopt;
}

std::optional<Edit_refusal> Parameter_editor::assign_memo(std::string_view value,
                                                          std::string& detail) {
  const auto bytes = free_text_bytes(value);
  if (!bytes) return Edit_refusal::not_in_code_page;
  if (bytes->size() > static_cast<std::size_t>(mem::free_text_size)) {
    detail = std::to_string(bytes->size());
    return Edit_refusal::text_too_long;
  }
  const Param_image before = ws_.image;
  set_dop_dat(ws_.image, *bytes);
  refresh();
  if (view_.extra.free_text != with_line_feeds(value)) {
    // A final "я" is the byte 0xFF, which reads as erased memory when it fills the last place.
    detail = view_.extra.free_text;
    ws_.image = before;
    refresh();
    return Edit_refusal::text_not_kept;
  }
  return std::nullopt;
}

std::vector<Assignment_outcome> apply_assignments(
    Workspace& ws, const std::vector<std::pair<std::string, std::string>>& assignments) {
  const std::string squelch_key = "osn" + std::to_string(squelch_key_slot + 1);
  Parameter_editor editor(ws);
  std::vector<Assignment_outcome> outcomes;
  for (const auto& [name, value] : assignments) {
    if (name != squelch_key) outcomes.push_back(editor.assign(name, value));
  }
  for (const auto& [name, value] : assignments) {
    if (name == squelch_key) outcomes.push_back(editor.assign(name, value));
  }
  return outcomes;
}

}  // namespace tirna
