#include "core/text/messages.h"

#include "core/text/cp1251.h"

namespace tirna {

std::string with_full_stop(std::string_view text) {
  std::string out(text);
  if (text.empty()) return out;
  // Find the start of the last UTF-8 character.
  std::size_t start = text.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
  const std::string last = utf8_to_cp1251_lossy(text.substr(start));
  if (!last.empty() && static_cast<unsigned char>(last[0]) > '.') out += '.';
  return out;
}

}  // namespace tirna
