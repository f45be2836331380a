#include "ui/window_arguments.h"

#include <string>

#include "core/file_kind.h"

namespace tolvane {
namespace {

constexpr const char* kUsage = "Usage: tolvane [FILE...]\n";

QString help_text() {
  const std::string text =
      std::string(kUsage) +
      "\n"
      "Opens the converter's window with the FILEs in its lists: a name ending in " +
      photo_extensions_text(" or ") +
      "\n"
      "is a photo, any other a GPS log (NMEA, or GPX when it ends in " +
      std::string(kGpxExtension) +
      ").\n"
      "\n"
      "Options:\n"
      "  --help     Print this help and exit\n"
      "  --version  Print the version and exit\n"
      "  --         Every argument after it is a FILE, also one that begins with -\n";
  return QString::fromStdString(text);
}

}  // namespace

WindowArguments parse_window_arguments(const QStringList& arguments) {
  WindowArguments result;
  bool files_only = false;
  for (const QString& argument : arguments) {
    if (files_only || !argument.startsWith(QLatin1Char('-'))) {
      result.files << argument;
    } else if (argument == QLatin1String("--")) {
      files_only = true;
    } else if (argument == QLatin1String("--help")) {
      return {WindowArguments::Outcome::kExitSuccess, help_text(), {}};
    } else if (argument == QLatin1String("--version")) {
      return {WindowArguments::Outcome::kExitSuccess,
              QStringLiteral("tolvane ") + QStringLiteral(TOLVANE_VERSION) + QLatin1Char('\n'),
              {}};
    } else {
      return {WindowArguments::Outcome::kUsageError,
              QStringLiteral("tolvane: unknown option: ") + argument + QLatin1Char('\n') +
                  QString::fromUtf8(kUsage) +
                  QStringLiteral("Run with --help for more information.\n"),
              {}};
    }
  }
  return result;
}

}  // namespace tolvane
