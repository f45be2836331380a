#include "ui/group_frame.h"

#include <QFontMetrics>
#include <QPainter>

namespace tolvane {

GroupFrame::GroupFrame(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void GroupFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const int top = metrics.height() / 2;
  const QRect frame = rect().adjusted(0, top, -2, -2);

  // The etched line: a shadow line with a light line just below and to the right of it.
  const QColor shadow(128, 128, 128);
  const QColor light(255, 255, 255);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(light);
  painter.drawRect(frame.translated(1, 1));
  painter.setPen(shadow);
  painter.drawRect(frame);

  if (caption_.isEmpty()) return;
  const int indent = metrics.averageCharWidth() + 2;
  const int width = metrics.horizontalAdvance(caption_);
  const QRect text_rect(indent, 0, std::min(width, rect().width() - 2 * indent), metrics.height());
  painter.fillRect(text_rect.adjusted(-2, 0, 2, 0), palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
}

}  // namespace tolvane
