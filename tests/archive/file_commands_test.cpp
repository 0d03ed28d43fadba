// The file commands as a state machine: document state, title, files written, boxes
// shown, for each command and answer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>

#include "archive/file_commands.h"
#include "archive_bytes.h"
#include "case_name.h"
#include "file_commands_fakes.h"
#include "grid_snapshot.h"
#include "platform/convert_error.h"
#include "table/archive_count.h"
#include "table/columns.h"

namespace rz47 {
namespace {

using test::FakeFiles;
using test::FakeUi;
using test::ScriptedBoxes;
using test::Snapshot;

constexpr const char* kProgramFolder = "/opt/rz47";

std::string ArchiveOf(int dataRows, int cols = 8) {
  GridData grid(cols, dataRows + 1);
  for (int row = 1; row <= dataRows; ++row) {
    for (int col = 0; col < cols; ++col) grid.SetCell(col, row, std::to_string(row * 10 + col));
  }
  return EncodeGrid(grid);
}

class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LangIndex = 0;
    ArchiveCount = 0;
    WriteHeadings(grid, 0);
  }
  void TearDown() override { LangIndex = 0; }

  // A table read from the gauge: `rows` data rows, numbered from 1.
  void FillTable(int rows) {
    if (rows == 0) return;
    grid.SetRowCount(rows + 1);
    for (int row = 1; row <= rows; ++row) {
      grid.SetRow(row, {std::to_string(row), "12:00:00", "01.02.2024", "1", std::to_string(row), "B", "10.00", "1500"});
    }
  }

  GridData grid{8, 9};
  DocumentState document;
  FakeFiles files;
  FakeUi ui;
  ScriptedBoxes boxes;
  FileCommands commands{grid, document, files, ui, kProgramFolder};
};

// --- Every row of the commands' state table, and the save question in front of them. ---

enum class Command { New, Open, Save, SaveAs };

struct TransitionCase {
  const char* name;
  DocumentState start;
  int dataRows;                         // 0: an empty table (heading row and 8 empty rows)
  std::vector<std::string> existing;    // files present before the command
  Command command;
  std::vector<std::optional<std::string>> choices;  // dialog answers
  std::vector<int> answers;             // question answers
  DocumentState expected;
  int expectedRowCount;
  std::vector<std::string> titles;      // titles set, in order
  std::vector<std::string> saves;       // files written, in order
  std::vector<std::string> boxTexts;    // boxes shown, in order
};

const DocumentState kFresh{};
const DocumentState kWallSaved{"/data", "Wall.rz4", true, false};
const DocumentState kWallChanged{"/data", "Wall.rz4", true, true};
const DocumentState kAfterFirstNew{kProgramFolder, "Arhive 0.rz4", true, true};

