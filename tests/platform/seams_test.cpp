#include <gtest/gtest.h>

#include <thread>

#include "platform/message_box.h"
#include "platform/synchronize.h"

namespace rz47 {
namespace {

TEST(MessageBoxSeam, WithoutAHandlerNoBoxCanBeShown) {
  MessageBoxHandler previous = InstallMessageBoxHandler({});
  EXPECT_EQ(ShowMessageBox("text", "caption", kMbStopOk), kIdNone);
  InstallMessageBoxHandler(previous);
}

TEST(MessageBoxSeam, HandlerGetsTheArgumentsAndItsAnswerIsReturned) {
  std::string seenText, seenCaption;
  std::uint32_t seenFlags = 0;
  MessageBoxHandler previous = InstallMessageBoxHandler(
      [&](const std::string& text, const std::string& caption, std::uint32_t flags) {
        seenText = text;
        seenCaption = caption;
        seenFlags = flags;
        return kIdYes;
      });
  EXPECT_EQ(ShowMessageBox("Save x ?", "Warning", kMbYesNoCancelQuestion), kIdYes);
  EXPECT_EQ(seenText, "Save x ?");
  EXPECT_EQ(seenCaption, "Warning");
  EXPECT_EQ(seenFlags, 0x2023u);
  InstallMessageBoxHandler(previous);
}

TEST(SynchronizeSeam, RunsThroughTheInstalledMechanismOrDirectly) {
  int runs = 0;
  Synchronize([&] { ++runs; });
  EXPECT_EQ(runs, 1);
  std::thread::id ranOn;
  std::thread uiThread;
  SynchronizeFn previous = InstallSynchronizer([&](const std::function<void()>& fn) {
    std::thread t(fn);
    ranOn = t.get_id();
    t.join();
  });
  Synchronize([&] { ++runs; });
  EXPECT_EQ(runs, 2);
  EXPECT_NE(ranOn, std::this_thread::get_id());
  InstallSynchronizer(previous);
}

}  // namespace
}  // namespace rz47
