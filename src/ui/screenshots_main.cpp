// Renders the main window and the settings dialog to PNG files, for the README, in Japanese
// (main-window.png, settings-dialog.png) and in English (main-window-en.png,
// settings-dialog-en.png):
//   tolvane_screenshots OUTPUT_FOLDER
// Run it under the offscreen platform (QT_QPA_PLATFORM=offscreen) with a Japanese font
// installed. The main window shows a few example files; nothing is read or written but the
// pictures.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

#include "core/run_messages.h"
#include "settings/conversion_settings.h"
#include "translation/translation.h"
#include "ui/converter_app.h"
#include "ui/file_dialogs.h"
#include "ui/main_window.h"
#include "ui/path_rules.h"
#include "ui/settings_dialog.h"

namespace {

// Answers the window's dialogs with the example files.
class ExampleDialogs final : public tolvane::FileDialogs {
 public:
  QStringList open_files(QWidget*, const tolvane::FileDialogRequest& request) override {
    if (request.default_suffix == QLatin1String("log")) {
      return {QStringLiteral("/home/hanako/gps/20080503_093012.log"),
              QStringLiteral("/home/hanako/gps/20080503_134501.log"),
              QStringLiteral("/home/hanako/gps/20080504_081533.log")};
    }
    return {QStringLiteral("/home/hanako/photos/DSC01234.JPG"),
            QStringLiteral("/home/hanako/photos/DSC01240.JPG"),
            QStringLiteral("/home/hanako/photos/DSC01252.JPG"),
            QStringLiteral("/home/hanako/photos/DSC01261.JPG")};
  }
  QString save_file(QWidget*, const tolvane::FileDialogRequest&) override {
    return QStringLiteral("/home/hanako/gps/箱根ドライブ.kml");
  }
};

bool save_grab(QWidget& widget, const QString& file) {
  widget.show();
  QApplication::processEvents();
  const bool saved = widget.grab().save(file, "PNG");
  if (!saved) QTextStream(stderr) << "cannot write " << file << "\n";
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    QTextStream(stderr) << "usage: tolvane_screenshots OUTPUT_FOLDER\n";
    return 2;
  }
  tolvane::ConverterApp::apply_dialog_look(app);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir scratch;  // a settings file that is never written
  const auto program_dir = tolvane::to_filesystem_path(scratch.path());
  const auto defaults = tolvane::default_settings(program_dir);

  bool ok = true;
  for (const auto language : {tolvane::UiLanguage::japanese, tolvane::UiLanguage::english}) {
    tolvane::Translation translation(language);
    QCoreApplication::installTranslator(&translation.translator());
    const QString suffix = language == tolvane::UiLanguage::english ? QStringLiteral("-en.png")
                                                                    : QStringLiteral(".png");
    {
      tolvane::MainWindow window(program_dir / "Tolvane.ini", defaults);
      window.set_file_dialogs(std::make_unique<ExampleDialogs>());
      for (int id : {1001, 1008, 1005}) static_cast<QPushButton*>(window.control(id))->click();
      window.set_status_text(tolvane::messages::kFinished);
      ok = save_grab(window, out.filePath(QStringLiteral("main-window") + suffix)) && ok;

      tolvane::SettingsDialog settings(defaults);
      ok = save_grab(settings, out.filePath(QStringLiteral("settings-dialog") + suffix)) && ok;
    }
    QCoreApplication::removeTranslator(&translation.translator());
  }
  return ok ? 0 : 1;
}
