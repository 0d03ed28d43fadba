// TForm1: reading the archive from the gauge ("Read from device").
#include <QCoreApplication>
#include <QEventLoop>

#include "app/Unit1.h"
#include "device/bmtread_usb.h"
#include "device/forms/Unit2.h"
#include "device/forms/form_targets.h"
#include "device/link_state.h"
#include "device/session_registry.h"
#include "device/session_texts.h"
#include "platform/message_box.h"
#include "platform/text_pair.h"

namespace rz47 {

struct TForm1::DeviceArea {
  std::unique_ptr<TForm2> progressForm;
};

void TForm1::DeviceAreaDeleter::operator()(DeviceArea* area) const { delete area; }

TForm1::DeviceTeardown::~DeviceTeardown() {
  // Hand-overs the worker already queued still run while it is waited for.
  CancelAndJoinSessions([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

void TForm1::Button1Click() {
  if (SessionRunning()) {
    ShowMessageBox(Text(texts::kDeviceBusy), Text(texts::kWarningCaption), kMbStopOk);
    return;
  }
  if (!deviceArea_) deviceArea_.reset(new DeviceArea);
  // The previous window's worker has ended (no session runs), so it may go now.
  deviceArea_->progressForm = std::make_unique<TForm2>(this);
  TForm2* form = deviceArea_->progressForm.get();
  form->hide();
  LinkStep = StepConnect;
  LinkJob = JobReadArchive;
  auto worker = std::make_shared<BMTreadUSB>();
  worker->SetTargets(form->CGauge1, form, form->Label1, &grid_, nullptr);
  if (!StartSession(worker)) return;
  form->exec();
}

}  // namespace rz47