std::vector<TransitionCase> TransitionCases() {
  return {
      {"NewAtStart", kFresh, 0, {}, Command::New, {}, {}, kAfterFirstNew, 9, {"РЗ-4.7 - Arhive 0.rz4*"}, {}, {}},
      {"NewStepsPastTakenNames", kFresh, 0, {"/opt/rz47/Arhive 0.rz4", "/opt/rz47/Arhive 1.rz4"}, Command::New, {}, {},
       {kProgramFolder, "Arhive 2.rz4", true, true}, 9, {"РЗ-4.7 - Arhive 2.rz4*"}, {}, {}},
      {"NewClearsATableWithData", kFresh, 5, {}, Command::New, {}, {}, kAfterFirstNew, 2,
       {"РЗ-4.7 - Arhive 0.rz4*"}, {}, {}},
      {"NewStaysInTheOpenedFolder", kWallSaved, 3, {"/data/Wall.rz4"}, Command::New, {}, {},
       {"/data", "Wall 0.rz4", true, true}, 2, {"РЗ-4.7 - Wall 0.rz4*"}, {}, {}},
      {"NewStepsTheOpenedName", kWallSaved, 3, {"/data/Wall.rz4", "/data/Wall 0.rz4"}, Command::New, {}, {},
       {"/data", "Wall 1.rz4", true, true}, 2, {"РЗ-4.7 - Wall 1.rz4*"}, {}, {}},
      {"NewAsksAndCancelKeepsEverything", kWallChanged, 3, {"/data/Wall.rz4"}, Command::New, {}, {kIdCancel},
       kWallChanged, 4, {}, {}, {"Сохранить Wall.rz4 ?"}},
      {"NewAsksAndNoGoesOnWithoutSaving", kWallChanged, 3, {"/data/Wall.rz4"}, Command::New, {}, {kIdNo},
       {"/data", "Wall 0.rz4", true, true}, 2, {"РЗ-4.7 - Wall 0.rz4*"}, {}, {"Сохранить Wall.rz4 ?"}},
      {"NewAsksAndYesSavesThenSteps", kWallChanged, 3, {}, Command::New, {}, {kIdYes},
       {"/data", "Wall 0.rz4", true, true}, 2, {"РЗ-4.7 - Wall 0.rz4*"}, {"/data/Wall.rz4"},
       {"Сохранить Wall.rz4 ?"}},
      {"NewOverwriteNoAbortsTheCommand", kWallChanged, 3, {"/data/Wall.rz4"}, Command::New, {}, {kIdYes, kIdNo},
       kWallChanged, 4, {}, {}, {"Сохранить Wall.rz4 ?", "Файл с таким именем Wall.rz4cуществует, Заменить его?"}},
      {"NewOverwriteYesSavesAndGoesOn", kWallChanged, 3, {"/data/Wall.rz4"}, Command::New, {}, {kIdYes, kIdYes},
       {"/data", "Wall 0.rz4", true, true}, 2, {"РЗ-4.7 - Wall 0.rz4*"}, {"/data/Wall.rz4"},
       {"Сохранить Wall.rz4 ?", "Файл с таким именем Wall.rz4cуществует, Заменить его?"}},
      {"OpenReadsTheChosenFile", kFresh, 3, {"/data/Wall.rz4"}, Command::Open, {"/data/Wall.rz4"}, {}, kWallSaved, 6,
       {"РЗ-4.7 - Wall.rz4"}, {}, {}},
      {"OpenDialogCancelledChangesNothing", kWallChanged, 0, {}, Command::Open, {std::nullopt}, {}, kWallChanged, 9,
       {}, {}, {}},
      {"OpenAsksAndCancelNeitherAsksForAFileNorReplaces", kWallChanged, 3, {"/data/Other.rz4"}, Command::Open, {},
       {kIdCancel}, kWallChanged, 4, {}, {}, {"Сохранить Wall.rz4 ?"}},
      {"OpenAsksAndNoReplaces", kWallChanged, 3, {"/data/Other.rz4"}, Command::Open, {"/data/Other.rz4"}, {kIdNo},
       {"/data", "Other.rz4", true, false}, 6, {"РЗ-4.7 - Other.rz4"}, {}, {"Сохранить Wall.rz4 ?"}},
      {"SaveUnmodifiedWritesNothing", kWallSaved, 3, {"/data/Wall.rz4"}, Command::Save, {}, {}, kWallSaved, 4, {}, {},
       {}},
      {"SaveAfterADeletionRewritesTheFile", kWallChanged, 3, {"/data/Wall.rz4"}, Command::Save, {}, {}, kWallSaved, 4,
       {"РЗ-4.7 - Wall.rz4"}, {"/data/Wall.rz4"}, {}},
      {"SaveAfterNewOnTheEmptyTable", kAfterFirstNew, 0, {}, Command::Save, {}, {}, kAfterFirstNew, 9, {}, {},
       {"Архив не считан!"}},
      {"SaveOfANamedTableWithoutANameAsksForOne", {"", "", true, true}, 3, {}, Command::Save, {"/data/Picked.rz4"},
       {}, {"/data", "Picked.rz4", true, false}, 4, {"РЗ-4.7 - Picked.rz4"}, {"/data/Picked.rz4"}, {}},
      {"SaveWithoutANameCancelledChangesNothing", {"", "", true, true}, 3, {}, Command::Save, {std::nullopt}, {},
       {"", "", true, true}, 4, {}, {}, {}},
      {"SaveAsUnnamedAdoptsTheChosenFile", kFresh, 3, {}, Command::SaveAs, {"/data/New.rz4"}, {},
       {"/data", "New.rz4", true, false}, 4, {"РЗ-4.7 - New.rz4"}, {"/data/New.rz4"}, {}},
      {"SaveAsNamedOnlyWritesACopy", kWallChanged, 3, {}, Command::SaveAs, {"/data/Copy.rz4"}, {}, kWallChanged, 4,
       {}, {"/data/Copy.rz4"}, {}},
      {"SaveAsCancelledChangesNothing", kFresh, 3, {}, Command::SaveAs, {std::nullopt}, {}, kFresh, 4, {}, {}, {}},
      {"SaveAsOfTheEmptyTable", kFresh, 0, {}, Command::SaveAs, {"/data/x.rz4"}, {}, kFresh, 9, {}, {},
       {"Архив не считан!"}},
  };
}

