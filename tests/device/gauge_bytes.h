// Test fixtures: the gauge's blocks written byte by byte from the wire layout, with
// the CRC of the shared CRC unit, so the session's decoders are checked against an
// independent writing of the format.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "device/crc16.h"

namespace rz47::test {

inline void Seal(std::uint8_t* block, std::size_t size) {
  block[size - 4] = 0xAA;
  block[size - 3] = 0xAA;
  const std::uint16_t crc = Crc16(block, size - 2);
  block[size - 2] = static_cast<std::uint8_t>(crc & 0xFF);
  block[size - 1] = static_cast<std::uint8_t>(crc >> 8);
}

struct RecordFields {
  int sec = 7, min = 5, hour = 9, day = 10, month = 6, year = 14;
  int number = 1, series = 1, material = 0;
  float thickness = 12.5f;
  std::uint32_t speed = 4000;
};

inline std::array<std::uint8_t, 24> MakeArchiveRecord(const RecordFields& f) {
  std::array<std::uint8_t, 24> r{};
  r[0] = static_cast<std::uint8_t>(f.sec);
  r[1] = static_cast<std::uint8_t>(f.min);
  r[2] = static_cast<std::uint8_t>(f.hour);
  r[3] = static_cast<std::uint8_t>(f.day);
  r[4] = static_cast<std::uint8_t>(f.month);
  r[5] = static_cast<std::uint8_t>(f.year);
  r[6] = static_cast<std::uint8_t>(f.number);
  r[7] = static_cast<std::uint8_t>(f.series);
  r[8] = static_cast<std::uint8_t>(f.material);
  r[9] = 0x5A;  // unused bytes hold junk on a real gauge
  std::uint32_t bits = 0;
  std::memcpy(&bits, &f.thickness, 4);
  for (int i = 0; i < 4; ++i) r[12 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  for (int i = 0; i < 4; ++i) r[16 + i] = static_cast<std::uint8_t>(f.speed >> (8 * i));
  Seal(r.data(), r.size());
  return r;
}

// A 52-byte material record: counted names at 0 and 21, speed at 42 (LE), number at
// 44, `spare` in 45..47, marker, CRC.
inline std::array<std::uint8_t, 52> MakeMaterialRecord(const std::string& ru, const std::string& en,
                                                       std::uint16_t speed, std::uint8_t number,
                                                       std::uint8_t spare = 0x33) {
  std::array<std::uint8_t, 52> r{};
  r.fill(0x77);  // bytes past a name's end keep whatever the gauge had there
  r[0] = static_cast<std::uint8_t>(ru.size());
  std::memcpy(&r[1], ru.data(), ru.size());
  r[21] = static_cast<std::uint8_t>(en.size());
  std::memcpy(&r[22], en.data(), en.size());
  r[42] = static_cast<std::uint8_t>(speed & 0xFF);
  r[43] = static_cast<std::uint8_t>(speed >> 8);
  r[44] = number;
  r[45] = r[46] = r[47] = spare;
  Seal(r.data(), r.size());
  return r;
}

// A parameter block whose occupancy bits mark `count` slots (spread over the block).
inline std::array<std::uint8_t, 204> MakeParamBlock(int count) {
  std::array<std::uint8_t, 204> p{};
  for (int i = 0; i < count; ++i) {
    const int slot = (i * 37) % 1600;
    p[slot / 8] |= static_cast<std::uint8_t>(1 << (slot % 8));
  }
  Seal(p.data(), p.size());
  return p;
}

}  // namespace rz47::test
