// The main window as a user meets it: its controls, the two lists, dropping files, the output
// file and its kind, the About box, and when the settings are written.
#include "ui/main_window.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

#include "settings/conversion_settings.h"
#include "ui/about_box.h"
#include "ui/path_list.h"
#include "ui/path_rules.h"
#include "ui/self_drawn_button.h"
#include "ui/window_arguments.h"
#include "ui_test_support.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

struct Fixture {
  QTemporaryDir folder;
  ScriptedFileDialogs* dialogs = nullptr;  // owned by the window
  std::unique_ptr<MainWindow> window;

  Fixture() { open(); }

  std::filesystem::path ini() const { return to_filesystem_path(folder.filePath("Tolvane.ini")); }

  void open() {
    window = std::make_unique<MainWindow>(ini(), default_settings(ini().parent_path()));
    auto scripted = std::make_unique<ScriptedFileDialogs>();
    dialogs = scripted.get();
    window->set_file_dialogs(std::move(scripted));
  }

  QWidget* control(int id) const { return window->control(id); }
  QString caption(int id) const {
    if (auto* button = qobject_cast<QAbstractButton*>(control(id))) return button->text();
    return static_cast<QLabel*>(control(id))->text();
  }
  PathList& list(int id) const { return *static_cast<PathList*>(control(id)); }
  QRadioButton& radio(int id) const { return *static_cast<QRadioButton*>(control(id)); }

  void choose_output(const QString& path) {
    dialogs->save_answer = path;
    click(control(1005));
  }
};

void drop(MainWindow& window, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &enter);
  QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &event);
}

