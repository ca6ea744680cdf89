#pragma once
// Texts that several front ends show the same way.

#include <string>
#include <string_view>

namespace tirna {

inline constexpr std::string_view app_title = "ПО Тирна-520";
inline constexpr std::string_view window_title = "ПО Тирна-520   Версия 1.3";
inline constexpr std::string_view version_text = "Версия 1.3";

// The application's error box adds a full stop when the text ends in a character that comes after
// "." in code page 1251 (a letter, a digit, ...). Input and output are UTF-8.
std::string with_full_stop(std::string_view text);

}  // namespace tirna
