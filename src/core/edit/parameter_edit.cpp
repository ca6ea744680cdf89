#include "core/edit/parameter_edit.h"

#include <array>

#include "core/channels/channel_edits.h"
#include "core/channels/frequency_entry.h"
#include "core/image/frequency.h"
#include "core/pages/extra_data.h"
#include "core/pages/settings.h"
#include "core/report/report_params.h"
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

}  // namespace

// The dialogs a cell click opens, answered with one prepared entry: a frequency in Hz for the
// frequency dialog, a pick for the sub-tone dialog. Records what the dialogs told the user.
class Prepared_entry : public Frequency_dialog, public Subtone_dialog {
 public:
  int64_t frequency_hz = 0;
  Subtone_pick pick;
  bool out_of_band = false;
  std::optional<std::string> tone_refusal;

 private:
  int64_t ask_frequency(Side) override { return frequency_hz; }
  void show_out_of_band() override { out_of_band = true; }
  bool ask_subtone(Side, Subtone_dialog_state& state) override {
    make_pick(state, pick);
    return true;
  }
  void show_refused(const std::string& message) override { tone_refusal = message; }
};

namespace {

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
  return shown_parameter_text(view, *p.parameter, p.number, view.extra.free_text);
}

}  // namespace

std::optional<Parameter_name> parse_parameter_name(std::string_view name) {
  for (const Parameter& p : catalogue) {
    const bool per_channel =
        p.kind == Parameter_kind::channel_box || p.kind == Parameter_kind::channel_cell;
    if (!per_channel) {
      if (name != p.name) continue;
      int number = 0;
      if (p.kind == Parameter_kind::setting) {
        for (int slot = 0; slot < settings_count; ++slot) {
          if (&setting_entry(slot) == &p) number = slot + 1;
        }
      }
      return Parameter_name{&p, number};
    }
    if (!name.starts_with(p.name)) continue;
    if (auto n = small_number(name.substr(p.name.size()), channel_count)) {
      return Parameter_name{&p, *n};
    }
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
  tirna::print_wind_blok(view_, ws_.image, ws_.state);
}

void Parameter_editor::in_frq(int n, Side side) {
  tirna::in_frq(ws_.image, ws_.state, n, side, *entry_);
}

void Parameter_editor::in_tone(int n, Side side) {
  tirna::in_tone(ws_.image, n, side, tone_dialog_, *entry_);
}

Assignment_outcome Parameter_editor::assign(std::string_view name, std::string_view value) {
  Assignment_outcome out;
  out.name = name;
  out.value = value;
  const auto p = parse_parameter_name(name);
  if (!p) {
    out.refusal = Edit_refusal::unknown_name;
    return out;
  }
  const Parameter_kind kind = p->kind();
  if (kind == Parameter_kind::model || kind == Parameter_kind::factory_number ||
      kind == Parameter_kind::band) {
    out.refusal = Edit_refusal::read_only;
    return out;
  }
  const std::string shown = shown_text(view_, *p);
  const bool same = kind == Parameter_kind::channel_cell
                        ? without_leading_blanks(value) == without_leading_blanks(shown)
                    : kind == Parameter_kind::free_text ? with_line_feeds(value) == shown
                                                        : value == shown;
  if (same) return out;

  switch (kind) {
    case Parameter_kind::channel_box:
      out.refusal = assign_box(*p, value);
      break;
    case Parameter_kind::channel_cell:
      out.refusal = assign_cell(*p, value, out.detail);
      break;
    case Parameter_kind::setting:
      out.refusal = assign_setting(p->number - 1, value);
      break;
    case Parameter_kind::free_text:
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
  const bool tx_box = p.column() == 1;
  const Channel_row_view& row = view_.rows[p.number - 1];
  if (tx_box && !row.tx_box_enabled) return Edit_refusal::channel_off;
  // The focus entering the box counts as an edit; the toggle itself does not.
  apply_edit(ws_, view_, Edit::focus(), *this);
  apply_edit(ws_, view_, Edit::toggle(tx_box ? 20 + p.number : p.number, ticked), *this);
  return std::nullopt;
}

std::optional<Edit_refusal> Parameter_editor::assign_cell(const Parameter_name& p,
                                                          std::string_view value,
                                                          std::string& detail) {
  const int n = p.number;
  const int c = p.column();
  switch (cell_block(ws_.image, c, n)) {
    case Cell_block::channel_off:
      return Edit_refusal::channel_off;
    case Cell_block::tx_inhibited:
      return Edit_refusal::tx_inhibited;
    case Cell_block::none:
      break;
  }
  const std::string_view text = without_leading_blanks(value);
  Prepared_entry entry;
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
  entry_ = &entry;
  apply_edit(ws_, view_, Edit::click(c, n - 1), *this);
  entry_ = nullptr;
  if (entry.out_of_band) return Edit_refusal::out_of_band;
  if (entry.tone_refusal) {
    detail = *entry.tone_refusal;
    return Edit_refusal::subtone_refused;
  }
  if ((c == 1 || c == 3) && channel_frequency(ws_.image, n, c == 1 ? Side::rx : Side::tx,
                                              ws_.state.coding_version) != entry.frequency_hz) {
    detail = view_.rows[n - 1].cells[c];
  }
  return std::nullopt;
}

std::optional<Edit_refusal> Parameter_editor::assign_setting(int slot, std::string_view value) {
  const auto item = find_item(shown_setting_items(view_, slot), value);
  if (!item) return Edit_refusal::not_a_list_item;
  // `set` changes nothing for the item already shown (the window's pick would rewrite its code).
  if (view_.settings.selection[slot] == item) return std::nullopt;
  apply_edit(ws_, view_, Edit::pick(slot, *item), *this);
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
  const std::string squelch_key(setting_entry(squelch_key_slot).name);
  const Param_image before = ws.image;
  Parameter_editor editor(ws);
  std::vector<Assignment_outcome> outcomes;
  for (const auto& [name, value] : assignments) {
    if (name != squelch_key) outcomes.push_back(editor.assign(name, value));
  }
  for (const auto& [name, value] : assignments) {
    if (name == squelch_key) outcomes.push_back(editor.assign(name, value));
  }
  // The one check of every channel the assignments changed: a channel switched on, say, carries
  // whatever frequency the file held for it.
  for (const Channel_fault& fault : edit_faults(before, ws.image, ws.state)) {
    Assignment_outcome* last = nullptr;
    for (Assignment_outcome& o : outcomes) {
      const auto p = parse_parameter_name(o.name);
      const bool of_channel =
          p && (p->kind() == Parameter_kind::channel_box || p->kind() == Parameter_kind::channel_cell);
      if (!o.refusal && of_channel && p->number == fault.channel) {
        last = &o;
      }
    }
    if (last == nullptr) {
      outcomes.emplace_back();
      last = &outcomes.back();
      last->name = "no_kan" + std::to_string(fault.channel);
    }
    last->refusal = Edit_refusal::channel_refused;
    last->fault = fault;
  }
  return outcomes;
}

}  // namespace tirna