class Transition : public FileCommandsTest, public ::testing::WithParamInterface<TransitionCase> {};

TEST_P(Transition, SetsTheDocumentTitleAndFilesAsTheTableSays) {
  const TransitionCase& c = GetParam();
  document = c.start;
  FillTable(c.dataRows);
  for (const std::string& path : c.existing) files.files[path] = ArchiveOf(5);
  ui.openChoices.assign(c.choices.begin(), c.choices.end());
  ui.saveChoices.assign(c.choices.begin(), c.choices.end());
  boxes.answers.assign(c.answers.begin(), c.answers.end());

  switch (c.command) {
    case Command::New: commands.New(); break;
    case Command::Open: commands.Open(); break;
    case Command::Save: commands.Save(); break;
    case Command::SaveAs: commands.SaveAs(); break;
  }

  EXPECT_EQ(document, c.expected);
  EXPECT_EQ(grid.RowCount(), c.expectedRowCount);
  EXPECT_EQ(ui.titles, c.titles);
  EXPECT_EQ(files.saves, c.saves);
  EXPECT_EQ(boxes.Texts(), c.boxTexts);
  EXPECT_TRUE(boxes.answers.empty()) << "questions left unasked";
}

INSTANTIATE_TEST_SUITE_P(Table, Transition, ::testing::ValuesIn(TransitionCases()),
                         test::CaseName());

TEST_F(FileCommandsTest, NewLeavesOneEmptyDataRowAndWritesNoFile) {
  FillTable(4);
  commands.New();
  EXPECT_TRUE(grid.IsEmpty());
  for (int col = 0; col < 8; ++col) EXPECT_EQ(grid.Cell(col, 1), "") << col;
  EXPECT_EQ(Cp1251ToUtf8(grid.Cell(1, 0)), "Время");  // the heading row stays
  EXPECT_TRUE(files.files.empty());
}

TEST_F(FileCommandsTest, TheSavedFileHoldsTheTable) {
  FillTable(3);
  document = kWallChanged;
  commands.Save();
  GridData reread;
  ASSERT_TRUE(DecodeGrid(files.files.at("/data/Wall.rz4"), reread, "x").ok);
  EXPECT_EQ(Snapshot(reread).DataRows(), Snapshot(grid).DataRows());
}

// --- The save question alone: whether the calling command goes on. ---

struct QuestionCase {
  const char* name;
  bool modified;
  int dataRows;
  bool fileExists;
  bool saveFails;
  std::vector<int> answers;
  bool goesOn;
  bool saved;
  int boxes;
};

class SaveQuestion : public FileCommandsTest, public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(SaveQuestion, GoesOnOrAbortsAndNeverChangesTheDocument) {
  const QuestionCase& c = GetParam();
  document = {"/data", "Wall.rz4", true, c.modified};
  const DocumentState before = document;
  FillTable(c.dataRows);
  if (c.fileExists) files.files["/data/Wall.rz4"] = ArchiveOf(1);
  if (c.saveFails) files.failingSaves.insert("/data/Wall.rz4");
  boxes.answers.assign(c.answers.begin(), c.answers.end());

