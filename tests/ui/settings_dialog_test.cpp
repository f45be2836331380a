// The settings dialog: what it shows, how it reads the edit boxes back with its two messages,
// and that only OK changes and saves the settings.
#include "ui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "settings/conversion_settings.h"
#include "settings/settings_store.h"
#include "ui/group_frame.h"
#include "ui/main_window.h"
#include "ui/path_rules.h"
#include "ui_test_support.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

ConversionSettings defaults() { return default_settings("/opt/tolvane"); }

QLineEdit& edit(SettingsDialog& dialog, int id) {
  return *static_cast<QLineEdit*>(dialog.control(id));
}
QCheckBox& check(SettingsDialog& dialog, int id) {
  return *static_cast<QCheckBox*>(dialog.control(id));
}

// Types `text` into edit box `id`, presses OK and tells the messages that appeared.
std::vector<SeenBox> press_ok_with(SettingsDialog& dialog, int id, const QString& text) {
  edit(dialog, id).setText(text);
  MessageBoxWatcher watcher;
  click(dialog.control(1));
  return watcher.boxes();
}

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void shows_the_settings_in_tab_order() {
    SettingsDialog dialog(defaults());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("設定"));
    QCOMPARE(check(dialog, 1007).text(),
             QStringLiteral("複数のGPSログを結合する（経路・距離が合算されます）"));
    QCOMPARE(check(dialog, 1024).text(), QStringLiteral("API Keyを埋め込む"));
    QCOMPARE(static_cast<QPushButton*>(dialog.control(2))->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    QVERIFY(static_cast<QPushButton*>(dialog.control(1))->isDefault());

    // Defaults: joined logs, no own heading, the KML and map switches as shipped.
    const std::pair<int, bool> checks[] = {
        {1007, true}, {1019, false}, {1012, true},  {1014, true},  {1008, true}, {1009, false},
        {1010, true}, {1011, true},  {1021, true},  {1026, true},  {1027, true}, {1029, false},
        {1022, true}, {1023, true},  {1024, false}, {1018, false}, {1016, false}};
    for (const auto& [id, on] : checks) QCOMPARE(check(dialog, id).isChecked(), on);
    QCOMPARE(edit(dialog, 1006).text(), QStringLiteral("2"));
    QCOMPARE(edit(dialog, 1013).text(), QStringLiteral("800"));
    QCOMPARE(edit(dialog, 1015).text(), QStringLiteral("600"));
    QCOMPARE(edit(dialog, 1020).text(), QStringLiteral("10"));
    QCOMPARE(edit(dialog, 1017).text(), QStringLiteral("128"));
    QCOMPARE(edit(dialog, 1025).text(), QString());

    QCOMPARE(edit(dialog, 1035).text(), QStringLiteral("0"));
    QCOMPARE(static_cast<QComboBox*>(dialog.control(1036))->currentText(), QStringLiteral("自動"));

    const int order[] = {1007, 1035, 1006, 1012, 1014, 1008, 1009, 1010, 1011,
                         1013, 1015, 1020, 1021, 1026, 1027, 1029, 1022, 1023,
                         1024, 1025, 1017, 1018, 1016, 1036, 1,    2,    1019};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
      QCOMPARE(next_tab_stop(dialog.control(order[i])), dialog.control(order[i + 1]));
    }
    QCOMPARE(dialog.focusWidget(), dialog.control(1007));
  }

  void odd_flags_and_numbers_from_a_hand_edited_file() {
    ConversionSettings settings = defaults();
    settings.common.concate = 3;
    settings.google_maps.route = -1;
    settings.google_earth.embed_time = 2;
    settings.common.jpeg_larger_edge = -1;
    settings.google_earth.mode = -30;
    SettingsDialog dialog(settings);
    QCOMPARE(check(dialog, 1007).checkState(), Qt::Unchecked);
    QCOMPARE(check(dialog, 1026).checkState(), Qt::Unchecked);
    QCOMPARE(check(dialog, 1009).checkState(), Qt::PartiallyChecked);
    QCOMPARE(edit(dialog, 1017).text(), QStringLiteral("4294967295"));
    QCOMPARE(edit(dialog, 1006).text(), QStringLiteral("-30"));

    click(dialog.control(1));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    dialog.copy_to(settings);
    QCOMPARE(settings.common.concate, Flag{0});
    QCOMPARE(settings.google_maps.route, Flag{0});
    QCOMPARE(settings.google_earth.embed_time, Flag{2});  // untouched, the value stays
    QCOMPARE(settings.common.jpeg_larger_edge, -1);
    QCOMPARE(settings.google_earth.mode, -30);

    // Clicked once, the partly checked box is checked and then has two states only.
    SettingsDialog again(settings);
    QCheckBox& partly = check(again, 1009);
    partly.click();
    QCOMPARE(partly.checkState(), Qt::Checked);
    partly.click();
    QCOMPARE(partly.checkState(), Qt::Unchecked);
    partly.click();
    QCOMPARE(partly.checkState(), Qt::Checked);
  }

  void numbers_are_read_back_exactly() {
    {
      SettingsDialog dialog(defaults());
      QVERIFY(press_ok_with(dialog, 1006, " \t15  ").empty());
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      ConversionSettings settings = defaults();
      dialog.copy_to(settings);
      QCOMPARE(settings.google_earth.mode, 15);
    }
    {
      SettingsDialog dialog(defaults());
      QVERIFY(press_ok_with(dialog, 1020, "0").empty());
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    for (const char* bad : {"15 abc", "+0", "-0", "", "1.5"}) {
      SettingsDialog dialog(defaults());
      dialog.show();
      const auto boxes = press_ok_with(dialog, 1006, QString::fromUtf8(bad));
      QCOMPARE(boxes.size(), std::size_t(1));
      QCOMPARE(boxes[0].title, QStringLiteral("Tolvane"));
      QCOMPARE(boxes[0].text, QStringLiteral("整数を入力してください。"));
      QCOMPARE(boxes[0].icon, QMessageBox::Warning);
      QVERIFY2(dialog.isVisible(), bad);
      QCOMPARE(dialog.focusWidget(), dialog.control(1006));
      QCOMPARE(edit(dialog, 1006).selectedText(), QString::fromUtf8(bad));
    }
    {
      SettingsDialog dialog(defaults());
      dialog.show();
      const auto boxes = press_ok_with(dialog, 1017, "-5");
      QCOMPARE(boxes.size(), std::size_t(1));
      QCOMPARE(boxes[0].text, QStringLiteral("正の整数を入力してください。"));
      QVERIFY(dialog.isVisible());
      QCOMPARE(dialog.focusWidget(), dialog.control(1017));
      // The other boxes keep what the user typed.
      QCOMPARE(edit(dialog, 1017).text(), QStringLiteral("-5"));
    }
    {
      // Two malformed boxes: the first in exchange order reports, 1006 before 1013.
      SettingsDialog dialog(defaults());
      dialog.show();
      edit(dialog, 1013).setText("wide");
      const auto boxes = press_ok_with(dialog, 1006, "often");
      QCOMPARE(boxes.size(), std::size_t(1));
      QCOMPARE(dialog.focusWidget(), dialog.control(1006));
      // Mended, the next one reports.
      const auto next = press_ok_with(dialog, 1006, "5");
      QCOMPARE(next.size(), std::size_t(1));
      QCOMPARE(dialog.focusWidget(), dialog.control(1013));
    }
  }

  void photo_time_correction_beside_the_joining_box() {
    ConversionSettings settings = defaults();
    settings.common.photo_time_offset = -120;
    SettingsDialog dialog(settings);
    QCOMPARE(edit(dialog, 1035).text(), QStringLiteral("-120"));

    // The caption and the box share the first row of the common group with the joining check
    // box, in this order from the left, and stay inside the group's frame.
    QLabel* caption = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->text() == QStringLiteral("写真の時刻補正(秒)")) caption = label;
    }
    QVERIFY(caption != nullptr);
    QWidget* common = nullptr;
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
      // GroupFrame has no meta-object of its own, so it is told apart by its C++ type.
      const auto* frame = dynamic_cast<const GroupFrame*>(child);
      if (frame != nullptr && frame->caption() == QStringLiteral("共通の設定")) common = child;
    }
    QVERIFY(common != nullptr);
    const QRect box = dialog.control(1035)->geometry();
    QVERIFY(check(dialog, 1007).geometry().right() < caption->geometry().left());
    QVERIFY(caption->geometry().right() < box.left());
    QVERIFY(common->geometry().contains(box));
    const QRect joining = check(dialog, 1007).geometry();
    QVERIFY(box.top() <= joining.bottom() && box.bottom() >= joining.top());

    // A signed integer, read back exactly; anything else is refused with the integer message.
    dialog.show();
    const auto boxes = press_ok_with(dialog, 1035, "2 min");
    QCOMPARE(boxes.size(), std::size_t(1));
    QCOMPARE(boxes[0].text, QStringLiteral("整数を入力してください。"));
    QCOMPARE(dialog.focusWidget(), dialog.control(1035));
    QVERIFY(press_ok_with(dialog, 1035, "-86400").empty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    dialog.copy_to(settings);
    QCOMPARE(settings.common.photo_time_offset, -86400);
  }

  void language_choice_and_a_value_it_does_not_offer() {
    auto chosen = [](const char* stored, int index) {
      ConversionSettings settings = defaults();
      settings.common.ui_language = stored;
      SettingsDialog dialog(settings);
      auto* language = static_cast<QComboBox*>(dialog.control(1036));
      if (index >= 0) language->setCurrentIndex(index);
      if (!dialog.read_controls()) return std::string("unread");
      dialog.copy_to(settings);
      return settings.common.ui_language;
    };
    QCOMPARE(chosen("auto", 2), std::string("en"));
    QCOMPARE(chosen("en", 1), std::string("ja"));
    QCOMPARE(chosen("ja", 0), std::string("auto"));
    // A hand-written value shows as automatic and stays until another choice is made.
    QCOMPARE(chosen("fr", -1), std::string("fr"));
    QCOMPARE(chosen("fr", 1), std::string("ja"));
  }

  void key_text_passes_unchanged() {
    SettingsDialog dialog(defaults());
    edit(dialog, 1025).setText(QStringLiteral(" ABQ鍵 123 "));
    click(dialog.control(1));
    ConversionSettings settings = defaults();
    dialog.copy_to(settings);
    QCOMPARE(settings.google_maps.key, std::string(" ABQ鍵 123 "));
  }

  void only_ok_changes_and_saves() {
    QTemporaryDir folder;
    const auto ini = to_filesystem_path(folder.filePath("Tolvane.ini"));
    MainWindow window(ini, defaults());
    window.show();
    const QString ini_file = folder.filePath("Tolvane.ini");

    // Cancel, Esc and the close box after changes: nothing changes, nothing is written.
    for (int way = 0; way < 3; ++way) {
      when_dialog_opens<SettingsDialog>([way](SettingsDialog& dialog) {
        check(dialog, 1007).setChecked(false);
        edit(dialog, 1006).setText("7");
        if (way == 0) click(dialog.control(2));
        if (way == 1) QTest::keyClick(&dialog, Qt::Key_Escape);
        if (way == 2) dialog.close();
      });
      click(window.control(1006));
      QCOMPARE(window.settings().common.concate, Flag{1});
      QCOMPARE(window.settings().google_earth.mode, 2);
      QVERIFY(!QFile::exists(ini_file));
    }

    // OK without changes still writes the whole file.
    when_dialog_opens<SettingsDialog>([](SettingsDialog& dialog) { click(dialog.control(1)); });
    click(window.control(1006));
    QFile written(ini_file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().count('\n'), 62 + 3);  // every key and the three sections
    written.close();

    // OK with changes: in force at once and saved.
    when_dialog_opens<SettingsDialog>([](SettingsDialog& dialog) {
      check(dialog, 1007).setChecked(false);
      edit(dialog, 1006).setText("7");
      click(dialog.control(1));
    });
    click(window.control(1006));
    QCOMPARE(window.settings().common.concate, Flag{0});
    QCOMPARE(window.settings().google_earth.mode, 7);
    const ConversionSettings reloaded = load_settings(ini, defaults());
    QCOMPARE(reloaded.common.concate, Flag{0});
    QCOMPARE(reloaded.google_earth.mode, 7);
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
