// The Convert command from the window: its checks, a whole run on the worker thread with the
// controls off meanwhile, the status texts in order, the one error box of a failing run, and
// opening the result only when the kind's open flag is exactly 1.
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "core/run_messages.h"
#include "photos/exif_gps.h"
#include "settings/conversion_settings.h"
#include "ui/main_window.h"
#include "ui/path_rules.h"
#include "ui/ui_thread_caller.h"
#include "ui_test_support.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

// A short drive: one point a minute, moving north-east, on 3 May 2008 (UTC).
void write_log(const QString& path, int points) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  for (int i = 0; i < points; ++i) {
    const QString time = QString::asprintf("01%02d00.000", 10 + i);
    const QString lat = QString::asprintf("%.4f", 3539.0 + 0.5 * i);
    const QString lon = QString::asprintf("%.4f", 13945.0 + 0.5 * i);
    file.write(("$GPGGA," + time + "," + lat + ",N," + lon + ",E,1,08,1.0,35.0,M,39.0,M,,*00\r\n")
                   .toLatin1());
    file.write(("$GPRMC," + time + ",A," + lat + ",N," + lon + ",E,10.0,45.0,030508,,,A*00\r\n")
                   .toLatin1());
  }
}

// A small JPEG taken at `taken` ("YYYY:MM:DD HH:MM:SS", 19 characters): an Exif segment with
// only DateTimeOriginal, right after the start of image.
void write_photo(const QString& path, const char* taken) {
  QImage image(32, 24, QImage::Format_RGB32);
  image.fill(Qt::darkGreen);
  QVERIFY(image.save(path, "JPG"));
  QFile file(path);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QByteArray jpeg = file.readAll();
  file.close();
  // IFD0 at 8 holds the Exif pointer (26); the Exif directory holds the date text at 44.
  const char tiff_head[] =
      "II\x2a\0\x08\0\0\0"
      "\x01\0\x69\x87\x04\0\x01\0\0\0\x1a\0\0\0\0\0\0\0"
      "\x01\0\x03\x90\x02\0\x14\0\0\0\x2c\0\0\0\0\0\0\0";
  QByteArray tiff(tiff_head, 44);
  tiff.append(taken, 19).append('\0');
  QByteArray segment("\xff\xe1", 2);
  const int length = 2 + 6 + static_cast<int>(tiff.size());
  segment.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xff));
  segment.append("Exif\0\0", 6).append(tiff);
  jpeg.insert(2, segment);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(jpeg);
}

bool holds_position(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  return replace_gps({data, static_cast<std::size_t>(bytes.size())}, nullptr, false).had_position;
}

// The main window with what a run shows noted on the window's own thread, right after each
// call has made its effect.
class RecordingWindow : public MainWindow {
 public:
  using MainWindow::MainWindow;

  QStringList statuses;
  std::vector<int> positions;
  std::vector<bool> controls_off;    // at each status text: all twelve buttons and dropping off
  std::function<void()> during_run;  // once, on the window's thread, at the first status text

  void set_status_text(std::string_view text) override {
    MainWindow::set_status_text(text);
    on_window_thread([this] {
      statuses << status_text();
      controls_off.push_back(all_controls_off());
      if (during_run) std::exchange(during_run, nullptr)();
    });
  }
  void set_progress(int percent) override {
    MainWindow::set_progress(percent);
    on_window_thread(
        [this] { positions.push_back(static_cast<QProgressBar*>(control(1021))->value()); });
  }

  bool all_controls_off() const {
    for (int id : kSwitchedButtonIds) {
      if (control(id)->isEnabled()) return false;
    }
    return !acceptDrops() && !accepts_dropped_files();
  }
  bool all_controls_on() const {
    for (int id : kSwitchedButtonIds) {
      if (!control(id)->isEnabled()) return false;
    }
    return acceptDrops() && accepts_dropped_files();
  }

 private:
  void on_window_thread(const std::function<void()>& work) {
    if (QThread::currentThread() == thread()) {
      work();
    } else {
      QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
    }
  }
};

