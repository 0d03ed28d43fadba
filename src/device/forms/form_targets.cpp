#include "device/forms/form_targets.h"

#include <algorithm>

#include "platform/qt/qt_text.h"

namespace rz47 {

TCGauge::TCGauge(QWidget* parent) : QProgressBar(parent) {
  setOrientation(Qt::Horizontal);
  setRange(0, 100);
  setValue(0);
  setTextVisible(true);
  setFormat(QStringLiteral("%p%"));
  setAlignment(Qt::AlignCenter);
}

void TCGauge::SetProgress(int percent) { setValue(std::clamp(percent, 0, 100)); }

void TargetLabel::SetStatusText(const std::string& text) { setText(ToQString(text)); }

}  // namespace rz47
