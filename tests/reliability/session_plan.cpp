#include "session_plan.h"

#include <random>
#include <sstream>

namespace rz47::test {
namespace {

// Uniform pick without std::uniform_int_distribution, whose results differ between
// standard libraries: a seed must replay the same plan everywhere.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : engine_(seed) {}
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : engine_() % n; }
  std::size_t Between(std::size_t low, std::size_t high) { return low + Below(high - low + 1); }
  bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }
  template <typename T, std::size_t N>
  T Pick(const T (&choices)[N]) {
    return choices[Below(N)];
  }

 private:
  std::mt19937 engine_;
};

std::string RandomName(Dice& dice) {
  // Letters of both alphabets, digits and blanks; up to 25 (the gauge keeps 20).
  std::string name;
  const std::size_t length = dice.Between(0, 25);
  for (std::size_t i = 0; i < length; ++i) {
    const std::size_t kind = dice.Below(4);
    if (kind == 0) name += static_cast<char>('A' + dice.Below(26));
    else if (kind == 1) name += static_cast<char>(0xC0 + dice.Below(64));  // А..я
    else if (kind == 2) name += static_cast<char>('0' + dice.Below(10));
    else name += ' ';
  }
  return name;
}

sim::GaugeFaults DrawGaugeFaults(Dice& dice, std::size_t archiveSize) {
  sim::GaugeFaults faults;
  if (dice.Chance(15)) faults.ignoreFirstFrames = dice.Between(1, 30);
  if (archiveSize > 0 && dice.Chance(20)) faults.badCrcArchiveRecord = dice.Below(archiveSize);
  if (dice.Chance(15)) faults.wrongEchoMaterialRead = dice.Below(13);
  if (dice.Chance(15)) faults.wrongEchoMaterialWrite = dice.Below(13);
  faults.badParamsOnce = dice.Chance(15);
  faults.oldFirmware = dice.Chance(4);
  if (dice.Chance(8)) faults.shortScreenBytes = dice.Below(1024);
  if (dice.Chance(8)) faults.unplugAfterFrames = dice.Below(200);
  faults.silent = dice.Chance(3);
  return faults;
}

LinkFaultRates DrawLinkFaults(Dice& dice) {
  static constexpr int kRates[] = {0, 0, 0, 5, 20, 100};
  static constexpr int kFailureRates[] = {0, 0, 0, 0, 2, 10};
  LinkFaultRates rates;
  rates.lostPermille = dice.Pick(kRates);
  rates.shortPermille = dice.Pick(kRates);
  rates.damagedPermille = dice.Pick(kRates);
  rates.failedPermille = dice.Pick(kFailureRates);
  rates.failedWritePermille = dice.Pick(kFailureRates);
  if (dice.Chance(7)) rates.unplugAtCall = dice.Between(1, 600);
  return rates;
}

}  // namespace

SessionPlan MakeSessionPlan(std::uint32_t seed, std::size_t demoArchiveSize) {
  Dice dice(seed);
  SessionPlan plan;
  plan.seed = seed;
  static constexpr LinkJobCode kJobs[] = {JobReadArchive,    JobReadArchive,   JobReadArchive, JobReadArchive,
                                          JobReadMaterials,  JobReadMaterials, JobWriteMaterials,
                                          JobWriteMaterials, JobReadScreen,    JobReadScreen};
  plan.job = dice.Pick(kJobs);
  plan.needMaterials = dice.Chance(50);
  plan.lang = static_cast<int>(dice.Below(2));
  const std::size_t sizeKind = dice.Below(20);
  plan.archiveSize = sizeKind == 0 ? 0 : sizeKind == 1 ? demoArchiveSize : dice.Between(1, 40);
  if (plan.job == JobReadArchive && plan.archiveSize > 0 && dice.Chance(30)) {
    plan.mergedRows = dice.Between(1, plan.archiveSize);
  }
  if (plan.job == JobWriteMaterials) {
    const bool badSpeed = dice.Chance(5);
    const std::size_t badRow = dice.Below(13);
    for (std::size_t j = 0; j < 13; ++j) {
      MaterialCells cells{RandomName(dice), std::to_string(dice.Below(65536))};
      if (badSpeed && j == badRow) cells.speed = "70000";
      plan.written.push_back(cells);
    }
  }
  plan.gaugeFaults = DrawGaugeFaults(dice, plan.archiveSize);
  plan.linkFaults = DrawLinkFaults(dice);
  const std::size_t cancelKind = dice.Below(20);
  if (cancelKind < 5) plan.linkFaults.cancelAtCall = dice.Between(1, 600);
  else if (cancelKind < 8) plan.cancelAtHandOver = static_cast<int>(dice.Between(1, 200));
  return plan;
}

std::string SessionPlan::Describe() const {
  std::ostringstream out;
  out << "seed " << seed << ": job " << int(job) << (needMaterials ? " +materials" : "") << " lang " << lang
      << " records " << archiveSize << " merged " << mergedRows;
  const sim::GaugeFaults& g = gaugeFaults;
  out << " | gauge:";
  if (g.ignoreFirstFrames) out << " ignore " << g.ignoreFirstFrames;
  if (g.badCrcArchiveRecord) out << " bad-crc " << *g.badCrcArchiveRecord;
  if (g.wrongEchoMaterialRead) out << " echo-read " << *g.wrongEchoMaterialRead;
  if (g.wrongEchoMaterialWrite) out << " echo-write " << *g.wrongEchoMaterialWrite;
  if (g.badParamsOnce) out << " bad-params";
  if (g.oldFirmware) out << " old-firmware";
  if (g.shortScreenBytes) out << " short-screen " << *g.shortScreenBytes;
  if (g.unplugAfterFrames) out << " unplug-after " << *g.unplugAfterFrames;
  if (g.silent) out << " silent";
  const LinkFaultRates& l = linkFaults;
  out << " | link: lost " << l.lostPermille << " short " << l.shortPermille << " damaged " << l.damagedPermille
      << " failed " << l.failedPermille << "/" << l.failedWritePermille;
  if (l.unplugAtCall) out << " unplug@" << *l.unplugAtCall;
  if (l.cancelAtCall) out << " cancel@call " << *l.cancelAtCall;
  if (cancelAtHandOver) out << " cancel@handover " << *cancelAtHandOver;
  return out.str();
}

}  // namespace rz47::test
