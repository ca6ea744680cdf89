#pragma once
// Reading inputs and writing outputs of the commands: every file through the core's safe reads
// and saves, "-" for standard input and output, and the refusal of an output that is an input.

#include <initializer_list>
#include <string>
#include <string_view>

namespace tirna::cli {

// The whole input (a file, or standard input for "-"), at most limit bytes; fails with status 3
// and the file error's text.
std::string read_input_or_fail(const std::string& path, std::size_t limit);

// Saves bytes at path as every file is saved (the old file survives any failure), or writes them
// to standard output for "-"; fails with status 3.
void write_output_or_fail(const std::string& path, std::string_view bytes);

// Fails with status 3 when path could not be saved (see check_save_target), before any work is
// done for it.
void check_output_or_fail(const std::string& path);

// Fails with status 2, before anything is read, opened or sent, when the output names the same
// file as one of the inputs (by device and inode, whatever the names).
void refuse_output_over_input(const std::string& output,
                              std::initializer_list<std::string> inputs);

}  // namespace tirna::cli
