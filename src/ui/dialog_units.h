// The dialog font and dialog units: control positions are given in units of the dialog font
// (a quarter of its average character width across, an eighth of its height down) and turned
// into pixels the way a dialog manager does.
#pragma once

#include <QFont>
#include <QRect>

class QWidget;

namespace tolvane {

// "ＭＳ Ｐゴシック" 9 pt, falling back to an installed Japanese font where it is missing.
QFont dialog_font();

class DialogUnits {
 public:
  // Base units from the font: the average width of the 52 Latin letters, rounded, and the
  // font's height (ascent plus descent).
  explicit DialogUnits(const QFont& font);
  DialogUnits(int base_width, int base_height)
      : base_width_(base_width), base_height_(base_height) {}

  int base_width() const { return base_width_; }
  int base_height() const { return base_height_; }

  int x(int units) const;  // horizontal units to pixels, rounded
  int y(int units) const;  // vertical units to pixels, rounded
  // Each of x, y, width and height mapped on its own, as a dialog template is.
  QRect rect(int x, int y, int width, int height) const;

 private:
  int base_width_;
  int base_height_;
};

// Widens a caption-bearing control (check box, radio button, label) whose caption needs more
// room than its rectangle, as a font wider than the requested one may; position and height stay.
void widen_to_caption(QWidget& control);

}  // namespace tolvane