// The darkest pixel inside a button's bevels, as the sum of its three channels.
int darkest_label_pixel(QWidget* button) {
  const QImage image = button->grab().toImage();
  int least = 3 * 255;
  for (int y = 3; y < image.height() - 3; ++y) {
    for (int x = 3; x < image.width() - 3; ++x) {
      const QColor c = image.pixelColor(x, y);
      least = std::min(least, c.red() + c.green() + c.blue());
    }
  }
  return least;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void starts_empty_with_its_captions_and_first_focus() {
    Fixture f;
    MainWindow& w = *f.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Tolvane"));
    QCOMPARE(f.caption(1001), QStringLiteral("リストに追加..."));
    QCOMPARE(f.caption(1003), QStringLiteral("リストから削除"));
    QCOMPARE(f.caption(1002), QStringLiteral("リスト全クリア"));
    QCOMPARE(f.caption(1008), QStringLiteral("リストに追加..."));
    QCOMPARE(f.caption(1009), QStringLiteral("リストから削除"));
    QCOMPARE(f.caption(1010), QStringLiteral("リスト全クリア"));
    QCOMPARE(f.caption(1005), QStringLiteral("指定..."));
    QCOMPARE(f.caption(1016), QStringLiteral("KMLファイル (Google Earth)"));
    QCOMPARE(f.caption(1017), QStringLiteral("HTMLファイル (Google Maps)"));
    QCOMPARE(f.caption(1006), QStringLiteral("設定..."));
    QCOMPARE(f.caption(1007), QStringLiteral("変換！"));
    QCOMPARE(f.caption(1), QStringLiteral("終了"));
    QCOMPARE(f.caption(1018), QStringLiteral("Tolvane"));

    QVERIFY(w.log_paths().isEmpty());
    QVERIFY(w.photo_paths().isEmpty());
    QVERIFY(w.output_path().isEmpty());
    QCOMPARE(f.caption(1004), QString());
    QCOMPARE(f.caption(1012), QString());
    auto* progress = static_cast<QProgressBar*>(f.control(1021));
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 100);
    QCOMPARE(progress->value(), 0);
    QVERIFY(f.radio(1016).isChecked());
    QVERIFY(!f.radio(1017).isChecked());
    QCOMPARE(w.focusWidget(), f.control(1001));
    QVERIFY(w.acceptDrops());
    QVERIFY(!w.windowIcon().isNull());
  }

  void the_geotag_box_sits_in_the_photo_group_over_no_other_control() {
    Fixture f;
    const QRect box = f.control(1022)->geometry();
    QVERIFY(f.control(1011)->geometry().bottom() < box.top());
    QVERIFY(f.control(1010)->geometry().left() > box.right());
    for (int id : {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1016,
                   1017, 1018, 1012, 1021, 1}) {
      QVERIFY2(!f.control(id)->geometry().intersects(box), qPrintable(QString::number(id)));
    }
  }

  void tab_order_and_button_faces() {
    Fixture f;
    const int order[] = {1001, 1003, 1002, 1008, 1009, 1010, 1022, 1005,
                         1016, 1017, 1006, 1007, 1,    1000, 1011};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
      QCOMPARE(next_tab_stop(f.control(order[i])), f.control(order[i + 1]));
    }
    // The convert button has its own colours; its face shows just inside the double bevel.
    f.window->show();
    for (int id : MainWindow::kSwitchedButtonIds) {
      if (id == 1016 || id == 1017) continue;
      auto* button = static_cast<SelfDrawnButton*>(f.control(id));
      const QColor face = id == 1007 ? QColor(255, 217, 255) : QColor(196, 196, 255);
      const QImage image = button->grab().toImage();
      QCOMPARE(image.pixelColor(image.width() / 2, 2), face);
      QCOMPARE(image.pixelColor(0, 0), button->colours().light_edge);
      QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1),
               button->colours().dark_edge);
    }
    // Pressed, the border is the dark edge all round.
    auto* convert = static_cast<SelfDrawnButton*>(f.control(1007));
    convert->setDown(true);
    const QImage pressed = convert->grab().toImage();
    QCOMPARE(pressed.pixelColor(0, 0), QColor(121, 0, 121));
    QCOMPARE(pressed.pixelColor(1, 1), QColor(255, 217, 255));
    convert->setDown(false);
    // Black label when enabled, grey when disabled.
    auto* settings = f.control(1006);
    QVERIFY(darkest_label_pixel(settings) < 3 * 60);
    settings->setEnabled(false);
    QVERIFY(darkest_label_pixel(settings) >= 3 * 90);
  }

  void adding_removing_and_clearing() {
    Fixture f;
    PathList& logs = f.list(1000);
    f.dialogs->open_answers = {{"/t/b.log", "/t/A.log", "/t/a.log", "/t/c.log"}};
    click(f.control(1001));
    QCOMPARE(f.dialogs->open_requests.size(), std::size_t(1));
    QCOMPARE(f.dialogs->open_requests[0].filter,
             QStringLiteral("SONY GPS-CS1K Log File (*.log);;GPX File (*.gpx);;All (*)"));
    QCOMPARE(f.dialogs->open_requests[0].default_suffix, QStringLiteral("log"));
    // Sorted without regard to case; A.log and a.log are two files here.
    QCOMPARE(logs.paths(), QStringList({"/t/A.log", "/t/a.log", "/t/b.log", "/t/c.log"}));

    // The same path again is skipped; a path that merely begins an entry is added.
    f.dialogs->open_answers = {{"/t/b.log", "/t/c.log.log", "/t/c.log"}};
    click(f.control(1001));
    QCOMPARE(logs.paths(),
             QStringList({"/t/A.log", "/t/a.log", "/t/b.log", "/t/c.log", "/t/c.log.log"}));
    f.dialogs->open_answers = {{"/t/c.log.log"}};
    click(f.control(1001));
    QCOMPARE(logs.count(), 5);
    f.dialogs->open_answers = {{"/u/c.log"}};
    click(f.control(1001));
    QCOMPARE(logs.count(), 6);
    QCOMPARE(logs.paths().last(), QStringLiteral("/u/c.log"));

    // A cancelled dialog changes nothing.
    click(f.control(1001));
    QCOMPARE(logs.count(), 6);

    // Several entries selected, each click toggling one; removal takes exactly those.
    QCOMPARE(logs.selectionMode(), QAbstractItemView::MultiSelection);
    logs.item(0)->setSelected(true);
    logs.item(2)->setSelected(true);
    logs.item(5)->setSelected(true);
    click(f.control(1003));
    QCOMPARE(logs.paths(), QStringList({"/t/a.log", "/t/c.log", "/t/c.log.log"}));
    click(f.control(1002));
    QCOMPARE(logs.count(), 0);

    // The photo list has its own buttons and filter.
    PathList& photos = f.list(1011);
    f.dialogs->open_answers = {{"/p/IMG_2.JPG", "/p/img_1.jpg"}};
    click(f.control(1008));
    QCOMPARE(f.dialogs->open_requests.back().filter, QStringLiteral("JPEG File (*.jpg);;All (*)"));
    QCOMPARE(f.dialogs->open_requests.back().default_suffix, QStringLiteral("jpg"));
    QCOMPARE(photos.paths(), QStringList({"/p/img_1.jpg", "/p/IMG_2.JPG"}));
    photos.item(1)->setSelected(true);
    click(f.control(1009));
    QCOMPARE(photos.paths(), QStringList({"/p/img_1.jpg"}));
    click(f.control(1010));
    QCOMPARE(photos.count(), 0);
    QCOMPARE(f.window->log_paths(), QStringList());
  }

  void dropped_files_go_to_their_lists() {
    Fixture f;
    QTemporaryDir dropped;
    const QString folder = dropped.filePath("trip");
    QVERIFY(QDir().mkdir(folder));
    const QString base = dropped.path() + '/';
    drop(*f.window, {base + "X.JPEG", base + "y.Jpg", base + "z.log", base + "notes.txt", folder});
    QCOMPARE(f.window->photo_paths(), QStringList({base + "X.JPEG", base + "y.Jpg"}));
    QCOMPARE(f.window->log_paths(), QStringList({base + "notes.txt", folder, base + "z.log"}));
    // Dropped again: nothing is listed twice.
    drop(*f.window, {base + "z.log", base + "X.JPEG"});
    QCOMPARE(f.window->log_paths().size(), 3);
    QCOMPARE(f.window->photo_paths().size(), 2);
  }

  void files_on_the_command_line_fill_the_lists_before_the_window_shows() {
    MessageBoxWatcher boxes;
    Fixture f;
    QTemporaryDir given;
    const QString base = given.path() + '/';
    for (const char* name : {"day.log", "IMG_1.JPG", "notes.txt"}) {
      QFile file(base + name);
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir().mkdir(base + "folder"));
    // A relative name is taken from the current folder; a duplicate is skipped, as when dropped.
    const QString current = QDir::currentPath();
    QDir::setCurrent(given.path());
    f.window->add_command_line_files({"day.log", base + "IMG_1.JPG", base + "notes.txt",
                                      base + "missing.log", base + "folder", base + "day.log"});
    QDir::setCurrent(current);
    QCOMPARE(f.window->log_paths(), QStringList({base + "day.log", base + "notes.txt"}));
    QCOMPARE(f.window->photo_paths(), QStringList({base + "IMG_1.JPG"}));
    // The first log proposes the output, with the kind's extension.
    QCOMPARE(f.window->output_path(), base + "day.kml");
    // The missing file and the folder are left out, said in the status line, not in a box.
    QCOMPARE(f.window->status_text(), QStringLiteral("2 個のファイルを追加できませんでした"));
    f.window->show();
    QTest::qWait(30);
    QVERIFY(boxes.boxes().empty());
    QVERIFY(!f.window->is_converting());
    QCOMPARE(static_cast<QLabel*>(f.control(1012))->text(), f.window->status_text());
  }

  void output_file_and_the_extension_swap() {
    Fixture f;
    MainWindow& w = *f.window;
    f.choose_output("/data/trip.HTML");
    const FileDialogRequest kml = f.dialogs->save_requests.back();
    QCOMPARE(kml.filter,
             QStringLiteral("Google Earth KML File (*.kml);;KMZ File (*.kmz);;All (*)"));
    QCOMPARE(kml.default_suffix, QStringLiteral("kml"));
    QCOMPARE(kml.initial_name, QStringLiteral("*.kml"));
    QCOMPARE(w.output_path(), QStringLiteral("/data/trip.HTML"));
    QCOMPARE(f.caption(1004), QStringLiteral("/data/trip.HTML"));

    click(&f.radio(1016));
    QCOMPARE(w.output_path(), QStringLiteral("/data/trip.kml"));
    QCOMPARE(f.caption(1004), QStringLiteral("/data/trip.kml"));
    QCOMPARE(w.settings().common.kml_or_html, Flag{0});

    click(&f.radio(1017));
    QCOMPARE(w.output_path(), QStringLiteral("/data/trip.html"));
    QVERIFY(f.radio(1017).isChecked());
    QCOMPARE(w.settings().common.kml_or_html, Flag{1});
    // A KML name typed for the map page takes the page's ending, and gives it back as a KMZ.
    f.choose_output("/data/page.KMZ");
    QCOMPARE(w.output_path(), QStringLiteral("/data/page.html"));
    click(&f.radio(1016));
    QCOMPARE(w.output_path(), QStringLiteral("/data/page.kmz"));
    click(&f.radio(1017));
    // The save dialog now offers the map page.
    f.choose_output("/data/trip.htm");
    const FileDialogRequest html = f.dialogs->save_requests.back();
    QCOMPARE(html.filter, QStringLiteral("HTML File (*.html);;All (*)"));
    QCOMPARE(html.default_suffix, QStringLiteral("html"));
    QCOMPARE(html.initial_name, QStringLiteral("*.html"));
    click(&f.radio(1016));
    QCOMPARE(w.output_path(), QStringLiteral("/data/trip.kml"));

    // A cancelled save dialog keeps the path.
    f.choose_output(QString());
    QCOMPARE(w.output_path(), QStringLiteral("/data/trip.kml"));

    // A chosen KMZ survives the way to HTML and back; a KML chosen later ends that.
    f.choose_output("/data/trip.KMZ");
    click(&f.radio(1016));
    QCOMPARE(w.output_path(), QStringLiteral("/data/trip.KMZ"));
    click(&f.radio(1017));
    QCOMPARE(w.output_path(), QStringLiteral("/data/trip.html"));
    click(&f.radio(1016));
    QCOMPARE(w.output_path(), QStringLiteral("/data/trip.kmz"));
    f.choose_output("/data/trip.kml");
    click(&f.radio(1017));
    click(&f.radio(1016));
    QCOMPARE(w.output_path(), QStringLiteral("/data/trip.kml"));

    // A very long path is shown shortened, whole in the tool tip.
    const QString long_path = "/data/" + QString(300, 'x') + ".kml";
    f.choose_output(long_path);
    QCOMPARE(w.output_path(), long_path);
    QCOMPARE(f.control(1004)->toolTip(), long_path);
    QVERIFY(f.caption(1004).size() < long_path.size());
  }

  void the_programs_own_flags() {
    const auto run = [](const QStringList& arguments, QByteArray* out = nullptr) {
      QProcess program;
      program.start(QStringLiteral(TOLVANE_WINDOW_PROGRAM), arguments);
      if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
        return -1;
      }
      if (out) *out = program.readAllStandardOutput();
      return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    };
    QByteArray out;
    QCOMPARE(run({"--help"}, &out), 0);
    QVERIFY(out.startsWith("Usage: tolvane [FILE...]\n"));
    QCOMPARE(run({"--version"}, &out), 0);
    QCOMPARE(out, QByteArray("tolvane " TOLVANE_VERSION "\n"));
    QCOMPARE(run({"day.log", "--unknown"}, &out), 2);
    QVERIFY(out.isEmpty());
    // After "--" everything is a file, dashes too.
    const WindowArguments files = parse_window_arguments({"a.log", "--", "-b.log", "--help"});
    QCOMPARE(files.outcome, WindowArguments::Outcome::kRun);
    QCOMPARE(files.files, QStringList({"a.log", "-b.log", "--help"}));
    QCOMPARE(parse_window_arguments({"-"}).outcome, WindowArguments::Outcome::kUsageError);
  }

  void switching_kind_without_output_path() {
    Fixture f;
    click(&f.radio(1017));
    QVERIFY(f.window->output_path().isEmpty());
    QVERIFY(f.radio(1017).isChecked());
    QVERIFY(!f.radio(1016).isChecked());
    QCOMPARE(f.window->settings().common.kml_or_html, Flag{1});
  }

  void exit_saves_and_the_close_box_does_not() {
    {
      Fixture f;
      f.window->show();
      click(&f.radio(1017));
      f.window->close();
      QVERIFY(!f.window->isVisible());
      QVERIFY(!QFile::exists(f.folder.filePath("Tolvane.ini")));
      f.open();
      f.window->show();
      click(&f.radio(1017));
      QTest::keyClick(f.window.get(), Qt::Key_Escape);
      QVERIFY(!f.window->isVisible());
      QVERIFY(!QFile::exists(f.folder.filePath("Tolvane.ini")));
    }
    Fixture f;
    f.window->show();
    f.choose_output("/data/trip.kml");
    click(&f.radio(1017));
    click(f.control(1));
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.window->result(), int(QDialog::Accepted));
    QFile ini(f.folder.filePath("Tolvane.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    QVERIFY(text.contains("kml_or_html=1"));
    QVERIFY(!text.contains("trip"));              // the output path is never stored
    QVERIFY(text.contains("\r\nicon_url=\r\n"));  // the default, whatever the folder then

    // The next start loads the choice once, and begins without an output file.
    f.open();
    QVERIFY(f.radio(1017).isChecked());
    QCOMPARE(f.window->settings().common.kml_or_html, Flag{1});
    QVERIFY(f.window->output_path().isEmpty());
  }

  void about_box_from_the_context_menu_and_the_keyboard() {
    Fixture f;
    f.window->show();
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QString title;
    QStringList texts;
    when_dialog_opens<AboutBox>([&](AboutBox& box) {
      title = box.windowTitle();
      for (auto* label : box.findChildren<QLabel*>()) texts << label->text();
      box.accept();
    });
    QTest::keyClick(f.window.get(), Qt::Key_F1);
    QCOMPARE(title, QStringLiteral("バージョン情報"));
    QVERIFY(texts.contains(QStringLiteral("Tolvane")));
    QVERIFY(texts.contains(QStringLiteral("Version 2.0 beta 7")));

    QStringList entries;
    when_dialog_opens<QMenu>([&](QMenu& menu) {
      for (QAction* action : menu.actions()) entries << action->text();
      menu.close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            f.window->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(f.window.get(), &event);
    QCOMPARE(entries, QStringList({QStringLiteral("Tolvane のﾊﾞｰｼﾞｮﾝ情報(&A)...")}));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
