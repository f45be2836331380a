// The program tolvane: the converter's window.
#include <QApplication>
#include <cstdio>

#include "ui/converter_app.h"
#include "ui/window_arguments.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tolvane"));
  // The files to open ("Open with", or the desktop entry's %F) go into the lists.
  const tolvane::WindowArguments arguments =
      tolvane::parse_window_arguments(QApplication::arguments().mid(1));
  if (arguments.outcome != tolvane::WindowArguments::Outcome::kRun) {
    const bool failed = arguments.outcome == tolvane::WindowArguments::Outcome::kUsageError;
    std::fputs(arguments.text.toUtf8().constData(), failed ? stderr : stdout);
    return failed ? 2 : 0;
  }
  tolvane::ConverterApp converter(app);
  return converter.run(arguments.files);
}
