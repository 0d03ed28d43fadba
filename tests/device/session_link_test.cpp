// The session's link handling: finding the gauge, the attempt loop, the firmware
// gate, cancel at every step, closing (also after an unplug), priorities, and one
// session at a time. The screen job is the shortest job that exercises a transfer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "device/allocation_failure.h"
#include "device/session_registry.h"
#include "session_harness.h"

namespace rz47::test {
namespace {

constexpr int kScreen = 0x06;
constexpr int kVersion = 0x01;

int Count(const std::vector<int>& v, int value) { return static_cast<int>(std::count(v.begin(), v.end(), value)); }

struct ChoiceCase {
  const char* name;
  std::vector<std::string> descriptions;
  int opened;
};

class ConnectChoiceTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ConnectChoiceTest, OpensTheLastMatchingDevice) {
  SessionRun run;
  run.gauge->descriptions = GetParam().descriptions;
  run.withImage = true;
  run.Run(JobReadScreen);
  EXPECT_EQ(run.gauge->OpenedIndex(), GetParam().opened) << GetParam().name;
  EXPECT_TRUE(run.worker->JobCompleted());
  EXPECT_FALSE(run.gauge->DeviceOpen());
}

INSTANTIATE_TEST_SUITE_P(Devices, ConnectChoiceTest,
                         testing::Values(ChoiceCase{"only the gauge", {"RZ-4.7"}, 0},
                                         ChoiceCase{"gauge after a stranger", {"FT232R USB UART", "RZ-4.7 USB"}, 1},
                                         ChoiceCase{"two gauges", {"RZ-4.7 first", "RZ-4.7 second", "other"}, 1}));

struct ConnectFaultCase {
  const char* name;
  std::string failingCall;
  const char* label;
};

class ConnectFaultTest : public testing::TestWithParam<ConnectFaultCase> {};

TEST_P(ConnectFaultTest, StatusShownConnectRepeatsAndTheGaugeIsFoundOnceTheFaultEnds) {
  SessionRun run;
  run.withImage = true;
  int failures = 0;
  run.gauge->fail = [&](const std::string& call) -> FT_STATUS {
    if (call == GetParam().failingCall && failures < 3) return ++failures, FT_IO_ERROR;
    return FT_OK;
  };
  run.Run(JobReadScreen);
  EXPECT_TRUE(run.log.Saw(std::string("label ") + GetParam().label)) << GetParam().name;
  EXPECT_TRUE(run.log.Saw("title Подключение"));
  EXPECT_TRUE(run.worker->JobCompleted()) << GetParam().name;
  EXPECT_EQ(run.gauge->CountCalls("Create"), 4) << GetParam().name;
  for (const LinkCall& call : run.gauge->Calls()) EXPECT_TRUE(call.validHandle) << call.name;
}

INSTANTIATE_TEST_SUITE_P(Calls, ConnectFaultTest,
                         testing::Values(ConnectFaultCase{"no driver", "Create", "Драйвер не установлен"},
                                         ConnectFaultCase{"list fails", "GetList", "Проверьте подключение"},
                                         ConnectFaultCase{"open fails", "Open", "Проверьте подключение"},
                                         ConnectFaultCase{"divisor fails", "SetDivisor", "Проверьте подключение"},
                                         ConnectFaultCase{"format fails", "SetData", "Проверьте подключение"},
                                         ConnectFaultCase{"time-outs fail", "SetTimeouts", "Проверьте подключение"}));

TEST(Connect, DeviceThatFailedConfigurationIsClosedBeforeTheNextOpen) {
  SessionRun run;
  run.withImage = true;
  bool failed = false;
  run.gauge->fail = [&](const std::string& call) -> FT_STATUS {
    if (call == "SetTimeouts" && !failed) return failed = true, FT_IO_ERROR;
    return FT_OK;
  };
  run.Run(JobReadScreen);
  std::vector<std::string> opensAndCloses;
  for (const LinkCall& c : run.gauge->Calls()) {
    if (c.name == "Open" || c.name == "Close") opensAndCloses.push_back(c.name);
  }
  EXPECT_EQ(opensAndCloses, (std::vector<std::string>{"Open", "Close", "Open", "Close"}));
  EXPECT_TRUE(run.worker->JobCompleted());
}

struct AttemptCase {
  const char* name;
  Reply failure;
  int answeredAttempt;  // 0: never
};

class AttemptLoopTest : public testing::TestWithParam<AttemptCase> {};

TEST_P(AttemptLoopTest, TwentyAttemptsPerTransfer) {
  const AttemptCase& c = GetParam();
  SessionRun run;
  run.withImage = true;
  run.gauge->screen.fill(0x5A);
  run.gauge->reply = [&](int, int, int attempt) {
    return c.answeredAttempt != 0 && attempt >= c.answeredAttempt ? Reply::Normal : c.failure;
  };
  std::atomic<int> frames{0};
  if (c.answeredAttempt == 0) {
    // Two whole passes of the step, then the user gives up.
    run.gauge->onCall = [&](const LinkCall& call) {
      if (call.command == kScreen && ++frames == 2 * kAttemptsPerTransfer) LinkCancel = 1;
    };
  }
  run.Run(JobReadScreen);
  const std::vector<int> sent = run.gauge->CommandsSent();
  if (c.answeredAttempt != 0) {
    EXPECT_EQ(Count(sent, kScreen), c.answeredAttempt) << c.name;
    EXPECT_FALSE(run.log.Saw("label Проверьте подключение")) << c.name;
    EXPECT_TRUE(run.worker->JobCompleted()) << c.name;
    EXPECT_EQ(run.image[17], 0x5A) << c.name;
  } else {
    EXPECT_EQ(Count(sent, kScreen), 2 * kAttemptsPerTransfer) << c.name;
    EXPECT_EQ(run.gauge->CountCalls("Purge"), 3) << c.name;  // two passes, then Close
    EXPECT_TRUE(run.log.Saw("label Проверьте подключение")) << c.name;
    EXPECT_FALSE(run.worker->JobCompleted()) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AttemptLoopTest,
    testing::Values(AttemptCase{"first attempt", Reply::Silent, 1},
                    AttemptCase{"silent until the 20th", Reply::Silent, 20},
                    AttemptCase{"broken headers until the 20th", Reply::BadHeader, 20},
                    AttemptCase{"short payloads until the 20th", Reply::Short, 20},
                    AttemptCase{"never answered", Reply::Silent, 0},
                    AttemptCase{"always short", Reply::Short, 0}));

TEST(AttemptLoop, AnswerCodeByteIsNotComparedButAWriteEchoIs) {
  // A wrong echo matters only where it is checked; for the screen it is accepted.
  SessionRun run;
  run.withImage = true;
  run.gauge->reply = [](int, int, int) { return Reply::WrongEcho; };
  run.Run(JobReadScreen);
  EXPECT_TRUE(run.worker->JobCompleted());
  EXPECT_EQ(Count(run.gauge->CommandsSent(), kScreen), 1);
}

struct FirmwareCase {
  const char* date;
  bool passes;
};

class FirmwareSessionTest : public testing::TestWithParam<FirmwareCase> {};

TEST_P(FirmwareSessionTest, OutdatedFirmwareIsAskedAgainUntilCancelled) {
  SessionRun run;
  run.gauge->firmwareDate = GetParam().date;
  std::atomic<int> versions{0};
  run.gauge->onCall = [&](const LinkCall& call) {
    if (call.command == kVersion && ++versions == 3) LinkCancel = 1;
  };
  run.Run(JobReadArchive);
  const std::vector<int> sent = run.gauge->CommandsSent();
  if (GetParam().passes) {
    EXPECT_EQ(Count(sent, kVersion), 1) << GetParam().date;
    EXPECT_TRUE(run.worker->JobCompleted()) << GetParam().date;
  } else {
    EXPECT_EQ(Count(sent, kVersion), 3) << GetParam().date;
    EXPECT_TRUE(run.log.Saw("label Версия прошивки устарела")) << GetParam().date;
    EXPECT_EQ(Count(sent, 0x02), 0) << GetParam().date;
    EXPECT_FALSE(run.worker->JobCompleted()) << GetParam().date;
  }
}

INSTANTIATE_TEST_SUITE_P(Dates, FirmwareSessionTest,
                         testing::Values(FirmwareCase{"10.06.2014", true}, FirmwareCase{"09.06.2014", false},
                                         FirmwareCase{"01.01.2015", true}, FirmwareCase{"31.05.2014", false},
                                         FirmwareCase{"1.1.2020", false}, FirmwareCase{"", false}));

struct CancelCase {
  const char* name;
  LinkJobCode job;
  bool needMaterials;
  int command;  // cancel when this command's frame is written; 0: during Connect
};

class CancelTest : public testing::TestWithParam<CancelCase> {};

TEST_P(CancelTest, NothingDeliveredDeviceClosedFlagCleared) {
  const CancelCase& c = GetParam();
  SessionRun run;
  run.withImage = true;
  run.gauge->archive = {MakeArchiveRecord({}), MakeArchiveRecord({.sec = 8})};
  if (c.command == 0) run.gauge->descriptions.clear();
  run.gauge->onCall = [&](const LinkCall& call) {
    if ((c.command == 0 && call.name == "Create") || call.command == c.command) LinkCancel = 1;
  };
  if (c.job == JobWriteMaterials || c.job == JobReadMaterials) {
    run.grid = GridData(3, 14);
    for (int row = 1; row <= 13; ++row) run.grid.SetCell(2, row, "1000");
  }
  run.grid.SetCell(1, 1, "materials or table before");
  const GridData before = run.grid;
  const auto namesBefore = MaterialNames;
  run.Run(c.job, c.needMaterials);

  EXPECT_FALSE(run.worker->JobCompleted()) << c.name;
  EXPECT_EQ(LinkCancel.load(), 0) << c.name;
  EXPECT_EQ(LinkStatus, StatusOk) << c.name;  // the next session starts without an old failure
  EXPECT_FALSE(run.gauge->DeviceOpen()) << c.name;
  EXPECT_EQ(run.gauge->CountCalls("Close"), c.command == 0 ? 0 : 1) << c.name;
  for (const LinkCall& call : run.gauge->Calls()) EXPECT_TRUE(call.validHandle) << c.name << " " << call.name;
  EXPECT_EQ(run.log.closes, 1) << c.name;  // the progress window closes
  EXPECT_EQ(run.grid.RowCount(), before.RowCount()) << c.name;
  EXPECT_EQ(run.grid.CellString(1, 1), before.CellString(1, 1)) << c.name;
  EXPECT_FALSE(run.gauge->writtenFlags[1]) << c.name;  // the write stopped at once
  if (c.job == JobReadArchive) {
    EXPECT_EQ(NeedMaterials.load(), c.needMaterials ? 1 : 0) << c.name;
  }
  // The transfer under way finished; no further attempt was made.
  if (c.command != 0) {
    EXPECT_EQ(Count(run.gauge->CommandsSent(), c.command), 1) << c.name;
  }
  MaterialNames = namesBefore;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CancelTest,
    testing::Values(CancelCase{"Connect without a gauge", JobReadArchive, false, 0},
                    CancelCase{"MaterialsRead in the archive job", JobReadArchive, true, 0x04},
                    CancelCase{"Version", JobReadArchive, false, 0x01},
                    CancelCase{"Params", JobReadArchive, false, 0x02},
                    CancelCase{"Archive", JobReadArchive, false, 0x03},
                    CancelCase{"MaterialsRead", JobReadMaterials, false, 0x04},
                    CancelCase{"MaterialsWrite", JobWriteMaterials, false, 0x05},
                    CancelCase{"Screen", JobReadScreen, false, 0x06}));

TEST(Unplug, StepRepeatsWithCheckConnectionAndCloseGivesUpAfterThreeTries) {
  SessionRun run;
  for (int s = 0; s < 10; ++s) run.gauge->archive.push_back(MakeArchiveRecord({.sec = s}));
  std::atomic<bool> unplugged{false};
  std::atomic<int> deadCalls{0};
  run.gauge->onCall = [&](const LinkCall& call) {
    if (call.command == 0x03 && call.index == 5) unplugged = true;
    if (unplugged && ++deadCalls == 30) LinkCancel = 1;
  };
  run.gauge->fail = [&](const std::string&) -> FT_STATUS { return unplugged ? FT_IO_ERROR : FT_OK; };
  run.Run(JobReadArchive);

  EXPECT_TRUE(run.log.Saw("label Проверьте подключение"));
  EXPECT_FALSE(run.worker->JobCompleted());
  EXPECT_EQ(run.grid.RowCount(), 9);  // nothing delivered
  EXPECT_TRUE(run.grid.IsEmpty());
  // After the cancel: three purges of Close fail, then the handle is let go.
  const auto calls = run.gauge->Calls();
  const auto lastFrame = std::find_if(calls.rbegin(), calls.rend(), [](const LinkCall& c) { return c.command >= 0; });
  const auto tail = std::count_if(calls.rbegin(), lastFrame, [](const LinkCall& c) { return c.name == "Purge"; });
  EXPECT_GE(tail, kCloseAttempts);
  EXPECT_EQ(run.gauge->CountCalls("Close"), 1);  // once, to let the backend free the port
  EXPECT_EQ(run.log.label, "Проверьте подключение");
}

TEST(Close, PurgeThatKeepsFailingEndsTheSessionWithCheckConnectionShown) {
  SessionRun run;
  run.withImage = true;
  std::atomic<bool> imageRead{false};
  run.gauge->onCall = [&](const LinkCall& call) {
    if (call.command == kScreen) imageRead = true;
  };
  run.gauge->fail = [&](const std::string& call) -> FT_STATUS {
    return imageRead && call == "Purge" ? FT_IO_ERROR : FT_OK;
  };
  run.Run(JobReadScreen);
  EXPECT_EQ(run.gauge->CountCalls("Purge"), 1 + kCloseAttempts);
  EXPECT_TRUE(run.worker->JobCompleted());  // the image had arrived complete
  EXPECT_EQ(run.log.label, "Проверьте подключение");
}

// Whether this process may move a thread back from idle to normal priority.
bool CanLeaveIdlePriority() {
  bool ok = false;
  std::thread([&] { ok = SetCurrentThreadPriority(ThreadPriority::Idle) && SetCurrentThreadPriority(ThreadPriority::Normal); }).join();
  return ok;
}

TEST(Priority, IdleWhileSearchingAndReadingMaterialsNormalFromVersionOn) {
  SessionRun run;
  run.gauge->archive = {MakeArchiveRecord({})};
  run.Run(JobReadArchive, true);
  const auto calls = run.gauge->Calls();
  const auto version = std::find_if(calls.begin(), calls.end(), [](const LinkCall& c) { return c.command == kVersion; });
  ASSERT_NE(version, calls.end());
  // The Version step's purge precedes its frame.
  const auto versionStep = version - 1;
  for (auto it = calls.begin(); it != versionStep; ++it) EXPECT_EQ(it->priority, ThreadPriority::Idle) << it->name;
  if (!CanLeaveIdlePriority()) GTEST_SKIP() << "this system keeps unprivileged threads idle";
  for (auto it = versionStep; it != calls.end(); ++it) EXPECT_EQ(it->priority, ThreadPriority::Normal) << it->name;
}

TEST(AllocationFailure, NodeListThatCannotBeAllocatedIsReported) {
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator ends the program instead of failing the allocation";
#endif
  SessionRun run;
  std::vector<AllocationFailure> reported;
  const auto previous = InstallAllocationFailureHandler([&](AllocationFailure what) {
    reported.push_back(what);
    LinkCancel = 1;
  });
  run.gauge->reportedDeviceCount = 0xFFFFFFFFu;
  run.Run(JobReadScreen);
  InstallAllocationFailureHandler(previous);
  ASSERT_FALSE(reported.empty());
  EXPECT_EQ(reported.front(), AllocationFailure::NodeList);
  EXPECT_EQ(run.gauge->CountCalls("GetList"), 0);
}

TEST(OneSessionAtATime, SecondStartIsRefusedWhileTheFirstRuns) {
  SessionRun run;
  run.gauge->descriptions.clear();  // the first session keeps searching
  run.Start(JobReadScreen);
  auto second = std::make_shared<BMTreadUSB>();
  EXPECT_TRUE(SessionRunning());
  EXPECT_FALSE(StartSession(second));
  EXPECT_FALSE(second->Started());
  CancelSession();
  run.RunUntilEnd();
  EXPECT_FALSE(SessionRunning());
  // A cancel request left behind does not end the next session at once.
  SessionRun next;
  next.withImage = true;
  LinkCancel = 1;
  next.Run(JobReadScreen);
  EXPECT_TRUE(next.worker->JobCompleted());
}

}  // namespace
}  // namespace rz47::test
