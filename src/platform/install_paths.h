#pragma once
// Where the installed program keeps what is not in its program folder: the shared files beside
// its executable (<prefix>/share/tirna520, with the help file), and the program folder of a user
// who starts it from the menu ($XDG_DATA_HOME/tirna520, else ~/.local/share/tirna520), where
// config.ini and the Save folder live.

#include <string>

namespace tirna {

// <the executable's folder>/../share/tirna520 when it exists (the program is installed); empty
// when the program runs from its build tree or a folder of its own.
std::string installed_share_folder();

// $XDG_DATA_HOME/tirna520 (an absolute $XDG_DATA_HOME), else $HOME/.local/share/tirna520; empty
// without either.
std::string user_program_folder();

// The help file: the one in the program folder, else the installed one, else the program
// folder's (so that the viewer names the file it looked for).
std::string help_file_path(const std::string& program_folder);

}  // namespace tirna
