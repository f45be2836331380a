// The command line of the window program: the files to open, and its own few flags.
#pragma once

#include <QString>
#include <QStringList>

namespace tolvane {

struct WindowArguments {
  enum class Outcome { kRun, kExitSuccess, kUsageError };
  Outcome outcome = Outcome::kRun;
  QString text;       // what to print: help or version (kExitSuccess), the complaint (kUsageError)
  QStringList files;  // the files for the lists (kRun), in order
};

// Reads the arguments after the program's name (Qt's own options already taken out by the
// application object). "--help" and "--version" print and end the program; any other argument
// that begins with "-" is a usage error, unless it follows "--", after which every argument is
// a file.
WindowArguments parse_window_arguments(const QStringList& arguments);

}  // namespace tolvane
