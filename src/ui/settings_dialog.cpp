#include "ui/settings_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "ui/dialog_units.h"
#include "ui/edit_numbers.h"
#include "ui/flag_check_box.h"
#include "ui/group_frame.h"

namespace tolvane {

namespace {

struct CheckBoxLayout {
  int id;
  const char* caption;
  int x, y, width, height;
};

// A text of the dialog in the language of the program.
QString dialog_text(const char* source) {
  return QCoreApplication::translate("SettingsDialog", source);
}

// The values of Common.ui_language in the order the dialog offers them, with their captions;
// the languages are named in their own language.
struct LanguageChoice {
  const char* value;
  const char* caption;
};
constexpr LanguageChoice kLanguageChoices[] = {
    {"auto", QT_TRANSLATE_NOOP("SettingsDialog", "自動")},
    {"ja", QT_TRANSLATE_NOOP("SettingsDialog", "日本語")},
    {"en", QT_TRANSLATE_NOOP("SettingsDialog", "English")},
};

struct EditLayout {
  int id;
  int x, y, width, height;
};

}  // namespace

SettingsDialog::SettingsDialog(const ConversionSettings& settings, QWidget* parent)
    : QDialog(parent) {
  const auto& c = settings.common;
  const auto& e = settings.google_earth;
  const auto& m = settings.google_maps;
  fields_.concate = c.concate;
  fields_.own_direction = c.own_direction;
  fields_.jpeg_quit_overwrite = c.jpeg_quit_overwrite;
  fields_.jpeg_embed_link = c.jpeg_embed_link;
  fields_.jpeg_larger_edge = static_cast<std::uint32_t>(c.jpeg_larger_edge);
  fields_.photo_time_offset = c.photo_time_offset;
  fields_.earth_day_hourly = e.day_hourly;
  fields_.earth_embed_time = e.embed_time;
  fields_.earth_direction_icon = e.direction_icon;
  fields_.earth_no_receive_path = e.no_receive_path;
  fields_.earth_show_distance = e.show_distance;
  fields_.earth_open_kml = e.open_kml;
  fields_.earth_mode = e.mode;
  fields_.maps_xsize = m.xsize;
  fields_.maps_ysize = m.ysize;
  fields_.maps_mode = m.mode;
  fields_.maps_direction_icon = m.direction_icon;
  fields_.maps_no_receive_path = m.no_receive_path;
  fields_.maps_route = m.route;
  fields_.maps_show_analog = m.show_analog;
  fields_.maps_show_altitude = m.show_altitude;
  fields_.maps_open_html = m.open_html;
  fields_.maps_use_key = m.use_key;
  fields_.maps_key = QString::fromStdString(m.key);
  fields_.ui_language = QString::fromStdString(c.ui_language);

  setWindowTitle(dialog_text(QT_TRANSLATE_NOOP("SettingsDialog", "設定")));
  setFont(dialog_font());
  build_controls();
  build_steps();
  write_controls();
}

void SettingsDialog::build_controls() {
  const DialogUnits du(font());
  setFixedSize(du.x(299), du.y(431));

  auto group = [&](const char* caption, QRect rect) {
    auto* box = new GroupFrame(dialog_text(caption), this);
    box->setGeometry(rect);
    box->lower();
  };
  group(QT_TRANSLATE_NOOP("SettingsDialog", "共通の設定"), du.rect(7, 8, 285, 42));
  group(QT_TRANSLATE_NOOP("SettingsDialog", "Google Earthの設定"), du.rect(7, 57, 285, 121));
  group(QT_TRANSLATE_NOOP("SettingsDialog", "Google Mapsの設定"), du.rect(7, 184, 285, 142));
  group(QT_TRANSLATE_NOOP("SettingsDialog", "デジカメ画像の設定"), du.rect(7, 333, 285, 71));

  auto label = [&](const char* caption, QRect rect) {
    auto* text = new QLabel(dialog_text(caption), this);
    text->setGeometry(rect);
    widen_to_caption(*text);
  };
  label(QT_TRANSLATE_NOOP("SettingsDialog", "ポイントの作成"), du.rect(13, 70, 43, 9));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "分ごと（0分の場合ポイントなし）"),
        du.rect(84, 70, 106, 9));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "地図の横サイズ"), du.rect(14, 200, 48, 8));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "ピクセル"), du.rect(90, 200, 26, 8));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "縦サイズ"), du.rect(119, 200, 27, 8));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "ピクセル"), du.rect(176, 200, 26, 8));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "ポイントの作成"), du.rect(15, 216, 43, 9));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "分ごと（0分の場合ポイントなし）"),
        du.rect(86, 216, 106, 9));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "写真の時刻補正(秒)"), du.rect(190, 21, 62, 9));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "縮小JPEGファイルの長辺"), du.rect(14, 348, 74, 9));
  label(QT_TRANSLATE_NOOP("SettingsDialog", "ピクセル"), du.rect(114, 348, 30, 9));
  label(QT_TRANSLATE_NOOP("SettingsDialog",
                          "（2度目以降の処理が高速化されます。"
                          "サイズを変更して再生成したい場合にはoffにしてください）"),
        du.rect(10, 391, 279, 8));

  static const CheckBoxLayout check_boxes[] = {
      {1007,
       QT_TRANSLATE_NOOP("SettingsDialog", "複数のGPSログを結合する（経路・距離が合算されます）"),
       14, 20, 175, 11},
      {1012, QT_TRANSLATE_NOOP("SettingsDialog", "距離を表示する"), 14, 84, 59, 11},
      {1014,
       QT_TRANSLATE_NOOP("SettingsDialog",
                         "日付表示を1時間に1回にする（offにすると全ポイントに表示されます）"),
       14, 99, 215, 11},
      {1008, QT_TRANSLATE_NOOP("SettingsDialog", "方位アイコンを表示する"), 14, 115, 230, 11},
      {1009,
       QT_TRANSLATE_NOOP("SettingsDialog",
                         "時刻情報をKMLに埋め込む（Google Earth画面上の時刻バーを広げてください）"),
       14, 130, 244, 11},
      {1010, QT_TRANSLATE_NOOP("SettingsDialog", "GPS受信が途切れた部分は経路の色を変える"), 14,
       145, 146, 11},
      {1011, QT_TRANSLATE_NOOP("SettingsDialog", "生成したKMLをすぐにGoogle Earthで開く"), 14, 161,
       146, 11},
      {1021, QT_TRANSLATE_NOOP("SettingsDialog", "方位アイコンを表示する"), 14, 229, 230, 11},
      {1026, QT_TRANSLATE_NOOP("SettingsDialog", "ルートの再生を可能にする"), 14, 244, 230, 11},
      {1027, QT_TRANSLATE_NOOP("SettingsDialog", "画面上にアナログ時計を表示する"), 28, 258, 116,
       11},
      {1029, QT_TRANSLATE_NOOP("SettingsDialog", "画面上に高度計を表示する（誤差大きいです）"), 143,
       258, 141, 11},
      {1022, QT_TRANSLATE_NOOP("SettingsDialog", "GPS受信が途切れた部分は経路の色を変える"), 14,
       272, 146, 11},
      {1023, QT_TRANSLATE_NOOP("SettingsDialog", "生成したHTMLをすぐにブラウザで開く"), 14, 288,
       146, 11},
      {1024, QT_TRANSLATE_NOOP("SettingsDialog", "API Keyを埋め込む"), 14, 304, 69, 11},
      {1018,
       QT_TRANSLATE_NOOP(
           "SettingsDialog",
           "元画像へのリンクを含める（生成後にファイルを移動しないようご注意ください）"),
       14, 362, 241, 11},
      {1016,
       QT_TRANSLATE_NOOP("SettingsDialog", "縮小JPEGファイルがすでに存在したら処理をスキップする"),
       14, 377, 183, 11},
      {1019,
       QT_TRANSLATE_NOOP(
           "SettingsDialog",
           "方位をソフト内で独自に演算する（他機種をお使いで、方位アイコンが正常に出ない場合）"),
       14, 34, 269, 11},
  };
  for (const auto& box : check_boxes) {
    auto* check = new FlagCheckBox(dialog_text(box.caption), this);
    check->setGeometry(du.rect(box.x, box.y, box.width, box.height));
    widen_to_caption(*check);
    controls_[box.id] = check;
  }

  static const EditLayout edits[] = {
      {1006, 63, 68, 16, 12},  {1013, 65, 197, 21, 12},  {1015, 150, 197, 21, 12},
      {1020, 65, 214, 16, 12}, {1025, 85, 303, 194, 12}, {1017, 93, 346, 16, 12},
      {1035, 254, 19, 31, 12},
  };
  for (const auto& layout : edits) {
    auto* edit = new QLineEdit(this);
    edit->setGeometry(du.rect(layout.x, layout.y, layout.width, layout.height));
    edit->setTextMargins(0, 0, 0, 0);
    controls_[layout.id] = edit;
  }

  // The language, left of the buttons: a choice of the program rather than of the outputs.
  label(QT_TRANSLATE_NOOP("SettingsDialog", "表示言語"), du.rect(7, 413, 31, 9));
  auto* language = new QComboBox(this);
  for (const auto& [value, caption] : kLanguageChoices) {
    language->addItem(dialog_text(caption), QString::fromLatin1(value));
  }
  language->setGeometry(du.rect(39, 410, 40, 14));
  language->setToolTip(
      dialog_text(QT_TRANSLATE_NOOP("SettingsDialog", "次回の起動から有効になります")));
  controls_[1036] = language;

  auto* ok = new QPushButton(dialog_text(QT_TRANSLATE_NOOP("SettingsDialog", "OK")), this);
  ok->setGeometry(du.rect(167, 410, 50, 14));
  ok->setDefault(true);
  controls_[1] = ok;
  auto* cancel = new QPushButton(dialog_text(QT_TRANSLATE_NOOP("SettingsDialog", "ｷｬﾝｾﾙ")), this);
  cancel->setGeometry(du.rect(81, 410, 50, 14));
  controls_[2] = cancel;
  connect(ok, &QPushButton::clicked, this, &SettingsDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &SettingsDialog::reject);

  static const int tab_order[] = {1007, 1035, 1006, 1012, 1014, 1008, 1009, 1010, 1011,
                                  1013, 1015, 1020, 1021, 1026, 1027, 1029, 1022, 1023,
                                  1024, 1025, 1017, 1018, 1016, 1036, 1,    2,    1019};
  for (std::size_t i = 0; i + 1 < std::size(tab_order); ++i) {
    setTabOrder(controls_.at(tab_order[i]), controls_.at(tab_order[i + 1]));
  }
  controls_.at(1007)->setFocus();
}

