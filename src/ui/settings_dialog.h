// The settings dialog: edits 25 of the settings on a copy, which goes back to the caller only
// when the dialog closes with OK and every number in it reads correctly.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <map>
#include <vector>

#include "settings/conversion_settings.h"

namespace tolvane {

// The dialog's messages, marked for the translation catalogue under "SettingsDialog".
inline constexpr const char* kEnterInteger =
    QT_TRANSLATE_NOOP("SettingsDialog", "整数を入力してください。");
inline constexpr const char* kEnterPositiveInteger =
    QT_TRANSLATE_NOOP("SettingsDialog", "正の整数を入力してください。");

class SettingsDialog : public QDialog {
 public:
  // Copies the 25 settings and shows them.
  explicit SettingsDialog(const ConversionSettings& settings, QWidget* parent = nullptr);

  // After the dialog was accepted: the edited settings into `settings`; the others are left as
  // they are.
  void copy_to(ConversionSettings& settings) const;

  // The control with the given id (1006 to 1029, 1035 for the photo time correction, 1036 for
  // the language, 1 for OK, 2 for Cancel); null when unknown.
  QWidget* control(int id) const;

  // Shows every field in its control.
  void write_controls();
  // Reads and checks every control in exchange order. At the first edit box that does not
  // read, shows its message, puts the focus into it with its text selected and returns false.
  bool read_controls();

 public slots:
  void accept() override;

 private:
  enum class Kind { check, signed_number, unsigned_number, text, choice };
  struct Step {
    int id;
    Kind kind;
    int* flag = nullptr;
    std::int32_t* number = nullptr;
    std::uint32_t* unsigned_number = nullptr;
    QString* text = nullptr;
  };

  struct Fields {
    int concate, own_direction, jpeg_quit_overwrite, jpeg_embed_link;
    std::uint32_t jpeg_larger_edge;
    std::int32_t photo_time_offset;
    int earth_day_hourly, earth_embed_time, earth_direction_icon, earth_no_receive_path,
        earth_show_distance, earth_open_kml;
    std::int32_t earth_mode;
    std::int32_t maps_xsize, maps_ysize, maps_mode;
    int maps_direction_icon, maps_no_receive_path, maps_route, maps_show_analog, maps_show_altitude,
        maps_open_html, maps_use_key;
    QString maps_key;
    QString ui_language;
  };

  void build_controls();
  void build_steps();

  Fields fields_{};
  std::vector<Step> steps_;
  std::map<int, QWidget*> controls_;
};

}  // namespace tolvane
