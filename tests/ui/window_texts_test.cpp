// The window's texts in both languages: every caption fits its control by the window's own font
// metrics, no widened control runs into another, the English window keeps the Japanese layout,
// and every text of the catalogue is carried into the program.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <initializer_list>
#include <map>
#include <memory>

#include "core/run_messages.h"
#include "settings/conversion_settings.h"
#include "translation/translation.h"
#include "ui/about_box.h"
#include "ui/group_frame.h"
#include "ui/main_window.h"
#include "ui/path_rules.h"
#include "ui/settings_dialog.h"

using namespace tolvane;

namespace {

// Room that a caption needs beside its text inside a push button: the bevel and a little air.
constexpr int kButtonMargin = 4;

// The controls of `window` that are not group frames, each with what it is called in a failure.
std::vector<std::pair<QWidget*, QString>> controls_of(QWidget& window) {
  std::vector<std::pair<QWidget*, QString>> controls;
  for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (dynamic_cast<GroupFrame*>(child) != nullptr) continue;
    QString name = child->metaObject()->className();
    if (auto* button = qobject_cast<QAbstractButton*>(child)) name += " " + button->text();
    if (auto* label = qobject_cast<QLabel*>(child)) name += " " + label->text();
    controls.emplace_back(child, name);
  }
  return controls;
}

// The part of a control that it draws on: a caption's control as far as its caption needs (the
// dialog's own rectangles of two neighbours may touch), any other control whole.
QRect used_rect(QWidget& widget) {
  QRect used = widget.geometry();
  const bool caption = qobject_cast<QCheckBox*>(&widget) != nullptr ||
                       qobject_cast<QRadioButton*>(&widget) != nullptr ||
                       (qobject_cast<QLabel*>(&widget) != nullptr &&
                        static_cast<QLabel&>(widget).frameShape() == QFrame::NoFrame);
  // A caption's size hint ends with a little air, of which two pixels may touch a neighbour.
  if (caption) used.setWidth(std::min(used.width(), widget.sizeHint().width() - 2));
  return used;
}

QString rect_text(const QRect& r) {
  return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// True when `text` holds kana, kanji or full-width forms: a Japanese text left untranslated.
bool looks_japanese(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= 0x3000 && u <= 0x9fff) || (u >= 0xff00 && u <= 0xffef)) return true;
  }
  return false;
}

// In English, no caption of `window` is left in Japanese (the language choice names Japanese in
// its own script, which is meant).
void check_no_japanese_caption(QWidget& window) {
  for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    QString caption;
    if (auto* frame = dynamic_cast<GroupFrame*>(child)) caption = frame->caption();
    if (auto* button = qobject_cast<QAbstractButton*>(child)) caption = button->text();
    if (auto* label = qobject_cast<QLabel*>(child)) caption = label->text();
    QVERIFY2(!looks_japanese(caption + child->toolTip()), qPrintable(caption));
  }
  QVERIFY2(!looks_japanese(window.windowTitle()), qPrintable(window.windowTitle()));
}

// Every caption of `window` within its control, and no control over another or past the edge.
void check_captions_fit(QWidget& window) {
  window.show();
  QCoreApplication::processEvents();
  const auto controls = controls_of(window);
  for (const auto& [widget, name] : controls) {
    const QFontMetrics metrics(widget->font());
    if (auto* check = qobject_cast<QCheckBox*>(widget)) {
      QVERIFY2(check->sizeHint().width() <= check->width(), qPrintable(name));
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      QVERIFY2(radio->sizeHint().width() <= radio->width(), qPrintable(name));
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      const QString text = QString(button->text()).remove(QLatin1Char('&'));
      QVERIFY2(metrics.horizontalAdvance(text) + kButtonMargin <= button->width(),
               qPrintable(name));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
               qPrintable(name));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      for (int i = 0; i < combo->count(); ++i) {
        combo->setCurrentIndex(i);
        QVERIFY2(combo->sizeHint().width() <= combo->width(), qPrintable(combo->itemText(i)));
      }
    }
    QVERIFY2(window.rect().contains(widget->geometry()), qPrintable(name));
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      QVERIFY2(!used_rect(*controls[i].first).intersects(used_rect(*controls[j].first)),
               qPrintable(controls[i].second + " / " + controls[j].second + " " +
                          rect_text(used_rect(*controls[i].first)) + " " +
                          rect_text(used_rect(*controls[j].first))));
    }
  }
  for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    auto* frame = dynamic_cast<GroupFrame*>(child);
    if (frame == nullptr) continue;
    const int caption = QFontMetrics(frame->font()).horizontalAdvance(frame->caption());
    QVERIFY2(caption + 16 <= frame->width(), qPrintable(frame->caption()));
  }
}

// Where every control of `window` stands, by its place among the window's children.
std::vector<QRect> layout_of(QWidget& window) {
  std::vector<QRect> places;
  for (const auto& [widget, name] : controls_of(window)) places.push_back(widget->geometry());
  return places;
}

}  // namespace

class WindowTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void captions_fit_in_both_languages_and_the_layout_stays() {
    QTemporaryDir folder;
    const auto ini = to_filesystem_path(folder.filePath("Tolvane.ini"));
    const ConversionSettings defaults = default_settings(ini.parent_path());
    std::map<UiLanguage, std::vector<QRect>> window_places, dialog_places;
    for (const UiLanguage language : {UiLanguage::japanese, UiLanguage::english}) {
      Translation translation(language);
      QCoreApplication::installTranslator(&translation.translator());
      {
        MainWindow window(ini, defaults);
        check_captions_fit(window);
        if (QTest::currentTestFailed()) return;
        // The status line holds every status text a run or the window shows there.
        auto* status = static_cast<QLabel*>(window.control(1012));
        const std::pair<const char*, const char*> status_texts[] = {
            {messages::kRunTextContext, messages::kCheckingLogs},
            {messages::kRunTextContext, messages::kWritingPoints},
            {messages::kRunTextContext, messages::kWritingRouteLines},
            {messages::kRunTextContext, messages::kWritingRouteInfo},
            {messages::kRunTextContext, messages::kCheckingPhotos},
            {messages::kRunTextContext, messages::kReducingPhotos},
            {messages::kRunTextContext, messages::kFinished},
            {"MainWindow", kConversionStopped},
            {"MainWindow", kFilesLeftOut}};
        for (const auto& [context, source] : status_texts) {
          QString text = QCoreApplication::translate(context, source);
          if (text.contains(QLatin1String("%1"))) text = text.arg(999);
          QVERIFY2(status->fontMetrics().horizontalAdvance(text) <= status->width(),
                   qPrintable(text));
        }
        window.set_status_text(messages::kFinished);
        QCOMPARE(status->text(),
                 QCoreApplication::translate(messages::kRunTextContext, messages::kFinished));
        window_places[language] = layout_of(window);
        SettingsDialog dialog(defaults);
        check_captions_fit(dialog);
        if (QTest::currentTestFailed()) return;
        dialog_places[language] = layout_of(dialog);
        AboutBox about;
        check_captions_fit(about);
        if (QTest::currentTestFailed()) return;
        // Shown in the chosen language: English differs from the source texts.
        const bool english = language == UiLanguage::english;
        if (english) {
          for (QWidget* shown : std::initializer_list<QWidget*>{&window, &dialog, &about}) {
            check_no_japanese_caption(*shown);
            if (QTest::currentTestFailed()) return;
          }
          for (QAction* action : window.actions()) QVERIFY(!looks_japanese(action->text()));
        }
        QCOMPARE(static_cast<QPushButton*>(window.control(1007))->text(),
                 english ? QStringLiteral("Convert!") : QStringLiteral("変換！"));
      }
      QCoreApplication::removeTranslator(&translation.translator());
    }
    // The English window keeps the Japanese one's places; only widened captions grow.
    for (auto* places : {&window_places, &dialog_places}) {
      const auto& ja = (*places)[UiLanguage::japanese];
      const auto& en = (*places)[UiLanguage::english];
      QCOMPARE(en.size(), ja.size());
      for (std::size_t i = 0; i < ja.size(); ++i) {
        QCOMPARE(en[i].topLeft(), ja[i].topLeft());
        QCOMPARE(en[i].height(), ja[i].height());
      }
    }
  }

  // Every message of the catalogue has its English text in the program, and run texts that the
  // catalogue does not know pass as they are.
  void the_program_carries_every_translation() {
    QFile file(QStringLiteral(TOLVANE_SOURCE_DIR "/src/translation/tolvane_en.ts"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString catalogue = QString::fromUtf8(file.readAll());
    const Translation english(UiLanguage::english);
    const Translation japanese(UiLanguage::japanese);
    const QRegularExpression context_pattern(QStringLiteral("<name>(.*?)</name>(.*?)</context>"),
                                             QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression message_pattern(
        QStringLiteral("<source>(.*?)</source>\\s*<translation>(.*?)</translation>"),
        QRegularExpression::DotMatchesEverythingOption);
    auto unescaped = [](QString text) {
      return text.replace(QLatin1String("&amp;"), QLatin1String("&"))
          .replace(QLatin1String("&lt;"), QLatin1String("<"))
          .replace(QLatin1String("&gt;"), QLatin1String(">"));
    };
    int count = 0;
    for (const auto& context : context_pattern.globalMatch(catalogue)) {
      const QByteArray name = context.captured(1).toUtf8();
      for (const auto& message : message_pattern.globalMatch(context.captured(2))) {
        const std::string source = unescaped(message.captured(1)).toStdString();
        const QString translation = unescaped(message.captured(2));
        QVERIFY2(!translation.isEmpty(), source.c_str());
        QCOMPARE(QString::fromStdString(english.text(name.constData(), source)), translation);
        QCOMPARE(japanese.text(name.constData(), source), source);
        ++count;
      }
    }
    QVERIFY(count > 60);
    QCOMPARE(english.run_text(messages::kCannotOpenInput),
             std::string("Cannot open an input file"));
    QCOMPARE(english.run_text("unexpected failure"), std::string("unexpected failure"));
  }
};

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
