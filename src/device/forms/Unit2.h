// TForm2: the progress window of an archive read. A bar with the percentage, a
// label for status and step texts, and "Отмена" (Cancel), which asks the running
// session to end. The worker titles the window with its step and closes it when the
// read ends; closing it by its close box only hides it (the read goes on and fills
// the table). GUI thread only.
#pragma once

#include <QDialog>

#include "device/session_targets.h"

class QPushButton;

namespace rz47 {

class TCGauge;
class TargetLabel;

class TForm2 : public QDialog, public CaptionFormTarget {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);

  TCGauge* CGauge1 = nullptr;
  TargetLabel* Label1 = nullptr;
  QPushButton* Button1 = nullptr;

  void Button1Click();

  void SetCaption(const std::string& caption) override;
  void CloseForm() override;
};

}  // namespace rz47
