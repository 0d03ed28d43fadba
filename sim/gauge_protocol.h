// The gauge's side of the link: takes the bytes the PC sends, answers them from the
// model. Byte level, no I/O; the in-process backend and the pseudo-terminal server
// both drive it.
//
// Command frame, PC -> gauge, 5 bytes:
//   [0] 0xAA  [1] code  [2] ~code  [3] index high byte  [4] index low byte
// Answer header, gauge -> PC, 5 bytes of the same shape: the gauge repeats the code
// and the index of the frame it answers. The payload follows the header:
//   0x01 version      16 bytes  [0..5] "RZ-4.7"  [6..15] firmware date "dd.mm.yyyy"
//   0x02 parameters  204 bytes  [0..199] slot bits (slot s = bit s % 8 of byte s / 8)
//                               [200..201] AA AA  [202..203] CRC low, high
//   0x03 record j     24 bytes  [0] s [1] min [2] h [3] day [4] month [5] year - 2000
//                               [6] number [7] series [8] material [9..11] 0
//                               [12..15] thickness, float little-endian
//                               [16..19] speed, uint32 little-endian
//                               [20..21] AA AA  [22..23] CRC low, high
//   0x04 material j   52 bytes  [0..20] Russian name field [21..41] English name field
//                               [42..43] speed, uint16 little-endian [44] number
//                               [45..47] 0 [48..49] AA AA [50..51] CRC low, high
//   0x05 write j      the PC sends the 52-byte material record after the frame; the
//                     answer is the header alone, after the record is stored
//   0x06 screen     1024 bytes  the display image as it is (no marker, no CRC)
// A frame whose byte 2 is not the complement of byte 1 is noise: the gauge skips to
// the next 0xAA. Unknown codes, indices beyond the archive or the material table, and
// a written record that fails its CRC get no answer.
// Not thread-safe: the owner serialises calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/gauge_faults.h"
#include "sim/gauge_model.h"

namespace rz47::sim {

constexpr std::uint8_t kFrameStart = 0xAA;
constexpr std::size_t kFrameSize = 5;
constexpr std::uint8_t kMarkerByte = 0xAA;

enum class GaugeCommand : std::uint8_t {
  Version = 0x01,
  Params = 0x02,
  ArchiveRecord = 0x03,
  MaterialRead = 0x04,
  MaterialWrite = 0x05,
  Screen = 0x06,
};

constexpr std::size_t kVersionSize = 16;
constexpr std::size_t kParamsSize = 204;
constexpr std::size_t kArchiveRecordSize = 24;
constexpr std::size_t kMaterialRecordSize = 52;

using CommandFrame = std::array<std::uint8_t, kFrameSize>;

CommandFrame MakeFrame(std::uint8_t code, std::uint16_t index);

std::array<std::uint8_t, kVersionSize> EncodeVersion(const std::string& firmwareDate);
std::array<std::uint8_t, kParamsSize> EncodeParams(const GaugeModel& model);
std::array<std::uint8_t, kArchiveRecordSize> EncodeArchiveRecord(const ArchiveRecord& record);
std::array<std::uint8_t, kMaterialRecordSize> EncodeMaterialRecord(const GaugeMaterial& material);
// Stores a written material record (names and speed; the number stays the gauge's).
// False, and nothing stored, when the record's CRC does not check.
bool ApplyMaterialRecord(GaugeMaterial& material, std::span<const std::uint8_t, kMaterialRecordSize> record);

class GaugeProtocol {
 public:
  GaugeProtocol(GaugeModel model, GaugeFaults faults);

  // Takes bytes from the PC; returns what the gauge sends back (maybe nothing).
  // Once unplugged, takes nothing and answers nothing.
  std::vector<std::uint8_t> Receive(std::span<const std::uint8_t> bytes);

  bool Unplugged() const { return unplugged_; }
  std::size_t FramesSeen() const { return framesSeen_; }
  const GaugeModel& Model() const { return model_; }
  GaugeModel& Model() { return model_; }
  GaugeFaults& Faults() { return faults_; }

 private:
  void Answer(const std::uint8_t* frame, std::vector<std::uint8_t>& out);

  GaugeModel model_;
  GaugeFaults faults_;
  std::vector<std::uint8_t> input_;
  std::size_t framesSeen_ = 0;
  bool unplugged_ = false;
};

}  // namespace rz47::sim
