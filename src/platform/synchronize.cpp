#include "platform/synchronize.h"

#include <utility>

namespace rz47 {
namespace {

SynchronizeFn& Synchronizer() {
  static SynchronizeFn synchronizer;
  return synchronizer;
}

}  // namespace

void Synchronize(const std::function<void()>& fn) {
  const SynchronizeFn& sync = Synchronizer();
  if (sync) sync(fn);
  else fn();
}

SynchronizeFn InstallSynchronizer(SynchronizeFn synchronizer) {
  return std::exchange(Synchronizer(), std::move(synchronizer));
}

}  // namespace rz47
