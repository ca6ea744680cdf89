#include "cli/terminal_output.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <streambuf>

namespace tirna::cli {
namespace {

// Passes every character on to the stream's own buffer at once (so that raw writes in between
// keep their place), control characters escaped.
class Escaping_buffer : public std::streambuf {
 public:
  explicit Escaping_buffer(std::streambuf* to) : to_(to) {}
  std::streambuf* target() const { return to_; }

 protected:
  int_type overflow(int_type ch) override {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    return put(traits_type::to_char_type(ch)) ? ch : traits_type::eof();
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    std::streamsize from = 0;
    for (std::streamsize i = 0; i < n; ++i) {
      if (!plain(s[i])) {
        if (i > from && to_->sputn(s + from, i - from) != i - from) return from;
        if (!put(s[i])) return i;
        from = i + 1;
      }
    }
    if (n > from && to_->sputn(s + from, n - from) != n - from) return from;
    return n;
  }
  int sync() override { return to_->pubsync(); }

 private:
  static bool plain(char c) {
    const auto u = static_cast<unsigned char>(c);
    return c == '\n' || (u >= 0x20 && u != 0x7F);
  }
  bool put(char c) {
    if (plain(c)) return !traits_type::eq_int_type(to_->sputc(c), traits_type::eof());
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned char>(c));
    return to_->sputn(text, 6) == 6;
  }

  std::streambuf* to_;
};

std::unique_ptr<Escaping_buffer> out_filter, err_filter;
std::ostream raw_out_stream(std::cout.rdbuf());
std::ostream raw_err_stream(std::cerr.rdbuf());

}  // namespace

Terminal_escaping::Terminal_escaping() {
  out_filter = std::make_unique<Escaping_buffer>(std::cout.rdbuf());
  err_filter = std::make_unique<Escaping_buffer>(std::cerr.rdbuf());
  raw_out_stream.rdbuf(out_filter->target());
  raw_err_stream.rdbuf(err_filter->target());
  std::cout.rdbuf(out_filter.get());
  std::cerr.rdbuf(err_filter.get());
}

Terminal_escaping::~Terminal_escaping() {
  std::cout.flush();
  std::cerr.flush();
  std::cout.rdbuf(out_filter->target());
  std::cerr.rdbuf(err_filter->target());
  out_filter.reset();
  err_filter.reset();
}

std::ostream& raw_out() {
  return raw_out_stream;
}

std::ostream& raw_err() {
  return raw_err_stream;
}

}  // namespace tirna::cli
