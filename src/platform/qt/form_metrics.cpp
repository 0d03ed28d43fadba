#include "platform/qt/form_metrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace rz47 {
namespace {

double ScaleFactor() {
  QScreen* screen = QGuiApplication::primaryScreen();
  double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
  return dpi / 120.0;
}

}  // namespace

int Scaled(int px120) { return static_cast<int>(std::lround(px120 * ScaleFactor())); }

QRect ScaledRect(int left, int top, int width, int height) {
  return QRect(Scaled(left), Scaled(top), Scaled(width), Scaled(height));
}

QFont FormFont(int heightPx120) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(Scaled(heightPx120), 8));
  return font;
}

}  // namespace rz47
