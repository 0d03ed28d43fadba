// The material jobs against the scripted gauge: the read fills the materials grid
// and the name table; the write rebuilds names, speed and CRC from the grid.
#include <gtest/gtest.h>

#include <algorithm>

#include "device/materials.h"
#include "gauge_bytes.h"
#include "session_harness.h"

namespace rz47::test {
namespace {

struct StateGuard {
  MaterialNameTable names = MaterialNames;
  std::array<MaterialRecord, kGaugeMaterialCount> records = MaterialRecords;
  ~StateGuard() {
    MaterialNames = names;
    MaterialRecords = records;
    LangIndex = 0;
  }
};

GridData MaterialsGrid() { return GridData(3, 14); }

TEST(MaterialsReadJob, FillsTheGridAndTakesOverTheNames) {
  StateGuard guard;
  SessionRun run;
  run.grid = MaterialsGrid();
  run.withCaption = false;
  run.gauge->materials[4] = MakeMaterialRecord("", "Brick", 65535, 77);
  LangIndex = 1;
  run.Run(JobReadMaterials);

  ASSERT_TRUE(run.worker->JobCompleted());
  EXPECT_EQ(run.gauge->CommandsSent(), std::vector<int>(13, 0x04));
  EXPECT_EQ(run.grid.CellString(0, 1), "1");
  EXPECT_EQ(run.grid.CellString(1, 1), "Mat0");
  EXPECT_EQ(run.grid.CellString(2, 1), "1000");
  EXPECT_EQ(run.grid.CellString(0, 5), "77");
  EXPECT_EQ(run.grid.CellString(1, 5), "Brick");
  EXPECT_EQ(run.grid.CellString(2, 5), "65535");
  EXPECT_EQ(run.grid.CellString(1, 13), "Mat12");
  EXPECT_EQ(MaterialNames[4][0], "");  // an empty Russian field empties the name
  EXPECT_EQ(MaterialNames[12][0], "\xCC\xE0\xF2" "12");
  EXPECT_EQ(MaterialNames[13][1], "Material 8");  // beyond the gauge's 13: defaults
  // 80 * j / 13 + 20 per record, then 100; the window's title is never touched.
  std::vector<int> expected = {0, 0};  // heads of the Connect and MaterialsRead passes
  for (int j = 0; j < 13; ++j) expected.push_back(80 * j / 13 + 20);
  expected.insert(expected.end(), {100, 100});
  EXPECT_EQ(run.log.progress, expected);
  EXPECT_EQ(run.log.title, "");
  EXPECT_TRUE(run.log.Saw("label Materials Loading"));
  EXPECT_EQ(run.log.label, "Ready");
  EXPECT_FALSE(run.log.gaugeVisible);
}

TEST(MaterialsReadJob, DamagedRecordRestartsFromMaterialZero) {
  StateGuard guard;
  SessionRun run;
  run.grid = MaterialsGrid();
  run.gauge->reply = [](int command, int index, int attempt) {
    return command == 0x04 && index == 7 && attempt == 1 ? Reply::BadCrc : Reply::Normal;
  };
  run.Run(JobReadMaterials);
  EXPECT_TRUE(run.worker->JobCompleted());
  EXPECT_EQ(run.gauge->CommandsSent().size(), 8u + 13u);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, "Ошибка контрольной суммы");
  EXPECT_TRUE(run.log.Saw("label Ошибка связи"));
}

// A materials grid as the window shows it after a read, in language `lang`.
void FillGrid(GridData& grid, int lang) {
  for (int j = 0; j < 13; ++j) {
    grid.SetCell(0, j + 1, std::to_string(j + 1));
    grid.SetCell(1, j + 1, MaterialNames[j][lang]);
    grid.SetCell(2, j + 1, std::to_string(MaterialSpeed(MaterialRecords[j])));
  }
}

// Reads the gauge's table first, as the materials window does.
void ReadMaterialsFirst(FakeGauge& gauge) {
  SessionRun read;
  read.gauge->materials = gauge.materials;
  read.grid = MaterialsGrid();
  read.Run(JobReadMaterials);
  ASSERT_TRUE(read.worker->JobCompleted());
}

struct WriteCase {
  const char* name;
  int lang;
};

class MaterialsWriteTest : public testing::TestWithParam<WriteCase> {};

TEST_P(MaterialsWriteTest, EditedNameGoesToTheFieldOfTheCurrentLanguageOnly) {
  StateGuard guard;
  const int lang = GetParam().lang;
  SessionRun run;
  ReadMaterialsFirst(*run.gauge);
  run.grid = MaterialsGrid();
  FillGrid(run.grid, lang);
  run.grid.SetCell(1, 3, "New name of twenty-five");  // material 2, 23 characters
  run.grid.SetCell(2, 3, "70");
  LangIndex = static_cast<std::int8_t>(lang);
  const MaterialNameTable namesBefore = MaterialNames;
  run.Run(JobWriteMaterials);

  ASSERT_TRUE(run.worker->JobCompleted()) << GetParam().name;
  ASSERT_TRUE(std::all_of(run.gauge->writtenFlags.begin(), run.gauge->writtenFlags.end(), [](bool b) { return b; }));
  const auto& sent = run.gauge->written[2];
  const auto& received = run.gauge->materials[2];
  const std::size_t edited = lang == 0 ? 0 : 21;
  const std::size_t kept = lang == 0 ? 21 : 0;
  EXPECT_EQ(sent[edited], 20);
  EXPECT_EQ(std::string(sent.begin() + edited + 1, sent.begin() + edited + 21), "New name of twenty-f");
  EXPECT_TRUE(std::equal(sent.begin() + kept, sent.begin() + kept + 5, received.begin() + kept));  // "Мат2"/"Mat2" + 0
  EXPECT_EQ(sent[kept + 5], 0);
  EXPECT_EQ(sent[42], 70);
  EXPECT_EQ(sent[43], 0);
  EXPECT_TRUE(std::equal(sent.begin() + 44, sent.begin() + 50, received.begin() + 44));
  EXPECT_TRUE(CheckBlock(sent));
  // Build 1..25 (two hand-overs a material), then write 25..94.
  const auto& p = run.log.progress;
  EXPECT_NE(std::find(p.begin(), p.end(), 1), p.end());
  EXPECT_NE(std::find(p.begin(), p.end(), 25), p.end());
  EXPECT_NE(std::find(p.begin(), p.end(), 94), p.end());
  EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
  EXPECT_TRUE(run.log.Saw(lang == 0 ? "label Сохранение метериалов" : "label Materials Save"));
  // The write takes names from the name table; it does not change it.
  EXPECT_EQ(MaterialNames, namesBefore);
}

INSTANTIATE_TEST_SUITE_P(Languages, MaterialsWriteTest,
                         testing::Values(WriteCase{"Russian", 0}, WriteCase{"English", 1}));

TEST(MaterialsWriteJob, EchoOfAnotherMaterialStopsTheWriteAtOnce) {
  StateGuard guard;
  SessionRun run;
  run.grid = MaterialsGrid();
  FillGrid(run.grid, 0);
  run.gauge->reply = [](int command, int index, int) {
    return command == 0x05 && index == 7 ? Reply::WrongEcho : Reply::Normal;
  };
  run.Run(JobWriteMaterials);
  EXPECT_FALSE(run.worker->JobCompleted());
  for (int j = 0; j < 13; ++j) EXPECT_EQ(run.gauge->writtenFlags[j], j <= 7) << j;
  const std::vector<int> sent = run.gauge->CommandsSent();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x05), 8);  // no second attempt
  EXPECT_EQ(run.log.label, "Проверьте подключение");
  EXPECT_TRUE(run.log.gaugeVisible);
  EXPECT_FALSE(run.gauge->DeviceOpen());
}

