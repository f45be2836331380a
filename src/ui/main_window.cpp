#include "ui/main_window.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QRadioButton>
#include <QUrl>
#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "core/file_kind.h"
#include "core/run_messages.h"
#include "kml/kml_run.h"
#include "map_page/map_page_run.h"
#include "photos/geotag_stage.h"
#include "settings/settings_store.h"
#include "ui/about_box.h"
#include "ui/app_icon.h"
#include "ui/dialog_units.h"
#include "ui/file_dialogs.h"
#include "ui/file_filters.h"
#include "ui/flag_check_box.h"
#include "ui/group_frame.h"
#include "ui/path_list.h"
#include "ui/path_rules.h"
#include "ui/self_drawn_button.h"
#include "ui/settings_dialog.h"

namespace tolvane {

namespace {

// The longest output path kept, as a conversion accepts it.
constexpr qsizetype kOutputPathLimit = 8191;

// Size of the window's client area, in dialog units.
constexpr int kWindowWidth = 285;
constexpr int kWindowHeight = 306;

// A text of the window in the language of the program.
QString window_text(const char* source) {
  return QCoreApplication::translate("MainWindow", source);
}

void open_with_desktop(const std::filesystem::path& file) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(from_filesystem_path(file)));
}

// A text that a run reports, in the language of the program; texts the catalogue does not
// know (a system's failure) are shown as they are.
QString run_text(std::string_view text) {
  const std::string source(text);
  return QCoreApplication::translate(messages::kRunTextContext, source.c_str());
}

}  // namespace

const int MainWindow::kSwitchedButtonIds[12] = {1001, 1003, 1002, 1008, 1009, 1010,
                                                1005, 1016, 1017, 1006, 1007, 1};

