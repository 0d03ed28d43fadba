// The hand-over update: what the gauge, the window title and the label show for
// every status and step, in both languages.
#include <gtest/gtest.h>

#include "session_harness.h"

namespace rz47::test {
namespace {

struct SyncCase {
  int status;
  int step;
  int lang;
  const char* title;  // nullptr: unchanged
  const char* label;  // nullptr: unchanged
  bool hidden;
  bool paused;
};

class SyncProgressTest : public testing::TestWithParam<SyncCase> {};

TEST_P(SyncProgressTest, TextsByStatusThenStep) {
  const SyncCase& c = GetParam();
  TargetLog log;
  log.title = "before";
  log.label = "before";
  std::vector<long> pauses;
  SessionOptions options;
  options.pauseUi = [&](std::chrono::milliseconds d) { pauses.push_back(static_cast<long>(d.count())); };
  BMTreadUSB worker(options);
  worker.SetTargets(&log, &log, &log, nullptr, nullptr);
  worker.ProgressValue = 37;
  LinkStatus = static_cast<std::uint8_t>(c.status);
  LinkStep = static_cast<std::uint8_t>(c.step);
  LangIndex = static_cast<std::int8_t>(c.lang);
  worker.SyncProgress();
  LangIndex = 0;
  LinkStatus = StatusOk;

  EXPECT_EQ(log.progress, std::vector<int>{37});
  EXPECT_EQ(log.title, c.title ? c.title : "before");
  EXPECT_EQ(log.label, c.label ? c.label : "before");
  EXPECT_EQ(!log.gaugeVisible, c.hidden);
  EXPECT_EQ(pauses, c.paused ? std::vector<long>{300} : std::vector<long>{});
}

INSTANTIATE_TEST_SUITE_P(
    Table, SyncProgressTest,
    testing::Values(
        // Status 0 clears the label, then the step's texts apply.
        SyncCase{0, StepConnect, 0, "Подключение", "", false, false},
        SyncCase{0, StepConnect, 1, "Connection", "", false, false},
        SyncCase{0, StepVersion, 1, "Version Read", "", false, false},
        SyncCase{0, StepParams, 0, "Чтение параметров", "", false, false},
        SyncCase{0, StepArchive, 0, "Чтение данных", "Чтение архива", false, false},
        SyncCase{0, StepArchive, 1, "Data Read", "Archive Read", false, false},
        SyncCase{0, StepMaterialsRead, 1, "Data Read", "Materials Loading", false, false},
        SyncCase{0, StepMaterialsWrite, 0, nullptr, "Сохранение метериалов", false, false},
        SyncCase{0, StepScreen, 1, nullptr, "Data Read", false, false},
        SyncCase{0, StepClose, 0, nullptr, "Готово", true, false},
        SyncCase{0, StepClose, 1, nullptr, "Ready", true, false},
        // Statuses 1 and 2 stay on the label through the steps that leave it alone.
        SyncCase{1, StepConnect, 0, "Подключение", "Драйвер не установлен", false, false},
        SyncCase{1, StepConnect, 1, "Connection", "Driver not installed", false, false},
        SyncCase{2, StepVersion, 1, "Version Read", "Firmware version is outdated", false, false},
        SyncCase{2, StepVersion, 0, "Чтение версии", "Версия прошивки устарела", false, false},
        // Statuses 3, 4 and 5 stop before the step's texts.
        SyncCase{3, StepConnect, 0, nullptr, "Проверьте подключение", false, false},
        SyncCase{3, StepClose, 1, nullptr, "Check Connection", false, false},
        SyncCase{4, StepArchive, 1, nullptr, "Link Error", false, false},
        SyncCase{4, StepMaterialsRead, 0, nullptr, "Ошибка связи", false, false},
        SyncCase{5, StepClose, 0, nullptr, "Данных нет", false, true},
        SyncCase{5, StepClose, 1, nullptr, "No Data", false, true}));

TEST(SyncProgress, ValueAbove100ShowsAs100AndIsCappedInTheWorker) {
  TargetLog log;
  BMTreadUSB worker;
  worker.SetTargets(&log, nullptr, nullptr, nullptr, nullptr);
  worker.ProgressValue = 150;
  worker.SyncProgress();
  EXPECT_EQ(log.progress, std::vector<int>{100});
  EXPECT_EQ(worker.ProgressValue, 100);
}

TEST(SyncProgress, WithoutTargetsNothingIsTouched) {
  BMTreadUSB worker;
  worker.ProgressValue = 150;
  LinkStatus = StatusNoLink;
  worker.SyncProgress();
  LinkStatus = StatusOk;
  EXPECT_EQ(worker.ProgressValue, 150);  // no gauge: the value is left as it is
}

}  // namespace
}  // namespace rz47::test