void SettingsDialog::build_steps() {
  auto& f = fields_;
  auto check = [](int id, int& field) { return Step{id, Kind::check, &field}; };
  auto number = [](int id, std::int32_t& field) {
    return Step{id, Kind::signed_number, nullptr, &field};
  };
  steps_ = {
      check(1007, f.concate),
      check(1014, f.earth_day_hourly),
      check(1008, f.earth_direction_icon),
      check(1009, f.earth_embed_time),
      check(1010, f.earth_no_receive_path),
      check(1012, f.earth_show_distance),
      number(1006, f.earth_mode),
      check(1011, f.earth_open_kml),
      check(1021, f.maps_direction_icon),
      check(1022, f.maps_no_receive_path),
      check(1023, f.maps_open_html),
      number(1020, f.maps_mode),
      check(1024, f.maps_use_key),
      number(1013, f.maps_xsize),
      number(1015, f.maps_ysize),
      Step{1025, Kind::text, nullptr, nullptr, nullptr, &f.maps_key},
      check(1026, f.maps_route),
      check(1027, f.maps_show_analog),
      check(1016, f.jpeg_quit_overwrite),
      Step{1017, Kind::unsigned_number, nullptr, nullptr, &f.jpeg_larger_edge},
      check(1029, f.maps_show_altitude),
      check(1018, f.jpeg_embed_link),
      check(1019, f.own_direction),
      number(1035, f.photo_time_offset),
      Step{1036, Kind::choice, nullptr, nullptr, nullptr, &f.ui_language},
  };
}

