// The program tolvane: the converter's window.
#include <QApplication>

#include "ui/converter_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tolvane"));
  tolvane::ConverterApp converter(app);
  return converter.run();
}
