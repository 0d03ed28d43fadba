#include "device/forms/Unit2.h"

#include <QPushButton>

#include "device/forms/form_targets.h"
#include "device/link_state.h"
#include "device/session_texts.h"
#include "platform/qt/form_metrics.h"
#include "platform/qt/qt_text.h"

namespace rz47 {
namespace {

// Layout at 120 ppi: the bar across the top, label left and button right below it.
constexpr int kClientWidth = 416;
constexpr int kClientHeight = 49;

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  // A dialog border with the close box only; no title until the worker gives one.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QString());
  setFont(FormFont());
  setFixedSize(Scaled(kClientWidth), Scaled(kClientHeight));

  CGauge1 = new TCGauge(this);
  CGauge1->setObjectName(QStringLiteral("CGauge1"));
  CGauge1->setGeometry(ScaledRect(0, 0, 415, 21));

  Label1 = new TargetLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(ScaledRect(8, 27, 316, 17));

  Button1 = new QPushButton(QText(texts::kCancelButton), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(ScaledRect(331, 22, 85, 26));
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm2::Button1Click() { LinkCancel = 1; }

void TForm2::SetCaption(const std::string& caption) { setWindowTitle(ToQString(caption)); }

void TForm2::CloseForm() {
  if (isVisible()) reject();
}

}  // namespace rz47