MainWindow::MainWindow(std::filesystem::path ini_path, const ConversionSettings& defaults,
                       QWidget* parent)
    : QDialog(parent),
      ini_path_(std::move(ini_path)),
      defaults_(defaults),
      settings_(defaults),
      dialogs_(make_platform_file_dialogs()),
      opener_(open_with_desktop),
      ui_(this) {
  setWindowTitle(QStringLiteral("Tolvane"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(dialog_font());
  build_controls();

  about_action_ = new QAction(QCoreApplication::translate("AboutBox", kAboutCommandText), this);
  about_action_->setShortcut(QKeySequence(Qt::Key_F1));
  about_action_->setShortcutContext(Qt::WindowShortcut);
  connect(about_action_, &QAction::triggered, this, &MainWindow::show_about);
  addAction(about_action_);

  setWindowIcon(app_icon());
  setAcceptDrops(true);
  drops_enabled_ = true;
  output_path_.clear();
  settings_ = load_settings(ini_path_, defaults);
  kind_choice_ = is_map_page(settings_) ? 1 : 0;
  geotag_box_->set_value(settings_.common.geotag);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  status_text_.clear();
  update_controls();
  first_button_->setFocus();
}

MainWindow::~MainWindow() {
  // A run still going on ends on its own; it just no longer reaches the window.
  ui_.detach();
  if (worker_.joinable()) worker_.join();
  QCoreApplication::removePostedEvents(this);
}

void MainWindow::build_controls() {
  const DialogUnits du(font());
  setFixedSize(du.x(kWindowWidth), du.y(kWindowHeight));

  auto place = [&](int id, QWidget* widget, QRect rect) {
    widget->setGeometry(rect);
    if (id != 0) controls_[id] = widget;
  };
  auto group = [&](const char* caption, QRect rect) {
    auto* box = new GroupFrame(window_text(caption), this);
    box->setGeometry(rect);
    box->lower();
  };
  auto button = [&](int id, const char* caption, QRect rect) {
    auto* b = new SelfDrawnButton(
        window_text(caption), id == 1007 ? convert_button_colours() : plain_button_colours(), this);
    place(id, b, rect);
    return b;
  };

  group(QT_TRANSLATE_NOOP("MainWindow", "入力ログファイル"), du.rect(7, 7, 271, 76));
  log_list_ = new PathList(this);
  place(1000, log_list_, du.rect(16, 20, 196, 45));
  auto* add_logs =
      button(1001, QT_TRANSLATE_NOOP("MainWindow", "リストに追加..."), du.rect(220, 20, 50, 15));
  auto* remove_logs =
      button(1003, QT_TRANSLATE_NOOP("MainWindow", "リストから削除"), du.rect(220, 41, 50, 15));
  auto* clear_logs =
      button(1002, QT_TRANSLATE_NOOP("MainWindow", "リスト全クリア"), du.rect(220, 62, 50, 15));

  group(QT_TRANSLATE_NOOP("MainWindow", "デジカメ写真ファイル(JPEG) 【βバージョン】"),
        du.rect(7, 90, 271, 79));
  photo_list_ = new PathList(this);
  place(1011, photo_list_, du.rect(16, 102, 196, 49));
  auto* add_photos =
      button(1008, QT_TRANSLATE_NOOP("MainWindow", "リストに追加..."), du.rect(220, 102, 50, 15));
  auto* remove_photos =
      button(1009, QT_TRANSLATE_NOOP("MainWindow", "リストから削除"), du.rect(220, 124, 50, 15));
  auto* clear_photos =
      button(1010, QT_TRANSLATE_NOOP("MainWindow", "リスト全クリア"), du.rect(220, 145, 50, 15));
  // Below the list, which is shorter by its height: nothing else moves.
  geotag_box_ =
      new FlagCheckBox(window_text(QT_TRANSLATE_NOOP("MainWindow", "写真に位置を書き込む")), this);
  place(1022, geotag_box_, du.rect(16, 154, 196, 8));

  group(QT_TRANSLATE_NOOP("MainWindow", "出力KML/HTMLファイル"), du.rect(7, 176, 271, 58));
  output_text_ = new QLabel(this);
  output_text_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  output_text_->setTextFormat(Qt::PlainText);
  output_text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  place(1004, output_text_, du.rect(16, 190, 197, 17));
  auto* choose_output =
      button(1005, QT_TRANSLATE_NOOP("MainWindow", "指定..."), du.rect(220, 190, 43, 15));
  kml_button_ = new QRadioButton(
      window_text(QT_TRANSLATE_NOOP("MainWindow", "KMLファイル (Google Earth)")), this);
  place(1016, kml_button_, du.rect(16, 218, 97, 8));
  html_button_ = new QRadioButton(
      window_text(QT_TRANSLATE_NOOP("MainWindow", "HTMLファイル (Google Maps)")), this);
  place(1017, html_button_, du.rect(117, 218, 97, 8));
  widen_to_caption(*kml_button_);
  widen_to_caption(*html_button_);

  auto* settings =
      button(1006, QT_TRANSLATE_NOOP("MainWindow", "設定..."), du.rect(16, 246, 51, 22));
  auto* convert =
      button(1007, QT_TRANSLATE_NOOP("MainWindow", "変換！"), du.rect(112, 245, 62, 23));
  auto* exit = button(1, QT_TRANSLATE_NOOP("MainWindow", "終了"), du.rect(217, 247, 50, 21));

  auto* product = new QLabel(QString::fromUtf8(kProductLine), this);
  place(1018, product, du.rect(14, 277, 258, 10));
  status_line_ = new QLabel(this);
  status_line_->setTextFormat(Qt::PlainText);
  place(1012, status_line_, du.rect(14, 289, 120, 12));
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  place(1021, progress_, du.rect(141, 290, 127, 10));

  first_button_ = add_logs;
  QWidget* const order[] = {add_logs,     remove_logs, clear_logs,    add_photos,  remove_photos,
                            clear_photos, geotag_box_, choose_output, kml_button_, html_button_,
                            settings,     convert,     exit,          log_list_,   photo_list_};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  connect(add_logs, &QPushButton::clicked, this,
          [this] { add_files(*log_list_, kLogFilter, QStringLiteral("log")); });
  connect(remove_logs, &QPushButton::clicked, this, [this] { log_list_->remove_selected(); });
  connect(clear_logs, &QPushButton::clicked, this, [this] { log_list_->clear_all(); });
  connect(add_photos, &QPushButton::clicked, this,
          [this] { add_files(*photo_list_, kPhotoFilter, QStringLiteral("jpg")); });
  connect(remove_photos, &QPushButton::clicked, this, [this] { photo_list_->remove_selected(); });
  connect(clear_photos, &QPushButton::clicked, this, [this] { photo_list_->clear_all(); });
  connect(geotag_box_, &QCheckBox::clicked, this,
          [this] { settings_.common.geotag = static_cast<Flag>(geotag_box_->value()); });
  connect(choose_output, &QPushButton::clicked, this, [this] { choose_output_path(); });
  connect(kml_button_, &QRadioButton::clicked, this, [this] { choose_kind(false); });
  connect(html_button_, &QRadioButton::clicked, this, [this] { choose_kind(true); });
  connect(settings, &QPushButton::clicked, this, &MainWindow::open_settings);
  connect(convert, &QPushButton::clicked, this, &MainWindow::convert);
  connect(exit, &QPushButton::clicked, this, &MainWindow::accept);
}

QWidget* MainWindow::control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

QStringList MainWindow::log_paths() const { return log_list_->paths(); }

QStringList MainWindow::photo_paths() const { return photo_list_->paths(); }

void MainWindow::set_file_dialogs(std::unique_ptr<FileDialogs> dialogs) {
  dialogs_ = std::move(dialogs);
}

void MainWindow::set_opener(Opener opener) { opener_ = std::move(opener); }

void MainWindow::update_controls() {
  // A long path keeps its beginning and its file name; the tool tip holds all of it.
  const QFontMetrics metrics(output_text_->font());
  const int room = output_text_->contentsRect().width() - 2 * output_text_->margin() - 4;
  output_text_->setText(metrics.elidedText(output_path_, Qt::ElideMiddle, std::max(room, 0)));
  output_text_->setToolTip(output_path_);
  kml_button_->setChecked(kind_choice_ == 0);
  html_button_->setChecked(kind_choice_ == 1);
  status_line_->setText(status_text_);
}

void MainWindow::set_controls_enabled(bool on) {
  for (int id : kSwitchedButtonIds) control(id)->setEnabled(on);
  geotag_box_->setEnabled(on);
  setAcceptDrops(on);
  drops_enabled_ = on;
}

// ProgressView

void MainWindow::set_status_text(std::string_view text) {
  const QString status = run_text(text);
  ui_.call([this, &status] {
    status_text_ = status;
    update_controls();
  });
}

void MainWindow::set_progress(int percent) {
  ui_.call([this, percent] {
    progress_->setValue(std::clamp(percent, 0, 100));
    update_controls();
  });
}

void MainWindow::show_error(std::string_view message) {
  const QString text = run_text(message);
  ui_.call([this, &text] {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tolvane"), text, QMessageBox::Ok, this);
    box.exec();
  });
}

// Commands

void MainWindow::add_files(PathList& list, const char* filter, const QString& default_suffix) {
  const QStringList files = dialogs_->open_files(
      this, {qt_filter(QCoreApplication::translate("FileFilters", filter)), default_suffix, {}});
  for (const QString& file : files) list.add_path(QFileInfo(file).absoluteFilePath());
  propose_output();
}

void MainWindow::add_dropped_paths(const QStringList& paths) {
  for (QString path : paths) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);  // a folder
    if (path.isEmpty()) continue;
    (is_photo(to_filesystem_path(path)) ? photo_list_ : log_list_)->add_path(path);
  }
  propose_output();
}

