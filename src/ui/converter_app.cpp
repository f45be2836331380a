#include "ui/converter_app.h"

#include <QApplication>
#include <QPalette>

#include "platform/program_paths.h"
#include "settings/conversion_settings.h"
#include "settings/settings_store.h"
#include "settings/ui_language.h"
#include "ui/app_icon.h"
#include "ui/dialog_units.h"
#include "ui/main_window.h"

namespace tolvane {

namespace {

UiLanguage chosen_language(const std::filesystem::path& settings_path) {
  const ConversionSettings settings = load_settings(settings_path, default_settings(program_dir()));
  return choose_ui_language(settings.common.ui_language);
}

}  // namespace

ConverterApp::ConverterApp(QApplication& app)
    : settings_path_(tolvane::settings_path()), translation_(chosen_language(settings_path_)) {
  QCoreApplication::installTranslator(&translation_.translator());
  apply_dialog_look(app);
}

ConverterApp::~ConverterApp() { QCoreApplication::removeTranslator(&translation_.translator()); }

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
