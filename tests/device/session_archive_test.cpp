// The archive job end to end against the scripted gauge: materials first while
// needed, the records asked for, checks and restarts, progress, and the delivery.
#include <gtest/gtest.h>

#include <algorithm>

#include "device/materials.h"
#include "session_harness.h"
#include "platform/format_settings.h"
#include "table/archive_count.h"

namespace rz47::test {
namespace {

std::vector<int> ArchiveIndicesAsked(const FakeGauge& gauge) {
  std::vector<int> out;
  for (const LinkCall& c : gauge.Calls()) {
    if (c.command == 0x03) out.push_back(c.index);
  }
  return out;
}

// Restores the program-wide material names a test changed through a session.
struct NamesGuard {
  MaterialNameTable saved = MaterialNames;
  ~NamesGuard() { MaterialNames = saved; }
};

TEST(ArchiveJob, ReadsMaterialsThenTheRecordsIntoAnEmptyTable) {
  NamesGuard names;
  SessionRun run;
  for (int s = 1; s <= 3; ++s) run.gauge->archive.push_back(MakeArchiveRecord({.sec = s, .material = s - 1}));
  run.Run(JobReadArchive, true);

  ASSERT_TRUE(run.worker->JobCompleted());
  // Materials first (13 reads), then version, parameters, the three records.
  std::vector<int> expected(13, 0x04);
  expected.insert(expected.end(), {0x01, 0x02, 0x03, 0x03, 0x03});
  EXPECT_EQ(run.gauge->CommandsSent(), expected);
  EXPECT_EQ(ArchiveIndicesAsked(*run.gauge), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(NeedMaterials.load(), 0);
  EXPECT_EQ(ArchiveCount, 3u);

  ASSERT_EQ(run.grid.RowCount(), 4);
  EXPECT_EQ(run.grid.CellString(0, 3), "3");
  EXPECT_EQ(run.grid.CellString(1, 3), "09:05:03");
  EXPECT_EQ(run.grid.CellString(5, 1), "\xCC\xE0\xF2" "0");  // the gauge's name "Мат0"
  EXPECT_EQ(run.grid.CellString(5, 3), "\xCC\xE0\xF2" "2");

  // Progress: materials 1..4, version 10, parameters 20, records 46, 73, 100.
  const std::vector<int>& p = run.log.progress;
  for (int value : {1, 4, 10, 20, 46, 73, 100}) EXPECT_NE(std::find(p.begin(), p.end(), value), p.end()) << value;
  EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
  // "Ready" and the bar hidden, then the window closes.
  const auto& e = run.log.events;
  const auto ready = std::find(e.begin(), e.end(), "label Готово");
  const auto hidden = std::find(e.begin(), e.end(), "visible 0");
  const auto closed = std::find(e.begin(), e.end(), "close");
  EXPECT_TRUE(ready < hidden && hidden < closed && closed != e.end());
  EXPECT_TRUE(run.log.Saw("label Чтение архива"));
  EXPECT_TRUE(run.log.Saw("title Чтение данных"));
}

TEST(ArchiveJob, WithoutNeedMaterialsVersionComesFirst) {
  SessionRun run;
  run.gauge->archive = {MakeArchiveRecord({})};
  run.Run(JobReadArchive, false);
  EXPECT_EQ(run.gauge->CommandsSent(), (std::vector<int>{0x01, 0x02, 0x03}));
}

TEST(ArchiveJob, EmptyArchiveShowsNoDataPausesAndAddsOneRow) {
  SessionRun run;
  ArchiveCount = 7;
  run.Run(JobReadArchive);
  EXPECT_TRUE(run.worker->JobCompleted());
  EXPECT_EQ(ArchiveCount, 0u);
  EXPECT_EQ(run.uiPauses, (std::vector<long>{300}));
  const auto& e = run.log.events;
  const auto noData = std::find(e.begin(), e.end(), "label Данных нет");
  EXPECT_LT(noData, std::find(e.begin(), e.end(), "close"));
  EXPECT_FALSE(run.log.Saw("label Готово"));  // the no-data text stays
  EXPECT_EQ(run.grid.RowCount(), 10);
  const std::vector<int> sent = run.gauge->CommandsSent();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x03), 0);
}

TEST(ArchiveJob, TableWithRowsKeepsThemOnAnEmptyArchive) {
  SessionRun run;
  run.grid.SetRowCount(3);
  run.grid.SetRow(1, {"1", "10:00:00", "01.01.2015", "1", "1", "x", "1,00", "1"});
  run.grid.SetRow(2, {"2", "10:00:01", "01.01.2015", "1", "1", "x", "1,00", "1"});
  run.Run(JobReadArchive);
  EXPECT_EQ(run.grid.RowCount(), 3);
  EXPECT_EQ(ArchiveCount, 0u);
}

TEST(ArchiveJob, ReadingTheSameArchiveTwiceAppendsNothing) {
  SessionRun first;
  for (int s = 0; s < 4; ++s) first.gauge->archive.push_back(MakeArchiveRecord({.sec = s}));
  first.Run(JobReadArchive);
  ASSERT_EQ(first.grid.RowCount(), 5);
  SessionRun second;
  second.grid = first.grid;
  second.gauge->archive = first.gauge->archive;
  second.Run(JobReadArchive);
  EXPECT_EQ(second.grid.RowCount(), 5);
}

TEST(ArchiveJob, DamagedParameterBlockIsAskedAgainWithoutAnErrorStatus) {
  SessionRun run;
  run.gauge->archive = {MakeArchiveRecord({})};
  run.gauge->reply = [](int command, int, int attempt) {
    return command == 0x02 && attempt == 1 ? Reply::BadCrc : Reply::Normal;
  };
  run.Run(JobReadArchive);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, "Ошибка контрольной суммы");
  EXPECT_EQ(run.boxes[0].caption, "Внимание");
  EXPECT_EQ(run.boxes[0].flags, 0x10u);
  EXPECT_FALSE(run.log.Saw("label Ошибка связи"));
  const std::vector<int> sent = run.gauge->CommandsSent();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x02), 2);
  EXPECT_TRUE(run.worker->JobCompleted());
}