void MainWindow::propose_output() {
  if (!output_path_.isEmpty() || log_list_->paths().isEmpty()) return;
  const std::filesystem::path first_log = to_filesystem_path(log_list_->paths().first());
  output_path_ =
      from_filesystem_path(output_path_for_log(first_log, chosen_form())).left(kOutputPathLimit);
  update_controls();
}

void MainWindow::add_command_line_files(const QStringList& files) {
  QStringList found;
  int left_out = 0;
  for (const QString& file : files) {
    const QFileInfo info(file);
    QFile readable(info.absoluteFilePath());
    if (info.isFile() && readable.open(QIODevice::ReadOnly)) {
      found << info.absoluteFilePath();
    } else {
      ++left_out;
    }
  }
  add_dropped_paths(found);
  if (left_out > 0) {
    status_text_ = window_text(kFilesLeftOut).arg(left_out);
    update_controls();
  }
}

OutputForm MainWindow::chosen_form() const {
  if (is_map_page(settings_)) return OutputForm::kMapPage;
  return kmz_output_ ? OutputForm::kKmz : OutputForm::kKml;
}

bool MainWindow::choose_output_path() {
  const bool map_page = is_map_page(settings_);
  const std::string_view extension =
      output_extension(map_page ? OutputForm::kMapPage : OutputForm::kKml);
  const QString suffix = QString::fromLatin1(extension.substr(1));
  const FileDialogRequest request{
      qt_filter(QCoreApplication::translate("FileFilters", map_page ? kHtmlFilter : kKmlFilter)),
      suffix, QStringLiteral("*.") + suffix};
  const QString chosen = dialogs_->save_file(this, request);
  if (chosen.isEmpty()) return false;
  std::filesystem::path typed =
      to_filesystem_path(QFileInfo(chosen).absoluteFilePath().left(kOutputPathLimit));
  kmz_output_ = output_form_by_name(typed) == OutputForm::kKmz;
  // A name that cannot take the chosen kind (a page under ".kml" or ".kmz") takes its extension,
  // as the switch of the kind gives it.
  const KindRequest kind = map_page ? KindRequest::kMapPage : KindRequest::kKml;
  if (!output_form(typed, kind, false, map_page))
    typed = output_path_for_kind(typed, chosen_form());
  output_path_ = from_filesystem_path(typed).left(kOutputPathLimit);
  update_controls();
  return true;
}