QWidget* SettingsDialog::control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

void SettingsDialog::write_controls() {
  for (const Step& step : steps_) {
    QWidget* widget = controls_.at(step.id);
    switch (step.kind) {
      case Kind::check:
        if (*step.flag < 0 || *step.flag > 2) *step.flag = 0;
        static_cast<FlagCheckBox*>(widget)->set_value(*step.flag);
        break;
      case Kind::signed_number:
        static_cast<QLineEdit*>(widget)->setText(QString::number(*step.number));
        break;
      case Kind::unsigned_number:
        static_cast<QLineEdit*>(widget)->setText(QString::number(*step.unsigned_number));
        break;
      case Kind::text:
        static_cast<QLineEdit*>(widget)->setText(*step.text);
        break;
      case Kind::choice: {
        // A value the dialog does not offer shows as "auto", which is how it acts.
        auto* combo = static_cast<QComboBox*>(widget);
        combo->setCurrentIndex(std::max(combo->findData(*step.text), 0));
        break;
      }
    }
  }
}

bool SettingsDialog::read_controls() {
  for (const Step& step : steps_) {
    QWidget* widget = controls_.at(step.id);
    if (step.kind == Kind::check) {
      *step.flag = static_cast<FlagCheckBox*>(widget)->value();
      continue;
    }
    if (step.kind == Kind::choice) {
      // An unoffered value is kept until another choice is made.
      auto* combo = static_cast<QComboBox*>(widget);
      if (combo->currentIndex() != std::max(combo->findData(*step.text), 0)) {
        *step.text = combo->currentData().toString();
      }
      continue;
    }
    auto* edit = static_cast<QLineEdit*>(widget);
    if (step.kind == Kind::text) {
      *step.text = edit->text();
      continue;
    }
    const QByteArray text = edit->text().toUtf8();
    const std::string_view view(text.constData(), static_cast<std::size_t>(text.size()));
    const char* failure = nullptr;
    if (step.kind == Kind::signed_number) {
      if (const auto value = read_signed_edit(view)) {
        *step.number = *value;
      } else {
        failure = kEnterInteger;
      }
    } else if (const auto value = read_unsigned_edit(view)) {
      *step.unsigned_number = *value;
    } else {
      failure = kEnterPositiveInteger;
    }
    if (failure != nullptr) {
      QMessageBox::warning(this, QStringLiteral("Tolvane"), dialog_text(failure));
      edit->setFocus();
      edit->selectAll();
      return false;
    }
  }
  return true;
}