struct RecordFaultCase {
  const char* name;
  Reply fault;
  bool box;  // a checked-block failure (message, status 4, restart from 0)
};

class RecordFaultTest : public testing::TestWithParam<RecordFaultCase> {};

TEST_P(RecordFaultTest, FaultAtRecordFive) {
  const RecordFaultCase& c = GetParam();
  SessionRun run;
  for (int s = 0; s < 8; ++s) run.gauge->archive.push_back(MakeArchiveRecord({.sec = s}));
  run.gauge->reply = [&](int command, int index, int attempt) {
    return command == 0x03 && index == 5 && attempt == 1 ? c.fault : Reply::Normal;
  };
  LangIndex = 1;
  run.Run(JobReadArchive);
  LangIndex = 0;
  ASSERT_TRUE(run.worker->JobCompleted()) << c.name;
  EXPECT_EQ(run.grid.RowCount(), 9) << c.name;
  const std::vector<int> asked = ArchiveIndicesAsked(*run.gauge);
  if (c.box) {
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 6, 7})) << c.name;
    ASSERT_EQ(run.boxes.size(), 1u) << c.name;
    EXPECT_EQ(run.boxes[0].text, "CRC16 Error") << c.name;
    EXPECT_EQ(run.boxes[0].caption, "Warning") << c.name;
    EXPECT_TRUE(run.log.Saw("label Link Error")) << c.name;
    // The bar falls back to the start of the records.
    const auto& p = run.log.progress;
    EXPECT_FALSE(std::is_sorted(p.begin(), p.end())) << c.name;
  } else {
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4, 5, 5, 6, 7})) << c.name;
    EXPECT_TRUE(run.boxes.empty()) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, RecordFaultTest,
                         testing::Values(RecordFaultCase{"bad CRC", Reply::BadCrc, true},
                                         RecordFaultCase{"echo of another index", Reply::WrongEcho, true},
                                         RecordFaultCase{"short record: another attempt", Reply::Short, false},
                                         RecordFaultCase{"no answer: another attempt", Reply::Silent, false}));

TEST(ArchiveJob, TimesAreWrittenHhMmSsFromTheFirstSessionOn) {
  FormatSettings fs = CurrentFormatSettings();
  fs.longTimeFormat = "h:mm:ss AP";
  SetFormatSettings(fs);
  SessionRun run;
  run.Run(JobReadScreen);
  EXPECT_EQ(CurrentFormatSettings().longTimeFormat, "hh:mm:ss");
}

TEST(ArchiveJob, ParameterBitsInAnyPositionAskForRecordsFromZero) {
  SessionRun run;
  for (int s = 0; s < 3; ++s) run.gauge->archive.push_back(MakeArchiveRecord({.sec = s}));
  run.Run(JobReadArchive);
  EXPECT_EQ(ArchiveIndicesAsked(*run.gauge), (std::vector<int>{0, 1, 2}));
}

}  // namespace
}  // namespace rz47::test
