#include "core/channels/channel_fields.h"

#include "core/channels/channel_edits.h"
#include "core/channels/frequency_entry.h"
#include "core/channels/subtone_entry.h"
#include "core/image/frequency.h"
#include "core/image/subtone.h"

namespace tirna {
namespace {

Tone_setting read_tone(const Param_image& image, int n, Side side) {
  Tone_setting t;
  const Subtone_reading r = read_subtone(image, n, side);
  if (r.type == subtone::ctcss) {
    t.kind = Tone_setting::ctcss;
    t.tenths = ctcss_tenths(subtone_value(image, n, side));
  } else if (r.type == subtone::dcs || r.type == subtone::dcs_inverted) {
    t.kind = Tone_setting::dcs;
    t.code = dcs_number(subtone_value(image, n, side));
    t.inverted = r.type == subtone::dcs_inverted;
  }
  return t;
}

// The sub-tone dialog picking the tone and accepting; its refusal message, if any.
std::optional<std::string> store_tone(Param_image& image, int n, Side side, const Tone_setting& t) {
  Subtone_pick pick;
  if (t.kind == Tone_setting::ctcss)
    pick = {Subtone_dialog_state::ctc, ctcss_text(t.tenths), false};
  if (t.kind == Tone_setting::dcs)
    pick = {Subtone_dialog_state::dcs, dcs_code_text(t.code), t.inverted};
  if (auto refusal = refusal_of_cut_text(pick)) return refusal;
  Subtone_dialog_state dialog;
  preselect_subtone(dialog, image, n, side);
  make_pick(dialog, pick);
  return accept_subtone(image, n, side, dialog);
}

}  // namespace

std::string dcs_code_text(int code) {
  const std::string digits = std::to_string(code);
  return std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

Channel_fields read_channel_fields(const Param_image& image, int n, uint8_t coding_version) {
  Channel_fields f;
  f.in_use = channel_in_use(image, n);
  f.tx_allowed = tx_allowed(image, n);
  f.rx_hz = channel_frequency(image, n, Side::rx, coding_version);
  f.tx_hz = channel_frequency(image, n, Side::tx, coding_version);
  f.rx_tone = read_tone(image, n, Side::rx);
  f.tx_tone = read_tone(image, n, Side::tx);
  f.narrow = channel_flag(image, n, Channel_flag::narrow);
  f.no_scan = channel_flag(image, n, Channel_flag::no_scan);
  f.low_power = channel_flag(image, n, Channel_flag::low_power);
  f.busy_lockout = channel_flag(image, n, Channel_flag::busy_lockout);
  return f;
}

std::vector<Field_problem> store_channel_fields(Param_image& image, const Working_state& state,
                                                int n, const Channel_fields& wanted) {
  const Channel_fields now = read_channel_fields(image, n, state.coding_version);
  std::vector<Field_problem> problems;
  if (wanted.rx_hz != now.rx_hz &&
      !store_entered_frequency(image, state, n, Side::rx, wanted.rx_hz)) {
    problems.push_back({Field_problem::rx_frequency, ""});
  }
  if (wanted.tx_hz != now.tx_hz &&
      !store_entered_frequency(image, state, n, Side::tx, wanted.tx_hz)) {
    problems.push_back({Field_problem::tx_frequency, ""});
  }
  if (!(wanted.rx_tone == now.rx_tone)) {
    if (auto message = store_tone(image, n, Side::rx, wanted.rx_tone)) {
      problems.push_back({Field_problem::rx_tone, *message});
    }
  }
  if (!(wanted.tx_tone == now.tx_tone)) {
    if (auto message = store_tone(image, n, Side::tx, wanted.tx_tone)) {
      problems.push_back({Field_problem::tx_tone, *message});
    }
  }
  const std::pair<bool Channel_fields::*, Channel_flag> flags[] = {
      {&Channel_fields::narrow, Channel_flag::narrow},
      {&Channel_fields::no_scan, Channel_flag::no_scan},
      {&Channel_fields::low_power, Channel_flag::low_power},
      {&Channel_fields::busy_lockout, Channel_flag::busy_lockout},
  };
  for (const auto& [field, flag] : flags) {
    if (wanted.*field != now.*field) toggle_channel_flag(image, n, flag);
  }
  if (wanted.tx_allowed != now.tx_allowed) toggle_tx_inhibit(image, n, !wanted.tx_allowed);
  if (wanted.in_use != now.in_use) toggle_channel_off(image, n, !wanted.in_use);
  return problems;
}

}  // namespace tirna
