#include "core/channels/frequency_entry.h"

#include "core/image/frequency.h"

namespace tirna {
namespace {

bool all_digits(std::string_view s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::optional<char> frequency_key_filter(char typed, std::string_view current_text) {
  if (typed == '.') typed = ',';
  if (typed == ',') {
    if (current_text.find(',') != std::string_view::npos) return std::nullopt;
    return typed;
  }
  if ((typed >= '0' && typed <= '9') || typed == '\b') return typed;
  return std::nullopt;
}

std::optional<int64_t> parse_frequency_text(std::string_view text) {
  const std::size_t sep = text.find_first_of(".,");
  const std::string_view whole = text.substr(0, sep);
  const std::string_view fraction =
      sep == std::string_view::npos ? std::string_view{} : text.substr(sep + 1);
  if (!all_digits(whole) || !all_digits(fraction)) return std::nullopt;
  if (static_cast<int>(fraction.size()) > frequency_decimals || whole.size() > 12) {
    return std::nullopt;
  }
  int64_t hz = 0;
  if (!fraction.empty()) {
    int64_t value = std::stoll(std::string(fraction));
    for (std::size_t k = fraction.size(); k < 6; ++k) value *= 10;
    hz = value;
  }
  if (!whole.empty()) hz += std::stoll(std::string(whole)) * 1000000;
  return hz;
}

std::string_view frequency_text_refusal(std::string_view text) {
  const std::size_t sep = text.find_first_of(".,");
  if (sep == std::string_view::npos) return not_a_number_text;
  const std::string_view whole = text.substr(0, sep), fraction = text.substr(sep + 1);
  const bool digits = all_digits(whole) && all_digits(fraction) && whole.size() <= 12;
  if (digits && static_cast<int>(fraction.size()) > frequency_decimals) {
    return too_many_decimals_text;
  }
  return not_a_number_text;
}

bool store_entered_frequency(Param_image& image, const Working_state& state, int n, Side side,
                             int64_t hz) {
  if (hz > state.limits.upper || hz < state.limits.lower) return false;
  store_frequency(image, n, side, hz, state.coding_version);
  return true;
}

void in_frq(Param_image& image, const Working_state& state, int n, Side side,
            Frequency_dialog& dialog) {
  const int64_t hz = dialog.ask_frequency(side);
  if (hz == 0) return;
  if (!store_entered_frequency(image, state, n, side, hz)) dialog.show_out_of_band();
}

}  // namespace tirna