struct Fixture {
  QTemporaryDir folder;
  ScriptedFileDialogs* dialogs = nullptr;
  std::unique_ptr<RecordingWindow> window;
  std::vector<std::filesystem::path> opened;

  explicit Fixture(const std::function<void(ConversionSettings&)>& adjust = nullptr) {
    ConversionSettings settings = default_settings(to_filesystem_path(folder.path()));
    if (adjust) adjust(settings);
    window = std::make_unique<RecordingWindow>(to_filesystem_path(folder.filePath("Tolvane.ini")),
                                               settings);
    auto scripted = std::make_unique<ScriptedFileDialogs>();
    dialogs = scripted.get();
    window->set_file_dialogs(std::move(scripted));
    window->set_opener([this](const std::filesystem::path& file) { opened.push_back(file); });
    window->show();
  }

  QString path(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }

  void add_logs(const QStringList& paths) {
    dialogs->open_answers.push_back(paths);
    click(window->control(1001));
  }

  // Presses Convert and waits for the run to end; its result.
  int convert() {
    QSignalSpy finished(window.get(), &MainWindow::conversion_finished);
    click(window->control(1007));
    if (!window->is_converting()) return -1;  // no run was started
    if (!finished.wait(20000)) return -2;
    return finished.at(0).at(0).toInt();
  }
};

}  // namespace

class ConvertCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void nothing_happens_without_logs() {
    Fixture f;
    MessageBoxWatcher boxes;
    f.dialogs->open_answers.push_back({f.path("a.jpg")});
    click(f.window->control(1008));
    QCOMPARE(f.convert(), -1);
    QVERIFY(f.dialogs->save_requests.empty());
    QTest::qWait(50);
    QVERIFY(boxes.boxes().empty());
    QVERIFY(f.window->all_controls_on());
  }

  void the_first_log_gives_the_output_unless_one_was_chosen() {
    Fixture f;
    MessageBoxWatcher boxes;
    write_log(f.path("drive.log"), 5);
    f.add_logs({f.path("drive.log")});
    QCOMPARE(f.window->output_path(), f.path("drive.kml"));
    // Converted at once, no save dialog on the way.
    QCOMPARE(f.convert(), 0);
    QVERIFY(f.dialogs->save_requests.empty());
    QVERIFY(QFile::exists(f.path("drive.kml")));
    // A chosen output stays when more logs come.
    f.dialogs->save_answer = f.path("chosen.kml");
    click(f.window->control(1005));
    click(f.window->control(1002));
    f.add_logs({f.path("later.log")});
    QCOMPARE(f.window->output_path(), f.path("chosen.kml"));
    QVERIFY(boxes.boxes().empty());
  }

  void a_stop_answered_yes_keeps_the_earlier_output() {
    Fixture f;
    write_log(f.path("drive.log"), 8);
    QFile earlier(f.path("drive.kml"));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier output\r\n");
    earlier.close();
    f.add_logs({f.path("drive.log")});
    QString question;
    bool off_while_asked = false;
    f.window->during_run = [&] {
      when_dialog_opens<QMessageBox>([&](QMessageBox& box) {
        question = box.text();
        off_while_asked = f.window->all_controls_off();
        box.button(QMessageBox::Yes)->click();
      });
      QTest::keyClick(f.window.get(), Qt::Key_Escape);
    };
    QCOMPARE(f.convert(), 255);
    QCOMPARE(question, QString::fromUtf8(kStopQuestion));
    QVERIFY(off_while_asked);
    QCOMPARE(f.window->status_text(), QString::fromUtf8(kConversionStopped));
    QVERIFY(f.window->isVisible());
    QVERIFY(f.window->all_controls_on());
    QVERIFY(f.opened.empty());
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("earlier output\r\n"));
    QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList({"drive.kml", "drive.log"}));
  }

  void a_whole_kml_run_from_the_window() {
    Fixture f;
    MessageBoxWatcher boxes;
    write_log(f.path("drive.log"), 8);
    f.add_logs({f.path("drive.log")});
    f.dialogs->save_answer = f.path("drive.kml");
    click(f.window->control(1005));

    // While it runs: closing asks whether to stop (answered No), drops do nothing.
    bool refused = false;
    QStringList logs_after_drop;
    f.window->during_run = [&] {
      f.window->close();
      refused = f.window->isVisible();
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(f.path("more.log"))});
      QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(f.window.get(), &drop);
      logs_after_drop = f.window->log_paths();
    };
    QCOMPARE(f.convert(), 0);

    QCOMPARE(f.window->statuses, QStringList({messages::kCheckingLogs, messages::kWritingPoints,
                                              messages::kWritingRouteLines, messages::kFinished}));
    for (bool off : f.window->controls_off) QVERIFY(off);
    QVERIFY(!f.window->positions.empty());
    QCOMPARE(f.window->positions.front(), 100);
    QCOMPARE(f.window->positions.back(), 0);
    QVERIFY(refused);
    QCOMPARE(boxes.boxes().size(), std::size_t(1));
    QCOMPARE(boxes.boxes()[0].text, QString::fromUtf8(kStopQuestion));
    QCOMPARE(logs_after_drop, QStringList({f.path("drive.log")}));

    QVERIFY(f.window->all_controls_on());
    QCOMPARE(f.window->status_text(), QString::fromUtf8(messages::kFinished));
    QCOMPARE(boxes.boxes().size(), std::size_t(1));
    QCOMPARE(f.opened.size(), std::size_t(1));
    QCOMPARE(f.opened[0], to_filesystem_path(f.path("drive.kml")));
    QFile kml(f.path("drive.kml"));
    QVERIFY(kml.open(QIODevice::ReadOnly));
    const QByteArray text = kml.readAll();
    QVERIFY(text.startsWith("<?xml"));
    QVERIFY(text.contains("2008年5月3日"));

    // Idle again, the window closes as usual.
    f.window->close();
    QVERIFY(!f.window->isVisible());
  }

  void opened_only_when_the_flag_is_exactly_one() {
    for (Flag flag : {Flag{0}, Flag{2}, Flag{-1}}) {
      Fixture f([flag](ConversionSettings& s) { s.google_earth.open_kml = flag; });
      write_log(f.path("drive.log"), 4);
      f.add_logs({f.path("drive.log")});
      f.dialogs->save_answer = f.path("drive.kml");
      QCOMPARE(f.convert(), 0);
      QVERIFY(f.opened.empty());
    }
    // The map page follows its own flag.
    Fixture off([](ConversionSettings& s) {
      s.common.kml_or_html = 1;
      s.google_earth.open_kml = 1;
      s.google_maps.open_html = 2;
    });
    write_log(off.path("drive.log"), 4);
    off.add_logs({off.path("drive.log")});
    off.dialogs->save_answer = off.path("drive.html");
    QCOMPARE(off.convert(), 0);
    QVERIFY(off.opened.empty());

    Fixture on([](ConversionSettings& s) {
      s.common.kml_or_html = 1;
      s.google_earth.open_kml = 0;
    });
    write_log(on.path("drive.log"), 4);
    on.add_logs({on.path("drive.log")});
    on.dialogs->save_answer = on.path("drive.html");
    QCOMPARE(on.convert(), 0);
    QCOMPARE(on.window->output_path(), on.path("drive.html"));  // proposed for the map page
    QVERIFY(on.window->statuses.contains(QString::fromUtf8(messages::kWritingRouteInfo)));
    QCOMPARE(on.opened.size(), std::size_t(1));
    QCOMPARE(on.opened[0], to_filesystem_path(on.path("drive.html")));
  }

  void the_ticked_geotag_box_writes_positions_after_the_output() {
    Fixture f;
    MessageBoxWatcher boxes;
    QVERIFY(!static_cast<QCheckBox*>(f.window->control(1022))->isChecked());
    click(f.window->control(1022));
    write_log(f.path("drive.log"), 8);
    f.add_logs({f.path("drive.log")});
    // Taken at 01:12:30 UTC by a camera on Japanese time (Common.GMT 9), inside the track.
    write_photo(f.path("a.jpg"), "2008:05:03 10:12:30");
    f.dialogs->open_answers.push_back({f.path("a.jpg")});
    click(f.window->control(1008));
    f.dialogs->save_answer = f.path("drive.kml");
    QCOMPARE(f.convert(), 0);
    QVERIFY(boxes.boxes().empty());
    QVERIFY(QFile::exists(f.path("drive.kml")));
    QVERIFY(holds_position(f.path("a.jpg")));
    QCOMPARE(
        f.window->status_text(),
        QString::fromUtf8("位置を書き込みました: 1 枚 (位置あり 0 枚, 航跡の外 0 枚, 失敗 0 枚)"));
    // Unticked, the next run leaves the photos alone.
    click(f.window->control(1022));
    write_photo(f.path("a.jpg"), "2008:05:03 10:12:30");
    QCOMPARE(f.convert(), 0);
    QVERIFY(!holds_position(f.path("a.jpg")));
    QCOMPARE(f.window->status_text(), QString::fromUtf8(messages::kFinished));
  }

  void a_failing_run_shows_one_error_box() {
    Fixture f;
    MessageBoxWatcher boxes;
    write_log(f.path("good.log"), 4);
    f.add_logs({f.path("good.log"), f.path("missing.log")});
    f.dialogs->save_answer = f.path("out.kml");
    QCOMPARE(f.convert(), 255);
    QCOMPARE(boxes.boxes().size(), std::size_t(1));
    QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Tolvane"));
    QCOMPARE(boxes.boxes()[0].text, QString::fromUtf8(messages::kCannotOpenInput));
    QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Critical);
    QVERIFY(f.opened.empty());
    QVERIFY(f.window->all_controls_on());
    // The lists stay as the user made them.
    QCOMPARE(f.window->log_paths(), QStringList({f.path("good.log"), f.path("missing.log")}));
  }

  void a_new_run_may_start_as_soon_as_one_ends() {
    Fixture f;
    write_log(f.path("drive.log"), 4);
    f.add_logs({f.path("drive.log")});
    f.dialogs->save_answer = f.path("drive.kml");
    int runs = 0;
    QObject::connect(f.window.get(), &MainWindow::conversion_finished, [&](int result) {
      QCOMPARE(result, 0);
      if (++runs == 1) click(f.window->control(1007));
    });
    click(f.window->control(1007));
    QTRY_COMPARE_WITH_TIMEOUT(runs, 2, 20000);
    QCOMPARE(f.opened.size(), std::size_t(2));
    QCOMPARE(f.window->statuses.count(QString::fromUtf8(messages::kFinished)), 2);
  }

  void a_waiting_worker_is_released_when_the_window_goes() {
    QObject window;
    UiThreadCaller caller(&window);
    std::atomic<bool> returned = false;
    bool ran = false;
    std::thread worker([&] {
      caller.call([&] { ran = true; });
      returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // posted, and waiting
    QVERIFY(!returned);
    caller.detach();
    worker.join();
    QVERIFY(returned);
    QCoreApplication::processEvents();
    QVERIFY(!ran);
    caller.call([&] { ran = true; });  // refused from every thread once detached
    QVERIFY(!ran);
  }

  void calls_from_a_worker_wait_for_their_effect() {
    QObject window;
    UiThreadCaller caller(&window);
    int effect = 0;
    std::atomic<int> seen = -1;
    std::thread worker([&] {
      caller.call([&] { effect = 7; });
      seen = effect;  // ordered after the call by its wait
    });
    QTRY_COMPARE(seen.load(), 7);
    worker.join();
  }
};

QTEST_MAIN(ConvertCommandTest)
#include "convert_command_test.moc"
