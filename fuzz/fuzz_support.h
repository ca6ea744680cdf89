#pragma once
// What the fuzz targets share: reading the input as a stream of choices, and a check that makes a
// broken promise a crash libFuzzer reports.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tirna::fuzz {

struct Byte_source {
  const uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  bool empty() const { return at >= size; }
  uint8_t next() { return at < size ? data[at++] : 0; }
  // A text of up to max bytes, its length taken from the input.
  std::string text(std::size_t max) {
    std::string out;
    for (std::size_t n = next() % (max + 1); n > 0 && !empty(); --n) out += static_cast<char>(next());
    return out;
  }
};

[[noreturn]] inline void broken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
  std::abort();
}

}  // namespace tirna::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::tirna::fuzz::broken(#condition, __FILE__, __LINE__))
