#include "core/channels/subtone_entry.h"

#include <vector>

#include "core/image/subtone.h"
#include "core/text/format.h"

namespace tirna {
namespace {

std::optional<int> digit(std::string_view ch, char highest = '9') {
  if (ch.size() != 1 || ch[0] < '0' || ch[0] > highest) return std::nullopt;
  return ch[0] - '0';
}

template <std::size_t N>
int index_of(const std::array<std::string_view, N>& list, std::string_view text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (list[i] == text) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

std::string subtone_refusal(std::string_view text) {
  return "«" + std::string(text) + "» не является допустимым значением субтона.";
}

std::optional<std::string> refusal_of_cut_text(const Subtone_pick& pick) {
  const std::size_t kept = pick.choice == Subtone_dialog_state::ctc   ? ctcss_text_max_length
                           : pick.choice == Subtone_dialog_state::dcs ? dcs_text_length
                                                                      : 0;
  if (kept != 0 && utf8_characters(pick.text).size() > kept) return subtone_refusal(pick.text);
  return std::nullopt;
}

void Subtone_dialog_state::select_ctcss(int index) {
  ctcss_index = index;
  ctcss_text = std::string(ctcss_list[index]);
}

void Subtone_dialog_state::select_dcs(int index) {
  dcs_index = index;
  dcs_text = std::string(dcs_list[index]);
}

void Subtone_dialog_state::set_choice(int new_choice) {
  choice = new_choice;
  ctcss_enabled = choice == ctc;
  dcs_enabled = choice == dcs;
  inverted_enabled = choice == dcs;
}

std::optional<Subtone_pick> subtone_pick_from_text(std::string_view shown) {
  const std::size_t start = shown.find_first_not_of(' ');
  shown = start == std::string_view::npos ? std::string_view{} : shown.substr(start);
  if (shown == "Выключен") return Subtone_pick{};
  // The keyword, one or more blanks, then the tone or code as the dialog's list would hold it.
  const auto after = [&](std::string_view keyword) -> std::optional<std::string> {
    if (shown.substr(0, keyword.size()) != keyword) return std::nullopt;
    const std::string_view rest = shown.substr(keyword.size());
    const std::size_t text = rest.find_first_not_of(' ');
    if (text == 0 || text == std::string_view::npos) return std::nullopt;
    return std::string(rest.substr(text));
  };
  if (auto text = after("CTC")) return Subtone_pick{Subtone_dialog_state::ctc, *text, false};
  if (auto text = after("DCS")) return Subtone_pick{Subtone_dialog_state::dcs, *text, false};
  if (auto text = after("-DCS")) return Subtone_pick{Subtone_dialog_state::dcs, *text, true};
  return std::nullopt;
}

void make_pick(Subtone_dialog_state& state, const Subtone_pick& pick) {
  state.set_choice(pick.choice);
  if (pick.choice == Subtone_dialog_state::ctc) {
    const int i = index_of(ctcss_list, pick.text);
    state.ctcss_index = i;
    state.ctcss_text = pick.text;
  } else if (pick.choice == Subtone_dialog_state::dcs) {
    const int i = index_of(dcs_list, pick.text);
    state.dcs_index = i;
    state.dcs_text = pick.text;
    state.inverted = pick.inverted;
  }
}

void preselect_subtone(Subtone_dialog_state& s, const Param_image& image, int n, Side side) {
  const Subtone_reading r = read_subtone(image, n, side);
  switch (r.type) {
    case subtone::none:
      s.select_ctcss(0);
      s.select_dcs(0);
      s.inverted = false;
      s.set_choice(Subtone_dialog_state::off);
      break;
    case subtone::ctcss: {
      s.select_dcs(0);
      s.inverted = false;
      s.set_choice(Subtone_dialog_state::ctc);
      const int i = index_of(ctcss_list, r.ctcss);
      if (i >= 0) s.select_ctcss(i);
      break;
    }
    case subtone::dcs:
    case subtone::dcs_inverted: {
      s.select_ctcss(0);
      s.set_choice(Subtone_dialog_state::dcs);
      const int i = index_of(dcs_list, r.dcs);
      if (i >= 0) s.select_dcs(i);
      s.inverted = r.type == subtone::dcs_inverted;
      break;
    }
    default:
      break;
  }
}

std::optional<std::string> accept_subtone(Param_image& image, int n, Side side,
                                          const Subtone_dialog_state& s) {
  if (s.choice == Subtone_dialog_state::off) {
    store_subtone_none(image, n, side);
    return std::nullopt;
  }
  if (s.choice == Subtone_dialog_state::ctc) {
    const auto ch = utf8_characters(s.ctcss_text);
    if (ch.size() < 4) return subtone_refusal(s.ctcss_text);
    // "67,0": tens, units, separator, tenths; "100,0": hundreds, tens, units, separator, tenths.
    const bool three_digits = ch.size() >= 5;
    const auto a = digit(ch[0]), b = digit(ch[1]);
    const auto c = digit(ch[three_digits ? 2 : 3]);
    const auto d = three_digits ? digit(ch[4]) : std::optional<int>(0);
    if (!a || !b || !c || !d) return subtone_refusal(s.ctcss_text);
    if (three_digits) {
      store_subtone_ctcss(image, n, side, static_cast<uint8_t>(*a * 16 + *b),
                          static_cast<uint8_t>(*c * 16 + *d));
    } else {
      store_subtone_ctcss(image, n, side, static_cast<uint8_t>(*a),
                          static_cast<uint8_t>(*b * 16 + *c));
    }
    return std::nullopt;
  }
  if (s.choice == Subtone_dialog_state::dcs) {
    const auto ch = utf8_characters(s.dcs_text);
    if (ch.size() != 3) return subtone_refusal(s.dcs_text);
    const auto d1 = digit(ch[0], '7'), d2 = digit(ch[1], '7'), d3 = digit(ch[2], '7');
    if (!d1 || !d2 || !d3) return subtone_refusal(s.dcs_text);
    store_subtone_dcs(image, n, side, *d1, *d2, *d3, s.inverted);
    return std::nullopt;
  }
  return std::nullopt;
}

void in_tone(Param_image& image, int n, Side side, Subtone_dialog_state& state,
             Subtone_dialog& dialog) {
  preselect_subtone(state, image, n, side);
  if (!dialog.ask_subtone(side, state)) return;
  if (auto message = accept_subtone(image, n, side, state)) dialog.show_refused(*message);
}

}  // namespace tirna
