// The application object: fixes where the settings live, chooses the language of the program's
// texts, gives every dialog of the program its look, and runs the main window until it closes.
#pragma once

#include <QStringList>
#include <filesystem>

#include "translation/translation.h"

class QApplication;

namespace tolvane {

class ConverterApp {
 public:
  // Takes the settings file of settings_path(), installs the translation of Common.ui_language
  // (read once: a changed language applies at the next start) into `app`, and sets the look.
  explicit ConverterApp(QApplication& app);
  ~ConverterApp();

  // The dialog background (red 208, green 208, blue 255) with black text, and the dialog font,
  // for every dialog of the program, message boxes included.
  static void apply_dialog_look(QApplication& app);

  const std::filesystem::path& settings_path() const { return settings_path_; }

  // Runs the main window modally, with `files` (the command line's) in its lists; the program
  // ends when it closes, whatever its result.
  int run(const QStringList& files = {});

 private:
  std::filesystem::path settings_path_;
  // Installed into the application for as long as this object lives: Qt's tr() and translate()
  // look texts up through the application's list of translators.
  Translation translation_;
};

}  // namespace tolvane
