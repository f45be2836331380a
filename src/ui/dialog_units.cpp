#include "ui/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>
#include <QWidget>

namespace tolvane {

QFont dialog_font() {
  QFont font;
  // The first family that is installed wins. IPAPGothic has the same metrics as the requested
  // font, so the dialogs keep their proportions; the other Japanese families come before any
  // generic fallback so that kanji get their Japanese forms.
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("TakaoPGothic"),
                    QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("Noto Sans JP"), QStringLiteral("Source Han Sans JP")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(9);
  return font;
}

namespace {

// a * b / c rounded half away from zero, for the small non-negative and negative values of
// dialog coordinates.
int mul_div(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  base_width_ = (letters / 26 + 1) / 2;
  base_height_ = metrics.height();
}

int DialogUnits::x(int units) const { return mul_div(units, base_width_, 4); }

int DialogUnits::y(int units) const { return mul_div(units, base_height_, 8); }

QRect DialogUnits::rect(int x_units, int y_units, int width, int height) const {
  return QRect(x(x_units), y(y_units), x(width), y(height));
}

void widen_to_caption(QWidget& control) {
  const int needed = control.sizeHint().width();
  if (needed > control.width()) control.resize(needed, control.height());
}

}  // namespace tolvane
