#include "core/text/messages.h"

#include "core/text/cp1251.h"
#include "core/text/format.h"

namespace tirna {

std::string with_full_stop(std::string_view text) {
  std::string out(text);
  if (text.empty()) return out;
  const std::string last = utf8_to_cp1251_lossy(utf8_characters(text).back());
  if (!last.empty() && static_cast<unsigned char>(last[0]) > '.') out += '.';
  return out;
}

}  // namespace tirna