  EXPECT_EQ(commands.SaveQuestion(), c.goesOn);
  EXPECT_EQ(files.saves.size(), c.saved ? 1u : 0u);
  EXPECT_EQ(static_cast<int>(boxes.shown.size()), c.boxes);
  EXPECT_EQ(document, before);
  EXPECT_TRUE(ui.titles.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SaveQuestion,
    ::testing::Values(QuestionCase{"UnmodifiedIsNotAsked", false, 3, false, false, {}, true, false, 0},
                      QuestionCase{"EmptyTableIsNotAsked", true, 0, false, false, {}, true, false, 0},
                      QuestionCase{"YesWritesANewFile", true, 3, false, false, {kIdYes}, true, true, 1},
                      QuestionCase{"YesThenReplace", true, 3, true, false, {kIdYes, kIdYes}, true, true, 2},
                      QuestionCase{"YesThenDoNotReplace", true, 3, true, false, {kIdYes, kIdNo}, false, false, 2},
                      QuestionCase{"YesThenCancelReplace", true, 3, true, false, {kIdYes, kIdCancel}, false, false, 2},
                      QuestionCase{"No", true, 3, true, false, {kIdNo}, true, false, 1},
                      QuestionCase{"CancelOrEscape", true, 3, true, false, {kIdCancel}, false, false, 1},
                      QuestionCase{"NoBoxCouldBeShown", true, 3, false, false, {kIdNone}, false, false, 1},
                      QuestionCase{"YesButTheSaveFails", true, 3, false, true, {kIdYes}, false, false, 2}),
    test::CaseName());

TEST_F(FileCommandsTest, SaveQuestionOfANamelessTableSavesThroughTheDialogWithoutAdoptingIt) {
  FillTable(2);
  document = {"", "", true, true};
  boxes.answers = {kIdYes};
  ui.saveChoices = {"/data/Picked.rz4"};
  EXPECT_TRUE(commands.SaveQuestion());
  EXPECT_EQ(files.saves, std::vector<std::string>{"/data/Picked.rz4"});
  EXPECT_EQ(document, (DocumentState{"", "", true, true}));
  ui.saveChoices = {std::nullopt};
  boxes.answers = {kIdYes};
  EXPECT_FALSE(commands.SaveQuestion());
}

// --- Texts of the questions and messages in both languages. ---

struct LanguageCase {
  int lang;
  std::string question, overwrite, notRead, warning, error;
};

class QuestionTexts : public FileCommandsTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(QuestionTexts, AreThePairsOfTheCurrentLanguage) {
  const LanguageCase& c = GetParam();
  LangIndex = static_cast<std::int8_t>(c.lang);
  FillTable(2);
  document = {"/data", "Arhive 0.rz4", true, true};
  files.files["/data/Arhive 0.rz4"] = ArchiveOf(1);
  files.failingSaves.insert("/data/Arhive 0.rz4");
  boxes.answers = {kIdYes, kIdYes};
  EXPECT_FALSE(commands.SaveQuestion());
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[0].text, c.question);
  EXPECT_EQ(boxes.shown[0].caption, c.warning);
  EXPECT_EQ(boxes.shown[0].flags, 0x2023u);
  EXPECT_EQ(boxes.shown[1].text, c.overwrite);
  EXPECT_EQ(boxes.shown[1].caption, c.warning);
  EXPECT_EQ(boxes.shown[1].flags, 0x2023u);
  EXPECT_EQ(boxes.shown[2].caption, c.error);  // the failed save
  EXPECT_EQ(boxes.shown[2].flags, 0x10u);
  EXPECT_NE(boxes.shown[2].text.find("/data/Arhive 0.rz4"), std::string::npos);

  GridData empty(8, 2);
  FileCommands onEmpty(empty, document, files, ui, kProgramFolder);
  ui.saveChoices = {"/data/x.rz4"};
  onEmpty.SaveAs();
  EXPECT_EQ(boxes.shown.back().text, c.notRead);
  EXPECT_EQ(boxes.shown.back().caption, c.error);
  EXPECT_EQ(boxes.shown.back().flags, 0x10u);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, QuestionTexts,
    ::testing::Values(LanguageCase{0, "Сохранить Arhive 0.rz4 ?", "Файл с таким именем Arhive 0.rz4cуществует, Заменить его?",
                                   "Архив не считан!", "Внимание", "Ошибка"},
                      LanguageCase{1, "Save Arhive 0.rz4 ?", "File with this nameArhive 0.rz4exists, Replace it?",
                                   "Archive not read!", "Warning", "Error"}));

TEST_F(FileCommandsTest, TheRussianOverwriteQuestionStartsItsLastPieceWithALatinC) {
  FillTable(1);
  document = kWallChanged;
  files.files["/data/Wall.rz4"] = ArchiveOf(1);
  boxes.answers = {kIdYes, kIdNo};
  commands.SaveQuestion();
  ASSERT_EQ(boxes.shown.size(), 2u);
  const std::string& text = boxes.shown[1].text;
  EXPECT_EQ(text.substr(text.find("Wall.rz4") + 8, 1), "c");  // 0x63, not Cyrillic
}

// --- Open: record count, headings, the command line. ---

