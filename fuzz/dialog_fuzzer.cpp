// libFuzzer target: any keys typed into the frequency dialog and any texts in the sub-tone
// dialog's lists. The field holds only what its filter lets in and parses within bounds; a
// refused sub-tone leaves the record exactly as it was, an accepted one changes only the type
// bits and the two value bytes of its side.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/channels/frequency_entry.h"
#include "core/channels/subtone_entry.h"
#include "core/files/file_commands.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace tirna;
  fuzz::Byte_source in{data, size};

  std::string field;
  for (int keys = in.next() % 16; keys > 0; --keys) {
    const auto c = frequency_key_filter(static_cast<char>(in.next()), field);
    if (!c) continue;
    if (*c == '\b') {
      if (!field.empty()) field.pop_back();
    } else if (field.size() < frequency_field_max_length) {
      field += *c;
    }
  }
  FUZZ_CHECK(field.find_first_not_of("0123456789,") == std::string::npos);
  if (const auto hz = parse_frequency_text(field)) FUZZ_CHECK(*hz >= 0);
  (void)parse_frequency_text(in.text(20));  // pasted text

  Workspace ws = start_up_workspace();
  const int n = in.next() % channel_count + 1;
  const Side side = (in.next() & 1) ? Side::tx : Side::rx;
  Subtone_dialog_state state;
  preselect_subtone(state, ws.image, n, side);
  state.set_choice(in.next() % 3);
  state.ctcss_text = in.text(8);
  state.dcs_text = in.text(6);
  state.inverted = in.next() & 1;
  const Channel_record_bytes before = channel_record(ws.image, n);
  const auto refusal = accept_subtone(ws.image, n, side, state);
  const Channel_record_bytes after = channel_record(ws.image, n);
  if (refusal) {
    FUZZ_CHECK(after == before);
  } else {
    const int control = side == Side::rx ? 2 : 7;
    for (int i = 0; i < 16; ++i) {
      if (i == control) {
        FUZZ_CHECK((after[i] & 0x8F) == (before[i] & 0x8F));
      } else if (i != control + 1 && i != control + 2) {
        FUZZ_CHECK(after[i] == before[i]);
      }
    }
  }
  if (auto pick = subtone_pick_from_text(in.text(16))) (void)refusal_of_cut_text(*pick);
  return 0;
}
