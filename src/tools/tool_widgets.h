// The progress gauge and the status label of the tool windows, as widgets that are
// also the device worker's targets (device/session_targets.h): the worker's
// hand-overs set them on the GUI thread. GUI thread only.
#pragma once

#include <QLabel>
#include <QProgressBar>

#include "device/session_targets.h"

namespace rz47 {

// A thin bar from 0 to 100 with no percentage text, drawn in navy.
class ToolGauge : public QProgressBar, public ProgressGaugeTarget {
  Q_OBJECT
 public:
  explicit ToolGauge(QWidget* parent = nullptr);
  void SetProgress(int percent) override { setValue(percent); }
  void SetGaugeVisible(bool visible) override { setVisible(visible); }
};

// A label that shows the worker's status and step texts (Windows-1251).
class StatusLabel : public QLabel, public StatusLabelTarget {
  Q_OBJECT
 public:
  explicit StatusLabel(QWidget* parent = nullptr) : QLabel(parent) {}
  void SetStatusText(const std::string& text) override;
};

}  // namespace rz47