TEST_F(FileCommandsTest, OpenSetsTheRecordCountAndWritesTheHeadingsOfTheCurrentLanguage) {
  LangIndex = 1;
  files.files["/data/Wide.rz4"] = ArchiveOf(4, 9);
  ui.openChoices = {"/data/Wide.rz4"};
  commands.Open();
  EXPECT_EQ(ArchiveCount, 4u);
  EXPECT_EQ(grid.ColCount(), 9);
  std::vector<std::string> headings;
  const Snapshot loaded(grid);
  for (const std::string& cell : loaded.cells[0]) headings.push_back(Cp1251ToUtf8(cell));
  EXPECT_EQ(headings, (std::vector<std::string>{"№", "Time", "Date", "Series", "Number", "Material",
                                                               "Thickness, mm", "Speed Sound, m/s", ""}));
  EXPECT_EQ(grid.Cell(8, 4), "48");
  EXPECT_EQ(ui.titles, std::vector<std::string>{"RZ-4.7 - Wide.rz4"});
  EXPECT_EQ(ui.opened, std::vector<std::string>{"/data/Wide.rz4"});
}

TEST_F(FileCommandsTest, ARelativeCommandLinePathIsTakenFromTheWorkingFolder) {
  char cwd[PATH_MAX];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  const std::string folder = cwd;
  files.files[folder + "/My Wall.rz4"] = ArchiveOf(2);
  commands.OpenPath("My Wall.rz4");
  EXPECT_EQ(document, (DocumentState{folder, "My Wall.rz4", true, false}));
  EXPECT_EQ(ArchiveCount, 2u);
}

TEST_F(FileCommandsTest, AFileNameTheCodePageCannotSpellIsStillSavedToItself) {
  const std::string path = "/data/M\xC3\xBCller \xE2\x84\x96 1.rz4";  // "Müller № 1.rz4" in UTF-8
  files.files[path] = ArchiveOf(3);
  commands.OpenPath(path);
  EXPECT_EQ(Cp1251ToUtf8(document.archiveName), "M?ller № 1.rz4");  // the title shows what it can
  document.modified = true;  // a row was deleted
  commands.Save();
  EXPECT_EQ(files.saves, std::vector<std::string>{path});
  commands.New();  // steps the exact name
  EXPECT_EQ(commands.CurrentPath(), "/data/M\xC3\xBCller \xE2\x84\x96 2.rz4");
}

// --- Failures change nothing and are reported once. ---

TEST_F(FileCommandsTest, AFailedSaveKeepsTheFlagsAndTheTitle) {
  FillTable(3);
  files.failingSaves = {"/data/Wall.rz4", "/data/New.rz4"};
  for (DocumentState start : {kWallChanged, kFresh}) {
    document = start;
    boxes.shown.clear();
    ui.saveChoices = {"/data/New.rz4"};
    if (start.named) commands.Save();
    else commands.SaveAs();
    EXPECT_EQ(document, start);
    EXPECT_TRUE(ui.titles.empty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Ошибка");
    EXPECT_EQ(boxes.shown[0].flags, 0x10u);
    EXPECT_NE(boxes.shown[0].text.find("disk full"), std::string::npos);
  }
}

TEST_F(FileCommandsTest, AFailedOpenKeepsTableNamesFlagsTitleAndRecordCount) {
  FillTable(3);
  document = kWallSaved;
  ArchiveCount = 3;
  const Snapshot before(grid);
  files.files["/data/Bad.rz4"] = test::ArchiveBytes().Int(8).Int(100).Cell("1").str();
  for (const char* path : {"/data/Bad.rz4", "/data/Missing.rz4"}) {
    boxes.shown.clear();
    ui.openChoices = {path};
    commands.Open();
    EXPECT_EQ(Snapshot(grid), before) << path;
    EXPECT_EQ(document, kWallSaved) << path;
    EXPECT_EQ(ArchiveCount, 3u) << path;
    EXPECT_TRUE(ui.titles.empty()) << path;
    EXPECT_TRUE(ui.opened.empty()) << path;
    ASSERT_EQ(boxes.shown.size(), 1u) << path;
    EXPECT_EQ(boxes.shown[0].caption, "Ошибка");
    EXPECT_NE(boxes.shown[0].text.find(path), std::string::npos) << boxes.shown[0].text;
  }
}

TEST_F(FileCommandsTest, NewStopsAtANameItCannotStepWithTheTableClearedAndTheNameKept) {
  FillTable(3);
  const DocumentState start{"/data", "Big 2147483648.rz4", true, false};
  document = start;
  files.files["/data/Big 2147483648.rz4"] = ArchiveOf(1);
  EXPECT_THROW(commands.New(), EConvertError);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_TRUE(document.named);
  EXPECT_TRUE(document.modified);
  EXPECT_EQ(document.archiveName, start.archiveName);
  EXPECT_TRUE(ui.titles.empty());
}

}  // namespace
}  // namespace rz47
