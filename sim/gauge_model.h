// The simulated gauge's state: what a real gauge keeps in its memory and shows.
//
//  - the measurement archive (at most 1,600 records, each in one of 1,600 slots),
//  - the table of 13 materials (names as the gauge stores them: counted fields),
//  - the firmware date, as the version answer carries it ("dd.mm.yyyy"),
//  - the 128 x 64 display image, one bit a dot, in the gauge's transfer layout.
// Texts are Windows-1251. Plain values; the owner serialises access.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rz47::sim {

constexpr std::size_t kArchiveSlots = 1600;
constexpr std::size_t kMaterialCount = 13;
constexpr std::size_t kNameFieldSize = 21;  // length byte + up to 20 characters
constexpr std::size_t kMaxNameLength = 20;
constexpr int kScreenWidth = 128;
constexpr int kScreenHeight = 64;
constexpr std::size_t kScreenBytes = kScreenWidth * kScreenHeight / 8;

struct ArchiveRecord {
  // Date and time fields as the gauge's clock stores them (not validated: a gauge
  // with a bad clock sends what it has).
  std::uint8_t second = 0;
  std::uint8_t minute = 0;
  std::uint8_t hour = 0;
  std::uint8_t day = 1;
  std::uint8_t month = 1;
  std::uint8_t year = 0;  // years since 2000
  std::uint8_t number = 0;
  std::uint8_t series = 0;
  std::uint8_t material = 0;
  float thickness = 0;     // millimetres
  std::uint32_t speed = 0; // metres per second
};

using NameField = std::array<std::uint8_t, kNameFieldSize>;

struct GaugeMaterial {
  NameField russian{};
  NameField english{};
  std::uint16_t speed = 0;
  std::uint8_t number = 0;  // the number the gauge shows for the material
};

struct GaugeModel {
  std::string firmwareDate;
  std::vector<ArchiveRecord> archive;
  std::bitset<kArchiveSlots> occupied;  // one bit per slot; as many set as records
  std::array<GaugeMaterial, kMaterialCount> materials{};
  std::array<std::uint8_t, kScreenBytes> screen{};
};

// A counted name field for `name` (CP1251): length byte, at most 20 characters, a zero
// after a shorter name, the rest filled with 0xFF as erased memory reads.
NameField MakeNameField(const std::string& name);
// The name a counted field holds: its length byte L from 1 to 20 gives the L bytes
// after it, cut at a zero byte; any other length gives an empty name.
std::string NameOf(const NameField& field);

// Marks slots 0 .. archive.size() - 1 as occupied and clears the others.
void OccupyFirstSlots(GaugeModel& model);

// The demo gauge: ~300 measurements over several days, 13 materials of building
// practice, firmware "21.04.2015", a display showing a reading.
GaugeModel MakeDemoGaugeModel();

// The 13 demo materials alone (numbers 1 to 13).
std::array<GaugeMaterial, kMaterialCount> DemoMaterials();

// Draws the display the demo shows for `record` with the material's English name.
void DrawReadingScreen(GaugeModel& model, const ArchiveRecord& record);

}  // namespace rz47::sim
