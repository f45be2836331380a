// The rules behind the window's controls: reading numbers from edit boxes, the extension that
// follows the output kind, where a dropped file goes, the dialog filters and dialog units.
#include <QTest>
#include <string>

#include "ui/dialog_units.h"
#include "ui/edit_numbers.h"
#include "ui/file_filters.h"
#include "ui/path_rules.h"

using namespace tolvane;

class WindowRulesTest : public QObject {
  Q_OBJECT

 private slots:
  void signed_edit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "15" << true << 15;
    QTest::newRow("blanks and tabs around") << " \t 15 \t" << true << 15;
    QTest::newRow("plus sign") << "+15" << true << 15;
    QTest::newRow("negative") << "-7" << true << -7;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("zeros") << "000" << true << 0;
    QTest::newRow("zero with blanks") << "  0 " << true << 0;
    QTest::newRow("plus zero") << "+0" << false << 0;
    QTest::newRow("minus zero") << "-0" << false << 0;
    QTest::newRow("word after") << "15 abc" << false << 0;
    QTest::newRow("word before") << "abc 15" << false << 0;
    QTest::newRow("two numbers") << "1 5" << false << 0;
    QTest::newRow("hexadecimal") << "0x10" << false << 0;
    QTest::newRow("fraction") << "1.5" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("full-width digits") << "１５" << false << 0;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("too small") << "-2147483649" << false << 0;
    // Only the first 31 characters count: what follows them is not seen.
    QTest::newRow("cut after 31") << QString("15") + QString(29, ' ') + "x" << true << 15;
    QTest::newRow("within 31") << QString("15") + QString(28, ' ') + "x" << false << 0;
  }
  void signed_edit() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(int, value);
    const std::string utf8 = text.toStdString();
    const auto read = read_signed_edit(utf8);
    QCOMPARE(read.has_value(), accepted);
    if (accepted) QCOMPARE(*read, value);
  }

  void unsigned_edit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<uint>("value");
    QTest::newRow("plain") << " 128 " << true << 128u;
    QTest::newRow("plus sign") << "+5" << true << 5u;
    QTest::newRow("zero") << "0" << true << 0u;
    QTest::newRow("negative") << "-5" << false << 0u;
    QTest::newRow("negative after blanks") << "  -1" << false << 0u;
    QTest::newRow("minus zero") << "-0" << false << 0u;
    QTest::newRow("plus zero") << "+0" << false << 0u;
    QTest::newRow("largest") << "4294967295" << true << 4294967295u;
    QTest::newRow("too large") << "4294967296" << false << 0u;
    QTest::newRow("word") << "128px" << false << 0u;
  }
  void unsigned_edit() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(uint, value);
    const std::string utf8 = text.toStdString();
    const auto read = read_unsigned_edit(utf8);
    QCOMPARE(read.has_value(), accepted);
    if (accepted) QCOMPARE(*read, value);
  }

  void filters_in_qt_notation() {
    QCOMPARE(qt_filter(QString::fromUtf8(kLogFilter)),
             QStringLiteral("SONY GPS-CS1K Log File (*.log);;GPX File (*.gpx);;All (*)"));
    QCOMPARE(qt_filter(QString::fromUtf8(kPhotoFilter)),
             QStringLiteral("JPEG File (*.jpg);;All (*)"));
    QCOMPARE(qt_filter(QString::fromUtf8(kKmlFilter)),
             QStringLiteral("Google Earth KML File (*.kml);;KMZ File (*.kmz);;All (*)"));
    QCOMPARE(qt_filter(QString::fromUtf8(kHtmlFilter)),
             QStringLiteral("HTML File (*.html);;All (*)"));
    // A description without its patterns gets them; several patterns are space-separated.
    QCOMPARE(qt_filter(QStringLiteral("Pictures|*.jpg;*.jpeg||")),
             QStringLiteral("Pictures (*.jpg *.jpeg)"));
  }

  void paths_pass_to_the_conversion_unchanged() {
    const QString name = QStringLiteral("/tmp/箱根 ドライブ/ログ.log");
    QCOMPARE(from_filesystem_path(to_filesystem_path(name)), name);
    QCOMPARE(to_filesystem_path(name).filename().string(), std::string("ログ.log"));
  }

  void dialog_units_round_as_a_dialog_manager() {
    const DialogUnits du(7, 13);
    // 7 * 7 / 4 = 12.25, 7 * 13 / 8 = 11.375, 271 * 7 / 4 = 474.25, 76 * 13 / 8 = 123.5.
    QCOMPARE(du.rect(7, 7, 271, 76), QRect(12, 11, 474, 124));
    QCOMPARE(du.x(2), 4);  // 3.5 rounds away from zero
    QCOMPARE(du.y(0), 0);
  }

  void dialog_units_come_from_the_font() {
    const QFont font = dialog_font();
    QCOMPARE(font.pointSize(), 9);
    QCOMPARE(font.families().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
    const DialogUnits du(font);
    const QFontMetrics metrics(font);
    QCOMPARE(du.base_height(), metrics.height());
    QVERIFY(du.base_width() > 0);
    // A Japanese font is found for the kanji of the captions.
    QVERIFY(metrics.inFont(QChar(0x5909)));  // 変
  }
};

QTEST_MAIN(WindowRulesTest)
#include "window_rules_test.moc"
