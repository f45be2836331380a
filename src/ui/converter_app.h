// The application object: fixes where the settings live, gives every dialog of the program
// its look, and runs the main window until it closes.
#pragma once

#include <QStringList>
#include <filesystem>

class QApplication;

namespace tolvane {

class ConverterApp {
 public:
  // Takes the settings file of settings_path() and sets the look on `app`.
  explicit ConverterApp(QApplication& app);

  // The dialog background (red 208, green 208, blue 255) with black text, and the dialog font,
  // for every dialog of the program, message boxes included.
  static void apply_dialog_look(QApplication& app);

  const std::filesystem::path& settings_path() const { return settings_path_; }

  // Runs the main window modally, with `files` (the command line's) in its lists; the program
  // ends when it closes, whatever its result.
  int run(const QStringList& files = {});

 private:
  std::filesystem::path settings_path_;
};

}  // namespace tolvane
