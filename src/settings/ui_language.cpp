#include "settings/ui_language.h"

#include <cstdlib>

namespace tolvane {

namespace {

bool is_set(const char* value) { return value != nullptr && value[0] != '\0'; }

// The language part of a locale name: "en" of "en_US.UTF-8@euro".
std::string_view language_of(std::string_view locale) {
  return locale.substr(0, locale.find_first_of("_.@"));
}

// Two or three lower-case letters, as locale names spell a language.
bool names_language(std::string_view language) {
  if (language.size() < 2 || language.size() > 3) return false;
  for (char c : language) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

}  // namespace

UiLanguage choose_ui_language(std::string_view setting, const LocaleVariables& locale) {
  if (setting == "ja") return UiLanguage::japanese;
  if (setting == "en") return UiLanguage::english;
  const char* name = is_set(locale.lc_all)        ? locale.lc_all
                     : is_set(locale.lc_messages) ? locale.lc_messages
                     : is_set(locale.lang)        ? locale.lang
                                                  : "";
  const std::string_view language = language_of(name);
  if (language == "ja" || !names_language(language)) return UiLanguage::japanese;
  return UiLanguage::english;
}

UiLanguage choose_ui_language(std::string_view setting) {
  return choose_ui_language(
      setting, {std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")});
}

}  // namespace tolvane
