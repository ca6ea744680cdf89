#include "core/pages/extra_data.h"

#include <cstdio>
#include <ctime>
#include <mutex>

#include "core/text/cp1251.h"

namespace tirna {
namespace {

std::string until_zero(const std::string& bytes) {
  return cp1251_to_utf8(bytes.substr(0, bytes.find('\0')));
}

std::string bytes_at(const Param_image& image, int addr, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += static_cast<char>(image.byte(addr + i));
  return s;
}

void put_digits(Param_image& image, int addr, int value, int width) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%0*d", width, value % (width == 4 ? 10000 : 100));
  for (int i = 0; i < width; ++i) image.set_byte(addr + i, static_cast<uint8_t>(buf[i]));
}

}  // namespace

std::string model_label(const Param_image& image) {
  std::string bytes;
  for (int i = 0; i < mem::model_text_size; ++i) {
    const uint8_t b = image.byte(mem::model_text + i);
    if (b != 0x00 && b != 0xFF) bytes += static_cast<char>(b);
  }
  return "Тирна-" + cp1251_to_utf8(bytes);
}

std::string factory_number_label(const Param_image& image) {
  return until_zero(bytes_at(image, mem::factory_number, mem::factory_number_size));
}

std::string time_label(const Param_image& image) {
  const int d = mem::prog_date, t = mem::prog_time;
  const std::string s = bytes_at(image, d + 6, 2) + "-" + bytes_at(image, d + 4, 2) + "-" +
                        bytes_at(image, d, 4) + "   " + bytes_at(image, t, 2) + ":" +
                        bytes_at(image, t + 2, 2) + ":" + bytes_at(image, t + 4, 2);
  return until_zero(s);
}

std::string free_text(const Param_image& image) {
  int end = mem::free_text_size;
  while (end > 0 && image.byte(mem::free_text + end - 1) == 0xFF) --end;
  std::string bytes;
  for (int p = 0; p < end; ++p) {
    const uint8_t b = image.byte(mem::free_text + p);
    if (b != 0x00) bytes += static_cast<char>(b);
  }
  // Line breaks: CR LF as stored, and a lone CR or LF as the box would show it.
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      text += '\n';
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      text += bytes[i];
    }
  }
  return cp1251_to_utf8(text);
}

Local_time system_local_time() {
  const std::time_t now = std::time(nullptr);
  // std::localtime shares one result among its callers: the ports of a fleet ask from their own
  // threads. (localtime_r, which needs no lock, is POSIX; Windows has another name for it.)
  static std::mutex shared_result;
  std::tm tm{};
  {
    const std::lock_guard lock(shared_result);
    if (const std::tm* local = std::localtime(&now)) tm = *local;
  }
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void set_time(Param_image& image, const Clock& clock) {
  const Local_time t = clock();
  put_digits(image, mem::prog_date, t.year, 4);
  put_digits(image, mem::prog_date + 4, t.month, 2);
  put_digits(image, mem::prog_date + 6, t.day, 2);
  put_digits(image, mem::prog_time, t.hour, 2);
  put_digits(image, mem::prog_time + 2, t.minute, 2);
  put_digits(image, mem::prog_time + 4, t.second, 2);
}

void set_dop_dat(Param_image& image, std::string_view text) {
  for (int p = 0; p < mem::free_text_size; ++p) {
    const uint8_t b = p < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[p]) : 0x00;
    image.set_byte(mem::free_text + p, b);
  }
}

std::string with_line_feeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::optional<std::string> free_text_bytes(std::string_view utf8_text) {
  auto bytes = utf8_to_cp1251(with_line_feeds(utf8_text));
  if (!bytes) return std::nullopt;
  std::string out;
  for (char c : *bytes) {
    if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace tirna
