// The program's texts in the chosen language. Japanese needs nothing: the texts are written in
// it. English comes from the catalogue that the build compiles and carries in the program.
// Callers need no Qt header (the command line's sources use names that Qt's reserve).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "settings/ui_language.h"

class QTranslator;

namespace tolvane {

class Translation {
 public:
  explicit Translation(UiLanguage language);
  ~Translation();
  Translation(const Translation&) = delete;
  Translation& operator=(const Translation&) = delete;

  UiLanguage language() const { return language_; }

  // The translation of `source` under `context` as UTF-8, or `source` itself when there is none.
  std::string text(const char* context, std::string_view source) const;
  // A status text or failure message of a run.
  std::string run_text(std::string_view source) const;

  // For QCoreApplication::installTranslator, through which tr() and translate() find it.
  QTranslator& translator() { return *translator_; }

 private:
  UiLanguage language_;
  std::unique_ptr<QTranslator> translator_;  // empty for Japanese
};

}  // namespace tolvane
