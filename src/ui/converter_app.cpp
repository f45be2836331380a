#include "ui/converter_app.h"

#include <QApplication>
#include <QPalette>

#include "platform/program_paths.h"
#include "settings/conversion_settings.h"
#include "settings/settings_store.h"
#include "ui/app_icon.h"
#include "ui/dialog_units.h"
#include "ui/main_window.h"

namespace tolvane {

ConverterApp::ConverterApp(QApplication& app) : settings_path_(tolvane::settings_path()) {
  apply_dialog_look(app);
}

void ConverterApp::apply_dialog_look(QApplication& app) {
  QPalette palette = QApplication::palette();
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Window, QColor(208, 208, 255));
    palette.setColor(group, QPalette::WindowText, Qt::black);
  }
  palette.setColor(QPalette::Disabled, QPalette::Window, QColor(208, 208, 255));
  QApplication::setPalette(palette);
  QApplication::setFont(dialog_font());
  app.setWindowIcon(app_icon());
}

int ConverterApp::run(const QStringList& files) {
  MainWindow window(settings_path_, default_settings(program_dir()));
  window.add_command_line_files(files);
  window.exec();
  return 0;
}

}  // namespace tolvane
