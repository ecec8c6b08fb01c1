#include "gui/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace relicor {
namespace {

constexpr int kButtonPicture = 16;

QIcon Draw(int size, const std::function<void(QPainter&)>& paint) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  paint(painter);
  painter.end();
  return QIcon(pixmap);
}

QPen Stroke(const QColor& colour) {
  QPen pen(colour, 2.4);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

}  // namespace

// A gold-rimmed shield with a red gem, as in resources/relicor.svg.
QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) {
    const QIcon one = Draw(size, [size](QPainter& p) {
      p.scale(size / 64.0, size / 64.0);
      QPainterPath shield;
      shield.moveTo(32, 4);
      shield.lineTo(56, 12);
      shield.cubicTo(56, 36, 46, 52, 32, 60);
      shield.cubicTo(18, 52, 8, 36, 8, 12);
      shield.closeSubpath();
      p.setPen(QPen(QColor(0xC8, 0xA0, 0x3C), 4));
      p.setBrush(QColor(0x30, 0x24, 0x1C));
      p.drawPath(shield);
      p.setPen(QPen(QColor(0x7A, 0x10, 0x10), 2));
      p.setBrush(QColor(0xD0, 0x20, 0x20));
      p.drawEllipse(QPointF(32, 28), 9, 9);
    });
    icon.addPixmap(one.pixmap(size, size));
  }
  return icon;
}

QIcon AddIcon() {
  return Draw(kButtonPicture, [](QPainter& p) {
    p.setPen(Stroke(QColor(0x20, 0x80, 0x20)));
    p.drawLine(8, 3, 8, 13);
    p.drawLine(3, 8, 13, 8);
  });
}

QIcon DeleteIcon() {
  return Draw(kButtonPicture, [](QPainter& p) {
    p.setPen(Stroke(QColor(0xB0, 0x20, 0x20)));
    p.drawLine(3, 8, 13, 8);
  });
}

QIcon CloseIcon() {
  return Draw(kButtonPicture, [](QPainter& p) {
    p.setPen(Stroke(QColor(0x50, 0x50, 0x50)));
    p.drawLine(4, 4, 12, 12);
    p.drawLine(12, 4, 4, 12);
  });
}

QIcon SaveIcon() {
  return Draw(kButtonPicture, [](QPainter& p) {
    p.setPen(QPen(QColor(0x20, 0x40, 0x90), 1.2));
    p.setBrush(QColor(0x40, 0x70, 0xC0));
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 2.5, 7, 4));
  });
}

QIcon OkIcon() {
  return Draw(kButtonPicture, [](QPainter& p) {
    p.setPen(Stroke(QColor(0x20, 0x80, 0x20)));
    p.drawLine(3, 8, 7, 12);
    p.drawLine(7, 12, 13, 4);
  });
}

}  // namespace relicor
