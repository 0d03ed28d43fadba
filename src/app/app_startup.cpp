#include "app/app_startup.h"

#include "app/Unit1.h"
#include "app/message_boxes.h"
#include "device/session_registry.h"
#include "platform/qt/qt_synchronizer.h"
#include "platform/qt/system_format_settings.h"
#include "sim/link_selection.h"

namespace rz47 {

AppSession::AppSession(const QStringList& args) {
  InstallSystemFormatSettings();
  InstallQtSynchronizer();
  InstallQtMessageBoxes();
  InstallLinkBackend({});
  form_ = std::make_unique<TForm1>();
  // The archive named on the command line is open before the window first shows.
  if (!args.isEmpty()) form_->OpenFromCommandLine(args);
  form_->show();
}

AppSession::~AppSession() {
  // Workers still running are cancelled and joined; a late hand-over returns at once.
  BeginSynchronizerShutdown();
  CancelAndJoinSessions();
  form_.reset();
}

}  // namespace rz47
