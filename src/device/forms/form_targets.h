// Widgets that a device worker drives: TCGauge, a progress bar from 0 to 100 that
// shows its percentage, and TargetLabel, a label for status and step texts. Both
// implement the worker's target interfaces (device/session_targets.h); the worker
// reaches them only through hand-overs, so they are touched on the GUI thread only.
#pragma once

#include <QLabel>
#include <QProgressBar>

#include "device/session_targets.h"

namespace rz47 {

class TCGauge : public QProgressBar, public ProgressGaugeTarget {
  Q_OBJECT
 public:
  explicit TCGauge(QWidget* parent = nullptr);

  int Progress() const { return value(); }
  void SetProgress(int percent) override;
  void SetGaugeVisible(bool visible) override { setVisible(visible); }
  // Whether the percentage is drawn on the bar.
  void SetShowText(bool show) { setTextVisible(show); }
};

class TargetLabel : public QLabel, public StatusLabelTarget {
  Q_OBJECT
 public:
  explicit TargetLabel(QWidget* parent = nullptr) : QLabel(parent) {}
  void SetStatusText(const std::string& text) override;
};

}  // namespace rz47
