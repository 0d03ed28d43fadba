#include "tools/tool_widgets.h"

#include "platform/qt/qt_text.h"

namespace rz47 {

ToolGauge::ToolGauge(QWidget* parent) : QProgressBar(parent) {
  setRange(0, 100);
  setValue(0);
  setTextVisible(false);
  QPalette pal = palette();
  pal.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
  setPalette(pal);
}

void StatusLabel::SetStatusText(const std::string& text) {
  setText(ToQString(text));
  adjustSize();
}

}  // namespace rz47
