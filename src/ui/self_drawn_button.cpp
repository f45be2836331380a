#include "ui/self_drawn_button.h"

#include <QPainter>
#include <QPen>

namespace tolvane {

ButtonColours convert_button_colours() {
  return {QColor(255, 217, 255), QColor(121, 0, 121), QColor(255, 248, 255)};
}

ButtonColours plain_button_colours() {
  return {QColor(196, 196, 255), QColor(0, 0, 48), QColor(248, 248, 255)};
}

SelfDrawnButton::SelfDrawnButton(const QString& caption, ButtonColours colours, QWidget* parent)
    : QPushButton(caption, parent), colours_(colours) {
  // Enter presses the button that has the focus, as a dialog's push buttons do, but none of
  // them is the window's default button.
  setAutoDefault(true);
}

namespace {

// A one-pixel bevel on the border of `r`: `top_left` on the top and left edges, `bottom_right`
// on the bottom and right edges.
void draw_bevel(QPainter& painter, const QRect& r, const QColor& top_left,
                const QColor& bottom_right) {
  painter.setPen(top_left);
  painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
  painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
  painter.setPen(bottom_right);
  painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

// A one-pixel frame on the border of `r`.
void draw_frame(QPainter& painter, const QRect& r, const QColor& colour) {
  painter.setPen(colour);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(r.adjusted(0, 0, -1, -1));
}

// The dotted rectangle of keyboard focus: every other pixel.
void draw_focus_rect(QPainter& painter, const QRect& r) {
  QPen pen(Qt::black);
  pen.setWidth(0);
  pen.setDashPattern({1.0, 1.0});
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

void SelfDrawnButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect whole = rect();
  painter.fillRect(whole, colours_.face);
  if (hasFocus()) draw_focus_rect(painter, whole.adjusted(4, 4, -4, -4));

  const QRect inner = whole.adjusted(1, 1, -1, -1);
  QRect label = inner.adjusted(1, 1, -1, -1);
  if (isDown()) {
    draw_frame(painter, whole, colours_.dark_edge);
    draw_frame(painter, inner, colours_.face);
    label.adjust(2, 2, 0, 0);
  } else {
    draw_bevel(painter, whole, colours_.light_edge, colours_.dark_edge);
    draw_bevel(painter, inner, colours_.light_edge, colours_.dark_edge);
  }

  painter.setPen(isEnabled() ? QColor(Qt::black) : kDisabledLabelColour);
  painter.setFont(font());
  painter.drawText(label, Qt::AlignCenter | Qt::TextSingleLine, text());
}

}  // namespace tolvane
