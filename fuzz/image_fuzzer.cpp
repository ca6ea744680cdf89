// libFuzzer target: any bytes as a parameter file, shown and edited as the window would.
// The first 1536 bytes replace the start of a default parameter file (so short inputs are still
// whole images); bytes past 1536 drive a sequence of edits.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/channels/channel_edits.h"
#include "core/channels/frequency_entry.h"
#include "core/channels/subtone_entry.h"
#include "core/channels/window_view.h"
#include "core/files/file_commands.h"
#include "core/image/frequency.h"
#include "core/pages/extra_data.h"
#include "core/report/report_params.h"
#include "fuzz_support.h"

namespace {

using namespace tirna;

using fuzz::Byte_source;

class Fuzz_dialogs : public Cell_dialogs, public Frequency_dialog, public Subtone_dialog {
 public:
  Fuzz_dialogs(Workspace& ws, Byte_source& in) : ws_(ws), in_(in) {}
  void in_frq(int n, Side side) override { tirna::in_frq(ws_.image, ws_.state, n, side, *this); }
  void in_tone(int n, Side side) override { tirna::in_tone(ws_.image, n, side, tone_, *this); }
  int64_t ask_frequency(Side) override {
    std::string text;
    for (int i = in_.next() % 11; i > 0; --i) {
      if (auto c = frequency_key_filter(static_cast<char>(in_.next()), text); c && *c != '\b') {
        text += *c;
      }
    }
    return parse_frequency_text(text).value_or(0);
  }
  void show_out_of_band() override {}
  bool ask_subtone(Side, Subtone_dialog_state& s) override {
    s.set_choice(in_.next() % 3);
    const uint8_t pick = in_.next();
    if (pick & 0x80) {
      s.ctcss_text = std::string(pick % 7, static_cast<char>(in_.next()));
      s.dcs_text = std::string(pick % 5, static_cast<char>(in_.next()));
    } else {
      s.select_ctcss(pick % 38);
      s.select_dcs(pick % 83);
    }
    s.inverted = in_.next() & 1;
    return in_.next() & 1;
  }
  void show_refused(const std::string&) override {}

 private:
  Workspace& ws_;
  Byte_source& in_;
  Subtone_dialog_state tone_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Workspace ws = start_up_workspace();
  std::string file = image_file_bytes(ws.image);
  const std::size_t image_part = size < file.size() ? size : file.size();
  file.replace(0, image_part, reinterpret_cast<const char*>(data), image_part);

  // Open as the window does, then show.
  ws.image = image_from_file_bytes(reinterpret_cast<const uint8_t*>(file.data()));
  ws.state.coding_version = coding_version_of(ws.image);
  frq_set(ws.state, band_index_of(ws.image));
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  (void)report_parameters(view);

  Byte_source edits{data, size, image_part};
  Fuzz_dialogs dialogs(ws, edits);
  while (!edits.empty()) {
    const uint8_t op = edits.next();
    switch (op % 8) {
      case 0:
        click_cell(ws.image, ws.state, edits.next() % 10, edits.next() % 17, dialogs);
        break;
      case 1:
        toggle_channel_off(ws.image, edits.next() % 16 + 1, edits.next() & 1);
        break;
      case 2:
        toggle_tx_inhibit(ws.image, edits.next() % 16 + 1, edits.next() & 1);
        break;
      case 3: {
        const int slot = edits.next() % settings_count;
        const int count =
            static_cast<int>(setting_items(slot, view.settings.squelch_form_of(slot)).size());
        const int item = edits.next() % count;
        if (slot == power_select_slot) {
          power_select_change(ws.image, view.settings.squelch_form,
                              view.settings.selection[squelch_key_slot], item);
        } else if (slot == squelch_key_slot) {
          squelch_key_change(ws.image, item);
        } else {
          write_setting(ws.image, slot, item);
        }
        break;
      }
      case 4:
        (op & 0x80) ? cod_new(ws.image) : cod_old(ws.image);
        break;
      case 5:
        change_band(ws, edits.next() & 1);
        break;
      case 6: {
        std::string text;
        for (int i = edits.next(); i > 0; --i) text += static_cast<char>(edits.next());
        if (auto bytes = free_text_bytes(text)) set_dop_dat(ws.image, *bytes);
        set_dop_dat(ws.image, text);
        break;
      }
      case 7:
        set_time(ws.image, [] { return Local_time{2026, 12, 9, 23, 59, 59}; });
        break;
    }
    print_wind_blok(view, ws.image, ws.state);
  }
  (void)report_parameters(view);
  return 0;
}
