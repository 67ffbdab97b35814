// Drawing the icon: a blue car seen from the side, and a magnifying glass over its front.
#include "shell/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace quorvel {

QImage drawIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 128.0, size / 128.0);  // drawn on a 128-unit square

  // The car: body, cabin with windows, two wheels.
  const QColor body(0x1E, 0x5A, 0xA8);
  const QColor outline(0x10, 0x2E, 0x55);
  painter.setPen(QPen(outline, 4));
  painter.setBrush(body);
  QPainterPath car;
  car.moveTo(8, 88);
  car.lineTo(8, 68);
  car.quadTo(10, 60, 20, 58);
  car.lineTo(34, 56);
  car.lineTo(48, 38);
  car.quadTo(52, 34, 60, 34);
  car.lineTo(88, 34);
  car.quadTo(96, 34, 100, 40);
  car.lineTo(110, 56);
  car.quadTo(120, 58, 120, 68);
  car.lineTo(120, 88);
  car.closeSubpath();
  painter.drawPath(car);
  painter.setBrush(QColor(0xCF, 0xE8, 0xFF));
  painter.setPen(QPen(outline, 3));
  painter.drawPolygon(QPolygonF({QPointF(44, 56), QPointF(54, 42), QPointF(72, 42), QPointF(72, 56)}));
  painter.drawPolygon(QPolygonF({QPointF(78, 56), QPointF(78, 42), QPointF(92, 42), QPointF(101, 56)}));
  painter.setBrush(QColor(0x33, 0x33, 0x33));
  painter.setPen(QPen(Qt::black, 3));
  painter.drawEllipse(QPointF(34, 90), 13, 13);
  painter.drawEllipse(QPointF(94, 90), 13, 13);
  painter.setBrush(QColor(0xBB, 0xBB, 0xBB));
  painter.drawEllipse(QPointF(34, 90), 5, 5);
  painter.drawEllipse(QPointF(94, 90), 5, 5);

  // The magnifying glass: a handle, then a tinted lens ringed in gold.
  painter.setPen(QPen(QColor(0x5A, 0x3A, 0x1A), 12, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(98, 44), QPointF(120, 22));
  painter.setPen(QPen(QColor(0xE0, 0xA8, 0x20), 8));
  painter.setBrush(QColor(255, 255, 255, 90));
  painter.drawEllipse(QPointF(80, 62), 24, 24);
  return image;
}

}  // namespace quorvel
