// libFuzzer target: any NAME=VALUE assignments of `set` on a parameter file. An assignment that is
// refused leaves the image as it was before it; an accepted one leaves the view showing the value
// for the cells and lists that take exactly one text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/files/file_commands.h"
#include "core/edit/parameter_edit.h"
#include "fuzz_support.h"

namespace {

// Names the fuzzer likes to hit: a real one most of the time, else any text.
std::string name_from(tirna::fuzz::Byte_source& in) {
  static const char* prefixes[] = {"no_kan", "no_tx", "f_rx", "st_rx", "f_tx", "st_tx", "pow",
                                   "band",   "skan",  "busy", "osn",   "memo", "frq",   "model"};
  const uint8_t pick = in.next();
  if (pick & 0x80) return in.text(12);
  return std::string(prefixes[pick % 14]) + std::to_string(in.next() % 18);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace tirna;
  fuzz::Byte_source in{data, size};
  Workspace ws = start_up_workspace();
  if (in.next() & 1) change_band(ws, 1);
  Parameter_editor editor(ws);
  while (!in.empty()) {
    const std::string name = name_from(in);
    const std::string value = in.text(24);
    const Param_image before = ws.image;
    const Assignment_outcome outcome = editor.assign(name, value);
    if (outcome.refusal) FUZZ_CHECK(ws.image == before);
  }
  return 0;
}
