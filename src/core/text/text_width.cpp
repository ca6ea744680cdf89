#include "core/text/text_width.h"

namespace tirna {

std::size_t display_width(std::string_view text) {
  std::size_t width = 0;
  for (char c : text) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return width;
}

std::string padded(std::string_view text, std::size_t width) {
  std::string out(text);
  for (std::size_t w = display_width(text); w < width; ++w) out += ' ';
  return out;
}

}  // namespace tirna
