#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>

namespace rz47 {
namespace {

constexpr int kIconSize = 32;

void DrawPage(QPainter& p, const QColor& fill) {
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(fill);
  QPolygon page({QPoint(7, 3), QPoint(20, 3), QPoint(26, 9), QPoint(26, 29), QPoint(7, 29)});
  p.drawPolygon(page);
}

void DrawFlag(QPainter& p, const QColor& top, const QColor& middle, const QColor& bottom) {
  p.setPen(Qt::NoPen);
  p.fillRect(QRect(3, 7, 26, 6), top);
  p.fillRect(QRect(3, 13, 26, 6), middle);
  p.fillRect(QRect(3, 19, 26, 6), bottom);
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(3, 7, 25, 17));
}

void DrawIcon(QPainter& p, int number) {
  const QColor blue(40, 90, 170), green(40, 140, 70), red(190, 50, 40);
  switch (number) {
    case 0:  // New
      DrawPage(p, Qt::white);
      break;
    case 1:  // Open
      p.setPen(QPen(QColor(120, 90, 20), 2));
      p.setBrush(QColor(240, 200, 90));
      p.drawRect(3, 9, 26, 19);
      p.drawRect(3, 6, 10, 4);
      break;
    case 2:  // Save
      p.setPen(QPen(QColor(30, 30, 60), 2));
      p.setBrush(blue);
      p.drawRect(4, 4, 24, 24);
      p.setBrush(Qt::white);
      p.drawRect(9, 5, 14, 9);
      p.drawRect(10, 19, 12, 8);
      break;
    case 3:  // Export to a workbook
      DrawPage(p, QColor(220, 245, 220));
      p.setPen(QPen(green, 2));
      for (int y = 11; y <= 25; y += 5) p.drawLine(10, y, 23, y);
      p.drawLine(16, 9, 16, 27);
      break;
    case 4:  // Print
      p.setPen(QPen(QColor(50, 50, 50), 2));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(3, 12, 26, 12);
      p.setBrush(Qt::white);
      p.drawRect(8, 4, 16, 8);
      p.drawRect(8, 20, 16, 9);
      break;
    case 5:  // Exit
      p.setPen(QPen(red, 3));
      p.drawLine(8, 8, 24, 24);
      p.drawLine(24, 8, 8, 24);
      break;
    case 6:  // Copy
      DrawPage(p, Qt::white);
      p.translate(-4, -2);
      p.setPen(QPen(QColor(60, 60, 60), 2));
      p.setBrush(QColor(230, 230, 250));
      p.drawRect(6, 4, 14, 18);
      break;
    case 7:  // Screenshot
      p.setPen(QPen(QColor(40, 40, 40), 2));
      p.setBrush(QColor(150, 200, 150));
      p.drawRect(3, 7, 26, 18);
      p.setPen(QPen(QColor(20, 60, 20), 2));
      p.drawLine(7, 20, 13, 12);
      p.drawLine(13, 12, 18, 17);
      p.drawLine(18, 17, 25, 10);
      break;
    case 8:  // Russian
      DrawFlag(p, Qt::white, QColor(0, 57, 166), QColor(213, 43, 30));
      break;
    case 9:  // English
      DrawFlag(p, QColor(1, 33, 105), Qt::white, QColor(200, 16, 46));
      break;
    case 11:  // Help contents
      p.setPen(Qt::NoPen);
      p.setBrush(blue);
      p.drawEllipse(3, 3, 26, 26);
      p.setPen(QPen(Qt::white));
      p.setFont(QFont(QStringLiteral("DejaVu Sans"), 15, QFont::Bold));
      p.drawText(QRect(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
      break;
    case 12:  // About
      p.setPen(Qt::NoPen);
      p.setBrush(green);
      p.drawEllipse(3, 3, 26, 26);
      p.setPen(QPen(Qt::white));
      p.setFont(QFont(QStringLiteral("DejaVu Serif"), 15, QFont::Bold));
      p.drawText(QRect(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("i"));
      break;
    default:
      break;
  }
}

// The gauge seen from the front: a body with a display and a probe.
void DrawGauge(QPainter& p, const QRectF& r) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(30, 40, 60), r.width() * 0.03));
  p.setBrush(QColor(240, 150, 30));
  p.drawRoundedRect(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.05, r.width() * 0.6,
                           r.height() * 0.75), r.width() * 0.08, r.width() * 0.08);
  p.setBrush(QColor(170, 210, 170));
  p.drawRect(QRectF(r.left() + r.width() * 0.28, r.top() + r.height() * 0.13, r.width() * 0.44,
                    r.height() * 0.25));
  p.setBrush(QColor(60, 60, 70));
  p.drawRect(QRectF(r.left() + r.width() * 0.42, r.top() + r.height() * 0.8, r.width() * 0.16,
                    r.height() * 0.15));
}

}  // namespace

QIcon MenuIcon(int number) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawIcon(p, number);
  return QIcon(pixmap);
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    DrawGauge(p, QRectF(0, 0, size, size));
    icon.addPixmap(pixmap);
  }
  return icon;
}

QPixmap AboutLogo(const QSize& size) {
  QPixmap pixmap(size);
  pixmap.fill(QColor(245, 248, 252));
  QPainter p(&pixmap);
  DrawGauge(p, QRectF(size.width() * 0.05, size.height() * 0.1, size.height() * 0.8, size.height() * 0.8));
  p.setPen(QColor(30, 40, 60));
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(size.height() / 5);
  font.setBold(true);
  p.setFont(font);
  const int textLeft = static_cast<int>(size.width() * 0.52);
  const int textWidth = size.width() - textLeft - size.width() / 50;
  p.drawText(QRect(textLeft, 0, textWidth, size.height() / 2),
             Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("RZ-4.7"));
  font.setPixelSize(size.height() / 12);
  font.setBold(false);
  p.setFont(font);
  p.drawText(QRect(textLeft, size.height() / 2 + size.height() / 30, textWidth, size.height() / 2),
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             QStringLiteral("Ultrasonic thickness gauge for building materials"));
  return pixmap;
}

}  // namespace rz47
