// The main window: the lists of logs and photos, the output file and its kind, the buttons for
// the settings and the conversion, the status line and the progress bar. It starts a conversion
// on a worker thread and is the run's ProgressView.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <thread>

#include "core/file_kind.h"
#include "core/run_contracts.h"
#include "settings/conversion_settings.h"
#include "ui/ui_thread_caller.h"

class QAction;
class QLabel;
class QProgressBar;
class QRadioButton;

namespace tolvane {

class FileDialogs;
class FlagCheckBox;
class PathList;
class SelfDrawnButton;

// The window's own status texts, marked for the translation catalogue under "MainWindow".
// Asked when the window is to be closed during a conversion (Yes stops the run).
inline constexpr const char* kStopQuestion = QT_TRANSLATE_NOOP("MainWindow", "変換を中止しますか?");
// Shown in the status line when a conversion was stopped from the window.
inline constexpr const char* kConversionStopped =
    QT_TRANSLATE_NOOP("MainWindow", "変換を中止しました");
// Shown in the status line when files of the command line were left out; %1 is their number.
inline constexpr const char* kFilesLeftOut =
    QT_TRANSLATE_NOOP("MainWindow", "%1 個のファイルを追加できませんでした");

class MainWindow : public QDialog, public ProgressView {
  Q_OBJECT

 public:
  // Opens the file of the finished conversion with the desktop's program for it.
  using Opener = std::function<void(const std::filesystem::path&)>;

  // Loads the settings from `ini_path` (missing keys keep `defaults`) and starts with empty
  // lists and no output file.
  MainWindow(std::filesystem::path ini_path, const ConversionSettings& defaults,
             QWidget* parent = nullptr);
  // Waits for a conversion that is still running; the run no longer reaches the window.
  ~MainWindow() override;

  // ProgressView: safe from any thread; each returns once the window shows its effect.
  void set_status_text(std::string_view text) override;
  void set_progress(int percent) override;
  void show_error(std::string_view message) override;

  void set_file_dialogs(std::unique_ptr<FileDialogs> dialogs);
  void set_opener(Opener opener);

  // Pushes the output path, the kind choice and the status text to their controls.
  void update_controls();
  // The twelve buttons, then the acceptance of dropped files.
  void set_controls_enabled(bool on);
  // Sorts paths into the two lists as dropping them on the window does. While the output is
  // empty, logs that arrive (dropped, chosen or named on the command line) give it: the first
  // log's folder and name with the extension of the kind chosen.
  void add_dropped_paths(const QStringList& paths);
  // The files named on the program's command line, sorted into the lists as dropped files are;
  // files that are missing or cannot be read are left out, and the status line says how many.
  void add_command_line_files(const QStringList& files);

  // The control with the given id (1000 to 1021, and 1 for Exit); null for an unknown id.
  QWidget* control(int id) const;
  // The twelve buttons in the order set_controls_enabled switches them.
  static const int kSwitchedButtonIds[12];

  const ConversionSettings& settings() const { return settings_; }
  const std::filesystem::path& ini_path() const { return ini_path_; }
  QString output_path() const { return output_path_; }
  QString status_text() const { return status_text_; }
  QStringList log_paths() const;
  QStringList photo_paths() const;
  bool is_converting() const { return converting_; }
  bool accepts_dropped_files() const { return drops_enabled_; }

 signals:
  // After a run has ended and the controls are on again; `result` is 0 or 255.
  void conversion_finished(int result);

 public slots:
  void accept() override;  // Exit: saves the settings, then closes
  // Close box and Esc: closes without saving; during a conversion asks whether to stop it.
  void reject() override;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void build_controls();
  void add_files(PathList& list, const char* filter, const QString& default_suffix);
  // The form the output takes: the kind chosen, and for KML whether the output is a KMZ.
  OutputForm chosen_form() const;
  bool choose_output_path();
  void choose_kind(bool map_page);
  void propose_output();
  void ask_to_stop();
  void open_settings();
  void convert();
  void run_conversion(ConversionInput input, const ConversionSettings& settings);
  void geotag_after_run(const ConversionInput& input, const ConversionSettings& settings);
  void show_about();

  void save();

  std::filesystem::path ini_path_;
  ConversionSettings defaults_;
  ConversionSettings settings_;
  QString output_path_;
  bool kmz_output_ = false;  // the KML kind's output is a KMZ: back from HTML it ends in .kmz
  int kind_choice_ = -1;
  QString status_text_;
  bool converting_ = false;
  bool drops_enabled_ = false;
  std::atomic<bool> stop_{false};  // the running conversion's stop flag

  std::unique_ptr<FileDialogs> dialogs_;
  Opener opener_;

  std::map<int, QWidget*> controls_;
  PathList* log_list_ = nullptr;
  PathList* photo_list_ = nullptr;
  QLabel* output_text_ = nullptr;
  QRadioButton* kml_button_ = nullptr;
  QRadioButton* html_button_ = nullptr;
  FlagCheckBox* geotag_box_ = nullptr;  // Common.geotag
  QLabel* status_line_ = nullptr;
  QProgressBar* progress_ = nullptr;
  SelfDrawnButton* first_button_ = nullptr;
  QAction* about_action_ = nullptr;

  UiThreadCaller ui_;
  std::thread worker_;
};

}  // namespace tolvane