void SettingsDialog::accept() {
  if (read_controls()) QDialog::accept();
}

void SettingsDialog::copy_to(ConversionSettings& settings) const {
  auto& c = settings.common;
  auto& e = settings.google_earth;
  auto& m = settings.google_maps;
  const auto& f = fields_;
  c.concate = static_cast<Flag>(f.concate);
  c.own_direction = static_cast<Flag>(f.own_direction);
  c.jpeg_quit_overwrite = static_cast<Flag>(f.jpeg_quit_overwrite);
  c.jpeg_embed_link = static_cast<Flag>(f.jpeg_embed_link);
  c.jpeg_larger_edge = static_cast<std::int32_t>(f.jpeg_larger_edge);
  c.photo_time_offset = f.photo_time_offset;
  e.day_hourly = static_cast<Flag>(f.earth_day_hourly);
  e.embed_time = static_cast<Flag>(f.earth_embed_time);
  e.direction_icon = static_cast<Flag>(f.earth_direction_icon);
  e.no_receive_path = static_cast<Flag>(f.earth_no_receive_path);
  e.show_distance = static_cast<Flag>(f.earth_show_distance);
  e.open_kml = static_cast<Flag>(f.earth_open_kml);
  e.mode = f.earth_mode;
  m.xsize = f.maps_xsize;
  m.ysize = f.maps_ysize;
  m.mode = f.maps_mode;
  m.direction_icon = static_cast<Flag>(f.maps_direction_icon);
  m.no_receive_path = static_cast<Flag>(f.maps_no_receive_path);
  m.route = static_cast<Flag>(f.maps_route);
  m.show_analog = static_cast<Flag>(f.maps_show_analog);
  m.show_altitude = static_cast<Flag>(f.maps_show_altitude);
  m.open_html = static_cast<Flag>(f.maps_open_html);
  m.use_key = static_cast<Flag>(f.maps_use_key);
  m.key = f.maps_key.toStdString();
  c.ui_language = f.ui_language.toStdString();
}

}  // namespace tolvane
