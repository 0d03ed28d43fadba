#include "tools/color_box.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <array>

namespace rz47 {
namespace {

struct NamedColor {
  const char* name;
  QRgb rgb;
};

// The sixteen standard colours, then the extended ones.
constexpr std::array<NamedColor, 20> kFixedColors{{
    {"Black", 0x000000},      {"Maroon", 0x800000},     {"Green", 0x008000},     {"Olive", 0x808000},
    {"Navy", 0x000080},       {"Purple", 0x800080},     {"Teal", 0x008080},      {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},     {"Red", 0xFF0000},        {"Lime", 0x00FF00},      {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},       {"Fuchsia", 0xFF00FF},    {"Aqua", 0x00FFFF},      {"White", 0xFFFFFF},
    {"Money Green", 0xC0DCC0}, {"Sky Blue", 0xA6CAF0},  {"Cream", 0xFFFBF0},     {"Medium Gray", 0xA0A0A4},
}};

struct SystemColor {
  const char* name;
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

constexpr std::array<SystemColor, 10> kSystemColors{{
    {"Window", QPalette::Active, QPalette::Window},
    {"Window Text", QPalette::Active, QPalette::WindowText},
    {"Button Face", QPalette::Active, QPalette::Button},
    {"Button Text", QPalette::Active, QPalette::ButtonText},
    {"Base", QPalette::Active, QPalette::Base},
    {"Text", QPalette::Active, QPalette::Text},
    {"Highlight", QPalette::Active, QPalette::Highlight},
    {"Highlight Text", QPalette::Active, QPalette::HighlightedText},
    {"Gray Text", QPalette::Disabled, QPalette::Text},
    {"Tooltip", QPalette::Active, QPalette::ToolTipBase},
}};

QIcon Swatch(const QColor& color) {
  QPixmap pixmap(16, 12);
  pixmap.fill(color);
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
  return QIcon(pixmap);
}

}  // namespace

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent) {
  setIconSize(QSize(16, 12));
  for (const NamedColor& c : kFixedColors) {
    QColor color = QColor::fromRgb(c.rgb);
    addItem(Swatch(color), QString::fromLatin1(c.name), color);
  }
  const QPalette palette = QApplication::palette();
  for (const SystemColor& c : kSystemColors) {
    QColor color = palette.color(c.group, c.role);
    addItem(Swatch(color), QString::fromLatin1(c.name), color);
  }
  setCurrentIndex(0);
  // The box itself is only a swatch wide; the open list shows the names.
  view()->setMinimumWidth(160);
}

QColor ColorBox::Selected() const {
  QVariant data = currentData();
  return data.isValid() ? data.value<QColor>() : QColor(Qt::black);
}

void ColorBox::SetSelected(const QColor& color) {
  for (int i = 0; i < count(); ++i) {
    if (itemData(i).value<QColor>() == color) {
      setCurrentIndex(i);
      return;
    }
  }
}

}  // namespace rz47
