#pragma once
// Code page 1251: the single-byte encoding of every text stored in the radio memory, in parameter
// files and in config.ini. Inside the program texts are UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tirna {

// Every byte maps to exactly one character; 0x98 (unassigned in the code page) maps to U+0098 so
// that any byte string survives a round trip.
std::string cp1251_to_utf8(std::string_view bytes);
std::string cp1251_to_utf8(const uint8_t* bytes, std::size_t count);

// nullopt when the text holds a character that code page 1251 cannot store, or is not valid UTF-8.
std::optional<std::string> utf8_to_cp1251(std::string_view utf8);

// Converts what it can and puts '?' for the rest; for texts whose loss is acceptable (window
// titles, logs). Stored data goes through utf8_to_cp1251 instead.
std::string utf8_to_cp1251_lossy(std::string_view utf8);

// The code-page-1251 byte of one Unicode character, or nullopt.
std::optional<uint8_t> cp1251_byte(char32_t c);

}  // namespace tirna
