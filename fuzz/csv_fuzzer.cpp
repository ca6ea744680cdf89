// libFuzzer target: any text as a CSV channel table imported into a parameter file and pasted
// into the channel table. A refused table leaves the image exactly as it was; an accepted one
// gives an image whose own export imports back without any change.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/files/channel_csv.h"
#include "core/files/file_commands.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace tirna;
  // The first byte chooses the file's band and coding, so that both codings are fuzzed.
  Workspace ws = start_up_workspace();
  if (size > 0) {
    ws.state.coding_version = (data[0] & 1) ? 4 : 2;
    change_band(ws, (data[0] >> 1) & 1);
  }
  const std::string_view text(reinterpret_cast<const char*>(data) + (size > 0), size - (size > 0));
  const Param_image before = ws.image;
  // The table's Paste goes the same steps: refused, it leaves the image as it was.
  Param_image pasted = before;
  const int first_channel = 1 + static_cast<int>(size % 16);
  if (!paste_channels_csv(pasted, ws.state, text, first_channel).ok()) {
    FUZZ_CHECK(pasted == before);
  }
  const Csv_import_result result = import_channels_csv(ws.image, ws.state, text);
  if (!result.ok()) {
    FUZZ_CHECK(ws.image == before);
    return 0;
  }
  const Param_image imported = ws.image;
  const Csv_import_result again =
      import_channels_csv(ws.image, ws.state, export_channels_csv(ws.image, ws.state.coding_version));
  FUZZ_CHECK(again.ok());
  FUZZ_CHECK(ws.image == imported);
  return 0;
}
