#pragma once
// The rules of the file layer, apart from the system calls that carry them out (safe_file.cpp):
// which links a save may follow, when a file is written in place instead of replaced, which
// temporary files are left over from a killed save. Plain functions of what the calls found, so
// that every case is tested without a machine that shows it.

#include <sys/stat.h>

#include <array>
#include <ctime>
#include <string>
#include <string_view>

namespace tirna {

inline constexpr int max_link_hops = 40;
// A temporary file older than this is no save under way any more.
inline constexpr std::time_t stale_temp_age = 60;  // seconds
// A file written in place is first copied into memory; beyond this it is not the program's file.
inline constexpr off_t in_place_copy_limit = off_t{64} << 20;
// The prefix of the temporary files of a save, followed by six random letters or digits.
inline constexpr std::string_view save_temp_prefix = ".tirna520-save-";

// The folder of a path: "." for a bare name, "/" for a file in the root.
std::string folder_of(const std::string& path);
// Where a link at link_path that holds target leads.
std::string link_destination(const std::string& link_path, const std::string& target);

// The rule of the kernel's protected_symlinks, and no link of a third user anywhere: a save may go
// through a link the user (me) or root owns; in a world-writable sticky folder only through one
// of the user or of the folder's owner.
bool may_follow_link(uid_t me, const struct stat& link, const struct stat& folder);

// A rename gives the file a new owner: a save replaces the file by a renamed temporary file only
// when the file is new, the user owns it, or the user is root (who can give it back). Otherwise
// it writes the file in place, keeping owner, group, permissions and links.
bool rename_keeps_owner(uid_t me, bool exists, uid_t owner);
// The errors after which a write in place still can keep the file: the folder refuses the new
// file or the rename, or the file's group cannot be given to the new one.
bool in_place_can_help(int err);

// The name of a temporary file from six random bytes.
std::string temporary_name(const std::array<unsigned char, 6>& random);
// A temporary file of a save that was killed: the user's own regular file with the name of one,
// older than stale_temp_age.
bool stale_temporary(std::string_view name, const struct stat& st, uid_t me, std::time_t now);

// The file opened is not the regular file that was looked at (it was swapped in between).
bool swapped(const struct stat& opened, const struct stat& looked_at);

}  // namespace tirna