TEST(MaterialsWriteJob, NoAnswerTwentyTimesStopsTheWrite) {
  StateGuard guard;
  SessionRun run;
  run.grid = MaterialsGrid();
  FillGrid(run.grid, 0);
  run.gauge->reply = [](int command, int index, int) {
    return command == 0x05 && index == 3 ? Reply::Silent : Reply::Normal;
  };
  run.Run(JobWriteMaterials);
  const std::vector<int> sent = run.gauge->CommandsSent();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x05), 3 + 20);
  EXPECT_FALSE(run.gauge->writtenFlags[4]);
  EXPECT_EQ(run.log.label, "Проверьте подключение");
}

struct BadSpeedCase {
  const char* cell;
};

class BadSpeedTest : public testing::TestWithParam<BadSpeedCase> {};

TEST_P(BadSpeedTest, StopsBeforeAnythingIsSentNamingTheRow) {
  StateGuard guard;
  SessionRun run;
  run.grid = MaterialsGrid();
  FillGrid(run.grid, 0);
  run.grid.SetCell(2, 9, GetParam().cell);
  const auto recordsBefore = MaterialRecords;
  run.Run(JobWriteMaterials);
  EXPECT_FALSE(run.worker->JobCompleted());
  const std::vector<int> sent = run.gauge->CommandsSent();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x05), 0) << GetParam().cell;
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_NE(run.boxes[0].text.find("Строка 9"), std::string::npos) << run.boxes[0].text;
  EXPECT_EQ(run.boxes[0].flags, 0x10u);
  EXPECT_EQ(MaterialRecords, recordsBefore);
  EXPECT_EQ(run.gauge->CountCalls("Close"), 1);
  EXPECT_FALSE(run.gauge->DeviceOpen());
}

INSTANTIATE_TEST_SUITE_P(Cells, BadSpeedTest,
                         testing::Values(BadSpeedCase{""}, BadSpeedCase{"70000"}, BadSpeedCase{"12a"},
                                         BadSpeedCase{"-5"}));

}  // namespace
}  // namespace rz47::test
