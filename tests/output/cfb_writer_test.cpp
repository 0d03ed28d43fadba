// The compound document container, read back by xlrd's container reader: the
// stream comes out byte for byte across the sizes where the layout changes
// (mini-stream cut-off, sector edges, FAT sectors past the header's 109, a second
// DIFAT sector); a writer that gets fewer or more bytes than declared fails.
#include <gtest/gtest.h>

#include <random>

#include "output/cfb_writer.h"
#include "workbook_reader.h"

namespace rz47::testing {
namespace {

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(gen() & 0xFF);
  return bytes;
}

struct SizeCase {
  const char* name;
  std::size_t size;
};

class CompoundFileSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(CompoundFileSizeTest, StreamReadsBackWhole) {
  TempFolder folder;
  const std::filesystem::path file = folder / "c.xls";
  const std::string data = RandomBytes(GetParam().size, static_cast<unsigned>(GetParam().size));
  {
    CompoundFileWriter writer(file, "Workbook", data.size());
    ASSERT_TRUE(writer.Ok()) << writer.Error();
    // In uneven pieces, as the workbook writer hands them over.
    for (std::size_t at = 0; at < data.size(); at += 7777) {
      ASSERT_TRUE(writer.Write(std::string_view(data).substr(at, 7777)));
    }
    ASSERT_TRUE(writer.Finish()) << writer.Error();
  }
  EXPECT_EQ(std::filesystem::file_size(file) % 512, 0u);
  const std::string stream = ReadCompoundStream(file, "Workbook");
  // Short streams are padded with zeros to the mini-stream cut-off.
  std::string expected = data;
  if (expected.size() < 4096) expected.resize(4096, '\0');
  ASSERT_EQ(stream.size(), expected.size());
  EXPECT_TRUE(stream == expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CompoundFileSizeTest,
                         ::testing::Values(SizeCase{"empty", 0}, SizeCase{"tiny", 1}, SizeCase{"below_cutoff", 4095},
                                           SizeCase{"cutoff", 4096}, SizeCase{"above_cutoff", 4097},
                                           SizeCase{"one_fat_sector_full", 126 * 512},
                                           SizeCase{"two_fat_sectors", 126 * 512 + 1},
                                           SizeCase{"first_difat_sector", 8u << 20},
                                           SizeCase{"second_difat_sector", 16u << 20}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(CompoundFileWriterTest, RefusesAStreamOtherThanDeclared) {
  TempFolder folder;
  {
    CompoundFileWriter writer(folder / "short", "Workbook", 5000);
    EXPECT_TRUE(writer.Write(std::string(4999, 'a')));
    EXPECT_FALSE(writer.Finish());
    EXPECT_FALSE(writer.Error().empty());
  }
  {
    CompoundFileWriter writer(folder / "long", "Workbook", 5000);
    EXPECT_TRUE(writer.Write(std::string(4000, 'a')));
    EXPECT_FALSE(writer.Write(std::string(1001, 'a')));
    EXPECT_FALSE(writer.Finish());
  }
  CompoundFileWriter tooBig(folder / "big", "Workbook", CompoundFileWriter::kMaxStreamSize + 1);
  EXPECT_FALSE(tooBig.Ok());
  CompoundFileWriter noFolder(folder / "missing" / "x", "Workbook", 10);
  EXPECT_FALSE(noFolder.Ok());
}

}  // namespace
}  // namespace rz47::testing
