// Feeds arbitrary bytes to the INI document as a settings file: loads the 46 settings from it,
// saves them into it and loads them again. Besides crashes and sanitizer reports, it stops
// when a second save and load do not reproduce the first (what is saved must read back).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ini_file.h"
#include "settings/conversion_settings.h"
#include "settings/settings_store.h"

namespace {

// A settings record as the text of a fresh file, for comparing two records.
std::string as_text(const tolvane::ConversionSettings& settings) {
  tolvane::IniDocument fresh;
  tolvane::write_settings(fresh, settings);
  return fresh.text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static const tolvane::ConversionSettings defaults = tolvane::default_settings("/opt/tolvane");

  tolvane::IniDocument document = tolvane::IniDocument::parse(text);
  tolvane::ConversionSettings first = tolvane::read_settings(document, defaults);
  // The first line also serves as a command-line "--set Section.key=VALUE".
  const std::string_view line = text.substr(0, text.find('\n'));
  const std::size_t equals = line.find('=');
  if (equals != std::string_view::npos) {
    tolvane::apply_setting_text(first, line.substr(0, equals), line.substr(equals + 1));
  }

  // The bulk lookups and changes agree with get() and set() key by key (checked on documents of
  // the size of a settings file, where key-by-key work stays quick).
  const bool key_by_key = document.lines().size() <= 200;
  tolvane::IniDocument fresh;
  tolvane::write_settings(fresh, first);
  tolvane::IniDocument one_by_one = document;
  tolvane::for_each_setting(first, [&](const char* section, const char* key, const auto&) {
    if (!key_by_key) return;
    std::optional<std::string_view> listed;
    for (const auto& [name, value] : document.keys_of(section)) {
      if (tolvane::ini_names_equal(name, key)) {
        listed = value;
        break;
      }
    }
    const std::optional<std::string> got = document.get(section, key);
    if (listed.has_value() != got.has_value() || (got && *got != *listed)) __builtin_trap();
    one_by_one.set(section, key, *fresh.get(section, key));
  });

  tolvane::write_settings(document, first);
  const std::string saved = document.text();
  tolvane::IniDocument reread = tolvane::IniDocument::parse(saved);
  const tolvane::ConversionSettings second = tolvane::read_settings(reread, defaults);
  tolvane::write_settings(reread, second);
  const std::string saved_again = reread.text();
  const tolvane::ConversionSettings third =
      tolvane::read_settings(tolvane::IniDocument::parse(saved_again), defaults);

  if (saved_again != saved || as_text(second) != as_text(third)) __builtin_trap();
  if (key_by_key && one_by_one.text() != saved) __builtin_trap();
  return 0;
}
