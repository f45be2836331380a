#include "ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace tolvane {

QPixmap draw_app_icon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);

  // The tile: the window's button blue with a dark edge.
  painter.setPen(QPen(QColor(0, 0, 48), 1.2));
  painter.setBrush(QColor(196, 196, 255));
  painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);

  // The track.
  QPainterPath track;
  track.moveTo(6, 25);
  track.cubicTo(10, 14, 15, 27, 18, 17);
  track.cubicTo(20, 10, 25, 13, 26, 7);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(121, 0, 121), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(track);

  // Start and end.
  painter.setPen(QPen(QColor(0, 0, 48), 1));
  painter.setBrush(QColor(255, 248, 255));
  painter.drawEllipse(QPointF(6, 25), 2.6, 2.6);
  painter.setBrush(QColor(230, 40, 60));
  painter.drawEllipse(QPointF(26, 7), 3.2, 3.2);
  return pixmap;
}

QIcon app_icon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(draw_app_icon(size));
  return icon;
}

}  // namespace tolvane
