// The program tolvane: the converter's window.
#include <QApplication>

#include "ui/converter_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tolvane"));
  tolvane::ConverterApp converter(app);
  // The files to open ("Open with", or the desktop entry's %F) go into the lists.
  return converter.run(QApplication::arguments().mid(1));
}
