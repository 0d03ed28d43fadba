#include "tools/Unit7.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

#include "device/bmtread_usb.h"
#include "device/link_state.h"
#include "platform/qt/form_metrics.h"
#include "platform/qt/qt_text.h"
#include "table/qt/grid_model.h"
#include "tools/materials_grid_view.h"
#include "tools/tool_session.h"
#include "tools/tool_texts.h"
#include "tools/tool_widgets.h"

namespace rz47 {
namespace {

// Designed client area (the outer 316 x 617 less the title bar and borders).
constexpr int kClientWidth = 308;
constexpr int kClientHeight = 583;
// How often the window looks whether its worker has ended.
constexpr int kJobWatchMs = 50;

}  // namespace

TForm7::TForm7(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Form7"));
  setFont(FormFont(14));
  setSizeGripEnabled(true);

  model_ = new GridModel(grid_, this);
  model_->SetEditable(true);
  StringGrid1 = new MaterialsGridView(this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->SetGridModel(model_);
  StringGrid1->SetKeyPressHandler([this](char& key, GridCursor& cursor) { StringGrid1KeyPress(key, cursor); });
  StringGrid1->SetEditTextHandler(
      [this](int col, int row, const std::string& value) { StringGrid1SetEditText(col, row, value); });

  CGauge1 = new ToolGauge(this);
  CGauge1->setObjectName(QStringLiteral("CGauge1"));
  CGauge1->setVisible(false);

  Label1 = new StatusLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));

  Button1 = new QPushButton(this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

  jobWatch_ = new QTimer(this);
  jobWatch_->setInterval(kJobWatchMs);
  connect(jobWatch_, &QTimer::timeout, this, [this] { WatchJob(); });

  resize(Scaled(kClientWidth), Scaled(kClientHeight));
  FormCreate();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

TForm7::~TForm7() {
  // The worker refers to this window's controls until it has ended.
  CancelAndWaitForToolJob(worker_);
  // The view and its model go before the grid data they read.
  delete StringGrid1;
  delete model_;
}

void TForm7::FormCreate() {
  setWindowTitle(QText(texts::kMaterialsCaption));
  grid_.SetRowCount(kMaterialsRowCount);
  CGauge1->setVisible(true);
  grid_.SetCell(kMaterialNumberCol, 0, Text(TextPair{"№", "№"}));
  grid_.SetCell(kMaterialNameCol, 0, Text(texts::kMaterialHeading));
  grid_.SetCell(kMaterialSpeedCol, 0, Text(texts::kSpeedHeading));
  Button1->setText(QText(texts::kLoadIntoDevice));
}

void TForm7::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // Grid and gauge follow the width; the button keeps to the bottom edge.
  const int w = width();
  const int h = height();
  StringGrid1->setGeometry(0, 0, w, Scaled(489));
  CGauge1->setGeometry(0, Scaled(491), w - Scaled(1), Scaled(11));
  Label1->move(Scaled(6), Scaled(510));
  Button1->setGeometry(Scaled(1), h - Scaled(kClientHeight - 551), w - Scaled(3), Scaled(32));
}

void TForm7::StringGrid1KeyPress(char& key, GridCursor& cursor) { key = MaterialsKeyPress(key, cursor); }

void TForm7::StringGrid1SetEditText(int col, int row, const std::string& value) {
  if (LengthGuardTriggers(col, value)) StringGrid1->WriteCell(col, row, value);
}

bool TForm7::StartRead() {
  if (!StartJob(JobReadMaterials)) return false;
  NeedMaterials = 0;
  // The rows are filled when the read ends; edits made before would be lost.
  StringGrid1->SetEditable(false);
  return true;
}

void TForm7::Button1Click() {
  if (JobRunning() || !StartJob(JobWriteMaterials)) return;
  // The next archive read takes the names back from the gauge.
  NeedMaterials = 1;
  CGauge1->setVisible(true);
}

bool TForm7::StartJob(std::uint8_t job) {
  // The gauge starts from 0, so the progress of an earlier job is not taken for this one's.
  CGauge1->setValue(0);
  worker_ = StartToolJob(job, {CGauge1, Label1, &grid_, nullptr});
  if (worker_ == nullptr) return false;
  job_ = job;
  Button1->setEnabled(false);
  jobWatch_->start();
  return true;
}

bool TForm7::JobRunning() const { return rz47::JobRunning(worker_); }

void TForm7::WatchJob() {
  if (JobRunning()) return;
  jobWatch_->stop();
  StringGrid1->SetEditable(true);
  Button1->setEnabled(true);
  emit JobEnded();
}

void TForm7::done(int result) {
  // A read or a write still waiting for the gauge is abandoned with the window; a
  // write that already sends records finishes, so the gauge never keeps half a table.
  const bool sending = job_ == JobWriteMaterials && CGauge1->value() > 0;
  if (JobRunning() && !sending) CancelToolJob(worker_);
  QDialog::done(result);
}

}  // namespace rz47
