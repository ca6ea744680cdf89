#pragma once
// Backups of a radio's memory before a write: one new parameter file per backup, named after the
// radio's factory number and the moment, never written over another file.

#include <string>
#include <string_view>
#include <variant>

#include "core/files/param_file.h"
#include "core/pages/extra_data.h"

namespace tirna {

// Stands for the factory number in the name when the radio has none.
inline constexpr std::string_view no_factory_number = "no-number";

// The factory number (UTF-8) as a part of a file name: blanks around it dropped; path separators,
// characters that other systems refuse in file names (\ : * ? " < > |), control characters and
// inner blanks replaced by "_", as is a leading "." or "-" (a hidden file, an option); empty:
// no_factory_number.
std::string factory_number_part(std::string_view factory_number);

// "<factory number part>-<YYYYMMDD-HHMMSS>.tn5"; from the second try on, "-2", "-3", ... before
// ".tn5".
std::string backup_file_name(std::string_view factory_number, const Local_time& t, int attempt = 1);

// Saves the image as a new file in folder, named by backup_file_name after the image's factory
// number and t, complete or not at all; a name already taken is never written over but takes the
// next attempt's name. The path of the backup.
std::variant<std::string, Io_error> save_backup(const File_store& files, const std::string& folder,
                                                const Param_image& image, const Local_time& t);

}  // namespace tirna
