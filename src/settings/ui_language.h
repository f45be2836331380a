// Which language the window and the messages speak: the setting Common.ui_language, and for
// "auto" the language of the locale.
#pragma once

#include <string_view>

namespace tolvane {

enum class UiLanguage { japanese, english };

// The locale variables as the environment holds them; null or empty means unset.
struct LocaleVariables {
  const char* lc_all = nullptr;
  const char* lc_messages = nullptr;
  const char* lang = nullptr;
};

// "ja" and "en" choose themselves; anything else ("auto") follows the first of LC_ALL,
// LC_MESSAGES and LANG that is set: Japanese for a locale of the language "ja", English for any
// other that names a language ("en_US.UTF-8", "de_DE", "fr"), Japanese for "C", "POSIX" (also
// "C.UTF-8") or no locale at all.
UiLanguage choose_ui_language(std::string_view setting, const LocaleVariables& locale);

// The same with the process's environment.
UiLanguage choose_ui_language(std::string_view setting);

}  // namespace tolvane
