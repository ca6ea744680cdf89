#include "sim/radio_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/files/param_file.h"
#include "platform/files/safe_file.h"

namespace tirna::sim {
namespace {

namespace fs = std::filesystem;

std::variant<Param_image, Load_failure> memory_of(const std::string& path) {
  auto loaded = load_image(safe_files(), path);
  if (auto* error = std::get_if<Io_error>(&loaded)) {
    return Load_failure{1, path + ": " + error->text()};
  }
  return std::get<Param_image>(loaded);
}

std::variant<std::vector<Queued_radio>, Load_failure> one_radio(const Sim_options& o,
                                                                const Radio_setup& setup) {
  Queued_radio radio{"radio", Param_image{}, setup.options};
  if (o.memory_path.empty()) {
    new_blok(radio.memory, setup.band_code == band_code_high ? 1 : 0,
             static_cast<uint8_t>(o.version));
  } else {
    auto memory = memory_of(o.memory_path);
    if (auto* failure = std::get_if<Load_failure>(&memory)) return *failure;
    radio.memory = std::get<Param_image>(memory);
  }
  return std::vector{std::move(radio)};
}

// NAME.stuck beside NAME.tn5: the addresses stuck in that radio, one word each.
std::optional<Load_failure> read_stuck(const fs::path& file, Radio_options& options) {
  std::ifstream stuck(fs::path(file).replace_extension(".stuck"));
  for (std::string text; stuck >> text;) {
    const auto address = memory_address(text);
    if (!address) return Load_failure{2, file.string() + ": not a memory address: " + text};
    options.stuck.push_back(*address);
  }
  return std::nullopt;
}

}  // namespace

std::variant<std::vector<Queued_radio>, Load_failure> load_radios(const Sim_options& o,
                                                                  const Radio_setup& setup) {
  if (o.radios_dir.empty()) return one_radio(o, setup);
  std::error_code ec;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(o.radios_dir, ec)) {
    if (entry.path().extension() == ".tn5") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  if (ec || files.empty()) return Load_failure{1, o.radios_dir + ": no *.tn5 radios"};
  std::vector<Queued_radio> radios;
  for (const auto& file : files) {
    auto memory = memory_of(file.string());
    if (auto* failure = std::get_if<Load_failure>(&memory)) return *failure;
    Queued_radio radio{file.filename().string(), std::get<Param_image>(memory), setup.options};
    radio.options.identification = identification_of(radio.memory, setup.options.identification);
    if (auto failure = read_stuck(file, radio.options)) return *failure;
    radios.push_back(std::move(radio));
  }
  return radios;
}

std::optional<std::string> save_radio(const Sim_options& o, const Queued_radio& radio) {
  if (o.save_path.empty()) return std::nullopt;
  const std::string path =
      o.radios_dir.empty() ? o.save_path : (fs::path(o.save_path) / radio.name).string();
  if (auto error = save_image(safe_files(), path, radio.memory)) {
    return path + ": " + error->text();
  }
  return std::nullopt;
}

}  // namespace tirna::sim
