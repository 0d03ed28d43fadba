#include "platform/message_box.h"

#include <utility>

namespace rz47 {
namespace {

MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}

}  // namespace

int ShowMessageBox(std::string text, std::string caption, std::uint32_t flags) {
  const MessageBoxHandler& handler = Handler();
  if (!handler) return kIdNone;
  return handler(text, caption, flags);
}

MessageBoxHandler InstallMessageBoxHandler(MessageBoxHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace rz47
