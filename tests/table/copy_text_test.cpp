// Clipboard texts: byte-exact whole-table and block texts in both languages, and the
// refusal while no archive is loaded.
#include "table/copy_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid_fixture.h"
#include "platform/message_box.h"
#include "table/archive_count.h"

namespace rz47 {
namespace {

using test::MakeGrid;
using test::Row;

// Expected texts are written in UTF-8 with every TAB spelled out.
std::string Cp(const std::string& utf8) { return Utf8ToCp1251(utf8); }

const Row kConcreteRow{"1", "12:30:05", "17.06.2014", "1", "2", "Бетон", "10,50", "1500"};
const Row kEnglishRow{"2", "08:15:00", "6/17/14", "1", "3", "Concrete", "9.75", "4200"};

TEST(TableCopyText, RussianWholeTable) {
  GridData grid = MakeGrid({kConcreteRow, {"3", "", "", "", "", "", "", ""}}, 0);
  const std::string expected =
      // Headings: two TABs after the time and date headings, nothing else extra.
      "№\tВремя\t\tДата\t\tСерия\tНомер\tМатериал\tТолщина, мм\tСкорость звука, м/с\r\n"
      // Shorter than their headings: material (8) and thickness (11) one TAB, speed (19) two.
      "1\t12:30:05\t17.06.2014\t1\t2\tБетон\t\t10,50\t\t1500\t\t\r\n"
      // Empty cells: eight separators plus the alignment TABs of the three long
      // headings (1 + 1 + 2), less the last character.
      "3\t\t\t\t\t\t\t\t\t\t\t\r\n";
  EXPECT_EQ(BuildTableCopyText(grid, 0), Cp(expected));
}

TEST(TableCopyText, EnglishWholeTable) {
  GridData grid = MakeGrid({kEnglishRow, {"4", "09:00:00", "6/18/14", "1", "4", "Aerated concrete", "125.00", "12345678901234567"}}, 1);
  const std::string expected =
      "№\tTime\t\tDate\t\tSeries\tNumber\tMaterial\tThickness, mm\tSpeed Sound, m/s\r\n"
      // "Concrete" is as long as "Material": no alignment TAB.
      "2\t08:15:00\t6/17/14\t1\t3\tConcrete\t9.75\t\t4200\t\t\r\n"
      // Texts longer than their headings get none either; the line loses its last TAB.
      "4\t09:00:00\t6/18/14\t1\t4\tAerated concrete\t125.00\t\t12345678901234567\r\n";
  EXPECT_EQ(BuildTableCopyText(grid, 1), Cp(expected));
}

TEST(TableCopyText, HeadingTabsFollowTheLanguageOfTheCall) {
  // Russian headings copied with the English language index: no heading matches.
  GridData grid = MakeGrid({kConcreteRow}, 0);
  const std::string text = BuildTableCopyText(grid, 1);
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            Cp("№\tВремя\tДата\tСерия\tНомер\tМатериал\tТолщина, мм\tСкорость звука, м/с"));
}

TEST(TableCopyText, ExtraColumnsWithoutHeadingsTakePart) {
  Row row = kConcreteRow;
  row.push_back("x");
  GridData grid = MakeGrid({row}, 0, 9);
  EXPECT_EQ(BuildTableCopyText(grid, 0),
            Cp("№\tВремя\t\tДата\t\tСерия\tНомер\tМатериал\tТолщина, мм\tСкорость звука, м/с\t\r\n"
               "1\t12:30:05\t17.06.2014\t1\t2\tБетон\t\t10,50\t\t1500\t\t\tx\r\n"));
}

struct BlockCase {
  const char* name;
  GridRect block;
  std::string expected;  // UTF-8
};

class BlockCopyText : public ::testing::TestWithParam<BlockCase> {};

TEST_P(BlockCopyText, IsByteExact) {
  GridData grid = MakeGrid({kConcreteRow, {"2", "08:15:00", "18.06.2014", "1", "3", "Газобетон D500", "9,75", "980"}}, 0);
  EXPECT_EQ(BuildBlockCopyText(grid, GetParam().block, 0), Cp(GetParam().expected));
  EXPECT_EQ(BuildBlockCopyText(grid, GetParam().block, 1), Cp(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockCopyText,
    ::testing::Values(
        // A heading shorter than 8: the cell and CR LF only.
        BlockCase{"time_cell", {1, 1, 1, 1}, "12:30:05\r\n"},
        // Separator plus one alignment TAB, of which the last is removed.
        BlockCase{"material_cell", {5, 1, 5, 1}, "Бетон\t\r\n"},
        BlockCase{"long_material_cell", {5, 2, 5, 2}, "Газобетон D500\r\n"},
        BlockCase{"speed_cells", {7, 1, 7, 2}, "1500\t\t\r\n980\t\t\r\n"},
        BlockCase{"whole_row", {0, 2, 7, 2}, "2\t08:15:00\t18.06.2014\t1\t3\tГазобетон D500\t9,75\t\t980\t\t\r\n"},
        // Headings inside a block follow the data rule: as long as themselves, no TABs.
        BlockCase{"heading_corner", {0, 0, 2, 1}, "№\tВремя\tДата\r\n1\t12:30:05\t17.06.2014\r\n"},
        BlockCase{"long_headings", {5, 0, 7, 0}, "Материал\tТолщина, мм\tСкорость звука, м/с\r\n"},
        // Corners given the other way round select the same block.
        BlockCase{"reversed_corners", {6, 2, 5, 1}, "Бетон\t\t10,50\t\r\nГазобетон D500\t9,75\t\r\n"},
        // Cells and headings past the table read as empty.
        BlockCase{"past_the_edges", {7, 2, 9, 3}, "980\t\t\t\t\r\n\t\t\t\t\r\n"},
        // A cleared selection lies outside the table: one empty line.
        BlockCase{"cleared_selection", kNoSelection, "\r\n"}),
    [](const auto& p) { return std::string(p.param.name); });

// Records the message boxes the copy commands show.
class CopyCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    savedCount_ = ArchiveCount;
    saved_ = InstallMessageBoxHandler([this](const std::string& text, const std::string& caption, std::uint32_t flags) {
      boxes_.push_back({Cp1251ToUtf8(text), Cp1251ToUtf8(caption), flags});
      return kIdOk;
    });
  }
  void TearDown() override {
    InstallMessageBoxHandler(saved_);
    ArchiveCount = savedCount_;
  }

  struct Box {
    std::string text, caption;
    std::uint32_t flags;
  };
  std::vector<Box> boxes_;
  MessageBoxHandler saved_;
  std::uint32_t savedCount_ = 0;
};

TEST_F(CopyCommands, RefuseWithAWarningWhileNoArchiveIsLoaded) {
  GridData grid = MakeGrid({kConcreteRow});
  grid.SetSelection({1, 1, 3, 1});
  ArchiveCount = 0;
  EXPECT_FALSE(ACopyTableExecute(grid, 0).has_value());
  EXPECT_FALSE(ACopyBlockTableExecute(grid, 1).has_value());
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[0].text, "Таблтца пуста");
  EXPECT_EQ(boxes_[0].caption, "Внимание");
  EXPECT_EQ(boxes_[0].flags, kMbStopOk);
  EXPECT_EQ(boxes_[1].text, "The table is empty");
  EXPECT_EQ(boxes_[1].caption, "Warning");
  EXPECT_EQ(boxes_[1].flags, kMbStopOk);
}

TEST_F(CopyCommands, CopyTheTableOrTheSelectionOnceAnArchiveIsLoaded) {
  GridData grid = MakeGrid({kConcreteRow});
  grid.SetSelection({5, 1, 6, 1});
  ArchiveCount = 1;
  EXPECT_EQ(ACopyTableExecute(grid, 0), BuildTableCopyText(grid, 0));
  EXPECT_EQ(ACopyBlockTableExecute(grid, 0), Cp("Бетон\t\t10,50\t\r\n"));
  // The menu's selection copy copies a single cell as it is.
  grid.SetSelection({7, 1, 7, 1});
  EXPECT_EQ(ACopyBlockTableExecute(grid, 0), Cp("1500\t\t\r\n"));
  EXPECT_TRUE(boxes_.empty());
}

}  // namespace
}  // namespace rz47
