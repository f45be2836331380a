#include "settings/settings_store.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/c_number.h"
#include "core/text_format.h"
#include "platform/directories.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"

namespace tolvane {
namespace {

// Longest text value that is loaded; a longer one is cut there.
constexpr std::size_t kTextLimit = 4095;

// As the platform's profile integer reader: blanks, an optional sign and decimal digits up to
// the first other character, kept modulo 2^32; 0 when there are no digits.
std::int32_t profile_int(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

void read_value(std::string_view text, Flag& flag) {
  flag = static_cast<Flag>(static_cast<std::uint8_t>(profile_int(text) & 0xFF));
}
void read_value(std::string_view text, std::int32_t& number) { number = profile_int(text); }
void read_value(std::string_view text, float& number) {
  const double value = c_atof(std::string(text).c_str());
  if (value > FLT_MAX) {
    number = HUGE_VALF;
  } else if (value < -FLT_MAX) {
    number = -HUGE_VALF;
  } else {
    number = static_cast<float>(value);
  }
}
void read_value(std::string_view text, std::string& value) { value = text.substr(0, kTextLimit); }

// The street map's template and attribution and the labels' template that the earlier
// defaults held; settings files from then hold them word for word, as every save writes every key.
constexpr std::string_view kEarlierTileUrl =
    "https://{s}.basemaps.cartocdn.com/rastertiles/voyager/{z}/{x}/{y}{r}.png";
constexpr std::string_view kEarlierTileAttribution =
    "&copy; <a href=\"https://www.openstreetmap.org/copyright\">OpenStreetMap</a> contributors "
    "&copy; <a href=\"https://carto.com/attributions\">CARTO</a>";
constexpr std::string_view kEarlierLabelsUrl =
    "https://{s}.basemaps.cartocdn.com/rastertiles/voyager_only_labels/{z}/{x}/{y}{r}.png";

// A value that is exactly the earlier default becomes today's default.
void follow_new_default(std::string& value, std::string_view earlier, const std::string& now) {
  if (value == earlier) value = now;
}

std::string written_value(Flag flag) { return format_text("%d", static_cast<int>(flag)); }
std::string written_value(std::int32_t number) { return format_text("%d", number); }
std::string written_value(float number) { return format_text("%.1f", static_cast<double>(number)); }
std::string written_value(const std::string& value) { return value; }

}  // namespace

std::filesystem::path settings_path() { return settings_path(program_dir(), user_config_dir()); }

std::filesystem::path settings_path(const std::filesystem::path& program_dir,
                                    const std::filesystem::path& config_dir) {
  const std::filesystem::path portable = program_dir / "Tolvane.ini";
  if (file_exists(portable)) return portable;
  return config_dir / "tolvane" / "Tolvane.ini";
}

bool make_settings_folder(const std::filesystem::path& ini_path) {
  const std::filesystem::path folder = ini_path.parent_path();
  return folder.empty() || make_private_directories(folder);
}

ConversionSettings read_settings(const IniDocument& document, const ConversionSettings& defaults) {
  // The keys of each section, looked up by name without regard to case; the first line of a
  // name counts.
  std::map<std::string, std::map<std::string, std::string_view>> sections;
  auto lowered = [](std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
  };
  ConversionSettings settings = defaults;
  for_each_setting(settings, [&](const char* section, const char* key, auto& field) {
    auto found_section = sections.find(section);
    if (found_section == sections.end()) {
      std::map<std::string, std::string_view> keys;
      for (const auto& [name, value] : document.keys_of(section))
        keys.emplace(lowered(name), value);
      found_section = sections.emplace(section, std::move(keys)).first;
    }
    const auto found = found_section->second.find(lowered(key));
    if (found != found_section->second.end()) read_value(found->second, field);
  });
  if (settings.common.icon_url.empty()) settings.common.icon_url = defaults.common.icon_url;
  GoogleMapsSettings& maps = settings.google_maps;
  follow_new_default(maps.tile_url, kEarlierTileUrl, defaults.google_maps.tile_url);
  follow_new_default(maps.tile_attribution, kEarlierTileAttribution,
                     defaults.google_maps.tile_attribution);
  follow_new_default(maps.labels_url, kEarlierLabelsUrl, defaults.google_maps.labels_url);
  return settings;
}

void write_settings(IniDocument& document, const ConversionSettings& settings,
                    const ConversionSettings& defaults) {
  // Section by section, in storage order; the icon URL empty while it is the default.
  const void* const omitted =
      settings.common.icon_url == defaults.common.icon_url ? &settings.common.icon_url : nullptr;
  std::string_view current;
  std::vector<std::pair<std::string_view, std::string>> values;
  for_each_setting(settings, [&](const char* section, const char* key, const auto& field) {
    if (section != current && !values.empty()) {
      document.set_all(current, values);
      values.clear();
    }
    current = section;
    values.emplace_back(key, &field == omitted ? std::string() : written_value(field));
  });
  document.set_all(current, values);
}

ConversionSettings load_settings(const std::filesystem::path& ini_path,
                                 const ConversionSettings& defaults) {
  IniDocument document;
  IniDocument::read(ini_path, document);
  return read_settings(document, defaults);
}

bool save_settings(const std::filesystem::path& ini_path, const ConversionSettings& settings,
                   const ConversionSettings& defaults) {
  IniDocument document;
  // A file that exists but cannot be read is left alone rather than replaced without its
  // other lines.
  if (IniDocument::read(ini_path, document) == IniDocument::ReadStatus::unreadable) return false;
  write_settings(document, settings, defaults);
  return document.write(ini_path);
}

bool apply_setting_text(ConversionSettings& settings, std::string_view section_dot_key,
                        std::string_view value) {
  const std::size_t dot = section_dot_key.find('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view section = section_dot_key.substr(0, dot);
  const std::string_view key = section_dot_key.substr(dot + 1);
  bool found = false;
  for_each_setting(settings, [&](const char* s, const char* k, auto& field) {
    if (!found && ini_names_equal(s, section) && ini_names_equal(k, key)) {
      read_value(ini_value_text(value), field);
      found = true;
    }
  });
  return found;
}

}  // namespace tolvane
