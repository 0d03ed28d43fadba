// Every fault option, shown on the bytes the gauge sends.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "sim/gauge_faults.h"
#include "sim/gauge_protocol.h"
#include "sim_test_util.h"

namespace rz47::sim {
namespace {

using testing::Bytes;
using testing::Frame;
using testing::Slice;

// What one frame should bring back.
struct Step {
  Bytes frame;
  std::size_t answerSize;                 // 0: no answer
  std::optional<bool> crcChecks = {};     // for checked blocks
  std::optional<std::uint16_t> echo = {}; // echoed index
};

struct FaultCase {
  std::string name;
  std::string options;  // as on the command line
  std::vector<Step> steps;
  bool unpluggedAtEnd = false;
};

Bytes MaterialWrite(std::uint8_t index) {
  Bytes record(52, 0);
  record[0] = 1;
  record[1] = 'x';
  const std::uint16_t crc = Crc16(record.data(), 50);
  record[50] = static_cast<std::uint8_t>(crc & 0xFF);
  record[51] = static_cast<std::uint8_t>(crc >> 8);
  Bytes bytes = Frame(0x05, 0, index);
  bytes.insert(bytes.end(), record.begin(), record.end());
  return bytes;
}

const Bytes kVersion = Frame(0x01, 0, 0);
const Bytes kParams = Frame(0x02, 0, 0);
Bytes Record(std::uint8_t j) { return Frame(0x03, 0, j); }
Bytes Material(std::uint8_t j) { return Frame(0x04, 0, j); }
const Bytes kScreen = Frame(0x06, 0, 0);

class GaugeFaultOptions : public ::testing::TestWithParam<FaultCase> {};

TEST_P(GaugeFaultOptions, ShowOnTheWire) {
  const FaultCase& c = GetParam();
  std::vector<std::string> args = SplitWords(c.options);
  GaugeFaults faults;
  ASSERT_EQ(TakeFaultOptions(args, faults), std::nullopt);
  ASSERT_TRUE(args.empty());
  GaugeProtocol gauge(MakeDemoGaugeModel(), faults);
  for (std::size_t i = 0; i < c.steps.size(); ++i) {
    const Step& step = c.steps[i];
    const Bytes answer = gauge.Receive(step.frame);
    ASSERT_EQ(answer.size(), step.answerSize) << "step " << i;
    if (step.crcChecks) {
      EXPECT_EQ(Crc16(answer.data() + 5, answer.size() - 5) == 0, *step.crcChecks) << "step " << i;
    }
    if (step.echo) {
      EXPECT_EQ(answer[3] << 8 | answer[4], *step.echo) << "step " << i;
    }
  }
  EXPECT_EQ(gauge.Unplugged(), c.unpluggedAtEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, GaugeFaultOptions,
    ::testing::Values(
        FaultCase{"none", "", {{kVersion, 21}, {kParams, 209, true}, {Record(1), 29, true, 1}, {Material(4), 57, true, 4}}},
        FaultCase{"ignore_first_frames", "--ignore-frames 2", {{kVersion, 0}, {kVersion, 0}, {kVersion, 21}}},
        FaultCase{"bad_crc_on_archive_record_once",
                  "--bad-archive-crc 1",
                  {{Record(0), 29, true, 0}, {Record(1), 29, false, 1}, {Record(1), 29, true, 1}}},
        FaultCase{"wrong_echo_on_material_read_once",
                  "--wrong-echo-material 4",
                  {{Material(3), 57, true, 3}, {Material(4), 57, true, 0x0105}, {Material(4), 57, true, 4}}},
        FaultCase{"wrong_echo_on_material_write_once",
                  "--wrong-echo-material-write 7",
                  {{MaterialWrite(6), 5, {}, 6}, {MaterialWrite(7), 5, {}, 0x0108}, {MaterialWrite(7), 5, {}, 7}}},
        FaultCase{"bad_params_once", "--bad-params", {{kParams, 209, false}, {kParams, 209, true}}},
        FaultCase{"short_screen", "--short-screen 100", {{kScreen, 105}, {kScreen, 105}}},
        FaultCase{"unplug_after_frames",
                  "--unplug-after 2",
                  {{kVersion, 21}, {kParams, 209}, {kVersion, 0}, {kVersion, 0}},
                  true},
        FaultCase{"silent", "--silent", {{kVersion, 0}, {kParams, 0}, {kScreen, 0}}}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST(GaugeFaultOptions, OldFirmwareAnswersTheDayBeforeTheOldestAccepted) {
  GaugeFaults faults;
  faults.oldFirmware = true;
  GaugeProtocol gauge(MakeDemoGaugeModel(), faults);
  const Bytes answer = gauge.Receive(kVersion);
  ASSERT_EQ(answer.size(), 21u);
  EXPECT_EQ(std::string(answer.begin() + 11, answer.end()), "09.06.2014");
}

TEST(GaugeFaultOptions, WrongEchoWriteDoesNotStoreTheRecord) {
  GaugeFaults faults;
  faults.wrongEchoMaterialWrite = 7;
  GaugeProtocol gauge(MakeDemoGaugeModel(), faults);
  const std::string before = NameOf(gauge.Model().materials[7].russian);
  gauge.Receive(MaterialWrite(7));
  EXPECT_EQ(NameOf(gauge.Model().materials[7].russian), before);
  gauge.Receive(MaterialWrite(7));
  EXPECT_EQ(NameOf(gauge.Model().materials[7].russian), "x");
}

TEST(GaugeFaultOptions, FramesAreCountedWhileIgnoredOrSilent) {
  GaugeFaults faults;
  faults.silent = true;
  GaugeProtocol gauge(MakeDemoGaugeModel(), faults);
  for (int i = 0; i < 3; ++i) gauge.Receive(kVersion);
  EXPECT_EQ(gauge.FramesSeen(), 3u);
}

struct ParseCase {
  std::string options;
  std::optional<std::string> error;  // start of the expected error text
  std::vector<std::string> rest;
};

class FaultOptionParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(FaultOptionParsing, TakesKnownOptionsOnly) {
  const ParseCase& c = GetParam();
  std::vector<std::string> args = SplitWords(c.options);
  GaugeFaults faults;
  const auto error = TakeFaultOptions(args, faults);
  ASSERT_EQ(error.has_value(), c.error.has_value()) << error.value_or("");
  if (error) {
    EXPECT_EQ(error->rfind(*c.error, 0), 0u) << *error;
  } else {
    EXPECT_EQ(args, c.rest);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, FaultOptionParsing,
    ::testing::Values(ParseCase{"--fixture f.txt --silent --link /tmp/x", {}, {"--fixture", "f.txt", "--link", "/tmp/x"}},
                      ParseCase{"--unplug-after", "--unplug-after needs a whole number", {}},
                      ParseCase{"--short-screen -5", "--short-screen needs a whole number", {}},
                      ParseCase{"--ignore-frames 3x", "--ignore-frames needs a whole number", {}},
                      ParseCase{"  --old-firmware\t--bad-params  ", {}, {}}));

TEST(FaultOptionParsing, ValuesLandInTheirFields) {
  std::vector<std::string> args = SplitWords(
      "--ignore-frames 4 --bad-archive-crc 5 --wrong-echo-material 6 --wrong-echo-material-write 7 "
      "--short-screen 8 --unplug-after 9 --old-firmware --bad-params --silent");
  GaugeFaults f;
  ASSERT_EQ(TakeFaultOptions(args, f), std::nullopt);
  EXPECT_EQ(f.ignoreFirstFrames, 4u);
  EXPECT_EQ(f.badCrcArchiveRecord, 5u);
  EXPECT_EQ(f.wrongEchoMaterialRead, 6u);
  EXPECT_EQ(f.wrongEchoMaterialWrite, 7u);
  EXPECT_EQ(f.shortScreenBytes, 8u);
  EXPECT_EQ(f.unplugAfterFrames, 9u);
  EXPECT_TRUE(f.oldFirmware && f.badParamsOnce && f.silent);
}

}  // namespace
}  // namespace rz47::sim