void MainWindow::choose_kind(bool map_page) {
  settings_.common.kml_or_html = map_page ? 1 : 0;
  kind_choice_ = map_page ? 1 : 0;
  const std::filesystem::path output = to_filesystem_path(output_path_);
  const std::optional<OutputForm> named = output_form_by_name(output);
  if (named == OutputForm::kKmz || named == OutputForm::kKml) {
    kmz_output_ = named == OutputForm::kKmz;  // remembered for the way back from HTML
  }
  output_path_ = from_filesystem_path(output_path_for_kind(output, chosen_form()));
  update_controls();
}

void MainWindow::open_settings() {
  SettingsDialog dialog(settings_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  dialog.copy_to(settings_);
  save();
}

// The settings file's folder is made at the first save; a failed save is not reported.
void MainWindow::save() {
  make_settings_folder(ini_path_);
  save_settings(ini_path_, settings_, defaults_);
}

void MainWindow::convert() {
  if (converting_) return;
  ConversionInput input;
  // The lists are copied here, together with their counts, before anything can change them.
  for (const QString& path : log_list_->paths())
    input.log_paths.push_back(to_filesystem_path(path));
  if (input.log_paths.empty()) return;
  for (const QString& path : photo_list_->paths()) {
    input.photo_paths.push_back(to_filesystem_path(path));
  }
  if (output_path_.isEmpty() && !choose_output_path()) return;
  input.output_path = to_filesystem_path(output_path_);
  stop_.store(false);
  input.stop = &stop_;

  set_controls_enabled(false);
  converting_ = true;
  if (worker_.joinable()) worker_.join();  // the previous worker has already finished its run
  worker_ = std::thread([this, input = std::move(input), settings = settings_]() mutable {
    run_conversion(std::move(input), settings);
  });
}

// On the worker thread.
void MainWindow::run_conversion(ConversionInput input, const ConversionSettings& settings) {
  const bool map_page = is_map_page(settings);
  RunResult result = kRunFailed;
  try {
    result =
        map_page ? convert_to_html(input, settings, *this) : convert_to_kml(input, settings, *this);
    if (result == kRunSucceeded && settings.common.geotag == 1 && !input.photo_paths.empty()) {
      geotag_after_run(input, settings);
    }
  } catch (const std::exception& failure) {
    // A run reports its own failures; this is for the unforeseen (memory, the file system).
    show_error(failure.what());
  } catch (...) {
    show_error("unexpected failure");
  }
  const Flag open_flag = map_page ? settings.google_maps.open_html : settings.google_earth.open_kml;
  const bool open = result == kRunSucceeded && open_flag == 1;
  ui_.call([this, open, result, &input] {
    if (result != kRunSucceeded && stop_.load()) {
      status_text_ = window_text(kConversionStopped);
      update_controls();
    }
    if (open && opener_) opener_(input.output_path);
    set_controls_enabled(true);
    converting_ = false;
    // Announced on the next turn of the event loop, once this worker no longer waits here, so
    // that whoever hears it may start the next run at once.
    QMetaObject::invokeMethod(
        this, [this, result] { emit conversion_finished(result); }, Qt::QueuedConnection);
  });
}

namespace {

// Collects the names of the photos left untouched, for one message at the end.
class CollectingGeotagListener final : public GeotagListener {
 public:
  std::string failures;
  void photo_row(std::string_view) override {}
  void photo_failed(std::string_view message) override {
    failures.append(message);
    failures += '\n';
  }
  std::string text(std::string_view source) override { return run_text(source).toStdString(); }
};

}  // namespace

// On the worker thread: the photos of a finished run, geotagged; the summary stays in the status
// line, and the photos left untouched are named in one message.
void MainWindow::geotag_after_run(const ConversionInput& input,
                                  const ConversionSettings& settings) {
  GeotagOptions options;
  options.backup = settings.common.geotag_backup == 1;
  CollectingGeotagListener listener;
  const GeotagSummary summary = geotag_photos(input.log_paths, input.photo_paths, settings, options,
                                              *this, listener, input.stop);
  set_status_text(geotag_summary_text(summary, run_text(messages::kGeotagSummary).toStdString()));
  if (!listener.failures.empty()) show_error(listener.failures);
}

void MainWindow::accept() {
  if (converting_) return;
  save();
  QDialog::accept();
}

void MainWindow::reject() {
  if (converting_) {
    ask_to_stop();
    return;
  }
  QDialog::reject();
}

void MainWindow::ask_to_stop() {
  if (stop_.load()) return;  // asked and answered already; the run is ending
  QMessageBox box(QMessageBox::Question, QStringLiteral("Tolvane"), window_text(kStopQuestion),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setDefaultButton(QMessageBox::No);
  // The run may have ended while the question was open: then there is nothing to stop.
  if (box.exec() == QMessageBox::Yes && converting_) stop_.store(true);
}

// Dropped files

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (drops_enabled_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (drops_enabled_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (!drops_enabled_ || !event->mimeData()->hasUrls()) {
    event->ignore();
    return;
  }
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  add_dropped_paths(paths);
  event->acceptProposedAction();
}

// The version information

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(about_action_);
  menu.exec(event->globalPos());
}

void MainWindow::show_about() {
  AboutBox box(this);
  box.exec();
}

}  // namespace tolvane
