#include "platform/files/save_policy.h"

#include <cerrno>

namespace tirna {

std::string folder_of(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string link_destination(const std::string& link_path, const std::string& target) {
  return target.front() == '/' ? target : folder_of(link_path) + "/" + target;
}

bool may_follow_link(uid_t me, const struct stat& link, const struct stat& folder) {
  if (link.st_uid != me && link.st_uid != 0) return false;
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == me || link.st_uid == folder.st_uid;
}

bool rename_keeps_owner(uid_t me, bool exists, uid_t owner) {
  return !exists || me == 0 || owner == me;
}

bool in_place_can_help(int err) {
  return err == EACCES || err == EPERM || err == EROFS;
}

std::string temporary_name(const std::array<unsigned char, 6>& random) {
  static constexpr char letters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string name(save_temp_prefix);
  for (unsigned char r : random) name += letters[r % (sizeof letters - 1)];
  return name;
}

bool stale_temporary(std::string_view name, const struct stat& st, uid_t me, std::time_t now) {
  if (name.size() != save_temp_prefix.size() + 6 || !name.starts_with(save_temp_prefix)) {
    return false;
  }
  return S_ISREG(st.st_mode) && st.st_uid == me && st.st_mtime + stale_temp_age < now;
}

bool swapped(const struct stat& opened, const struct stat& looked_at) {
  return !S_ISREG(opened.st_mode) || opened.st_dev != looked_at.st_dev ||
         opened.st_ino != looked_at.st_ino;
}

}  // namespace tirna
