#include "platform/programming_journal.h"

#include <pwd.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QString>
#include <QSysInfo>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/pages/extra_data.h"
#include "platform/files/safe_file.h"
#include "platform/install_paths.h"

namespace tirna {

std::string sha256_hex(std::string_view bytes) {
  return QCryptographicHash::hash(
             QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
             QCryptographicHash::Sha256)
      .toHex()
      .toStdString();
}

std::string image_sha256(const Param_image& image) {
  return sha256_hex(memory_bytes(image));
}

char locale_list_separator() {
  const char* current = std::setlocale(LC_NUMERIC, nullptr);
  const std::string previous = current != nullptr ? current : "C";
  std::setlocale(LC_NUMERIC, "");
  const char* mark = std::localeconv()->decimal_point;
  const char separator = mark != nullptr && std::string_view(mark) == "," ? ';' : ',';
  std::setlocale(LC_NUMERIC, previous.c_str());
  return separator;
}

std::string default_journal_path() {
  const std::string folder = user_program_folder();
  return folder.empty() ? std::string() : folder + "/journal.csv";
}

Programming_journal::Programming_journal(std::string path)
    : is_default_(path.empty()),
      writer_(safe_files(), is_default_ ? default_journal_path() : std::move(path), sha256_hex,
              locale_list_separator()) {}

Journal_row Programming_journal::row(std::string command) const {
  Journal_row r;
  r.time = system_local_time();
  r.station = QSysInfo::machineHostName().toStdString();
  const char* user = std::getenv("USER");
  if (user == nullptr || user[0] == '\0') user = std::getenv("LOGNAME");
  if (user == nullptr || user[0] == '\0') {
    const passwd* entry = ::getpwuid(::geteuid());
    user = entry != nullptr ? entry->pw_name : "";
  }
  r.user = user;
  r.command = std::move(command);
  return r;
}

std::optional<std::string> Programming_journal::prepare() {
  if (path().empty()) return std::string("journal: no home folder ($HOME) to keep it in.");
  if (is_default_) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path()).parent_path(), error);
  }
  return std::nullopt;
}

std::optional<std::string> Programming_journal::open(Journal_contents* contents) {
  if (auto failure = prepare()) return failure;
  return writer_.open(contents);
}

std::optional<std::string> Programming_journal::start() {
  if (auto failure = prepare()) return failure;
  return writer_.start();
}

std::optional<std::string> Programming_journal::append(const Journal_row& row) {
  if (auto failure = prepare()) return failure;
  return writer_.append(row);
}

}  // namespace tirna
