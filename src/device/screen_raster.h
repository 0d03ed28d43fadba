// The gauge's display image and the picture the program makes of it.
//
// ScreenImage is the 1,024-byte buffer the screen job fills (program-wide; the worker
// writes it, the screenshot window reads it only after the job reported 100 %).
// FramedScreenRaster turns an image into the 132 x 68 picture of the screenshot
// window: a one-pixel frame, a one-pixel margin, the 128 x 64 dots. WriteBmp
// stores such a picture as a Windows bitmap in two given colours. Pure functions;
// any thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/wire_format.h"

namespace rz47 {

// Display image, as received (no header, no checksum):
//
//   byte k covers display column k mod 128 of band k div 128 (8 bands of 8 rows,
//   top to bottom); bit b (b = 0 the least significant) is row 8 * band + b.
//
//          x=0      x=1           x=127
//   band 0 [byte 0] [byte 1] ... [byte 127]    bit 0 = row 0 ... bit 7 = row 7
//   band 1 [byte 128]        ... [byte 255]    bit 0 = row 8 ...
//   ...
//   band 7 [byte 896]        ... [byte 1023]   ... bit 7 = row 63
using ScreenImageBytes = std::array<std::uint8_t, kScreenImageSize>;
extern ScreenImageBytes ScreenImage;

constexpr int kDisplayWidth = 128;
constexpr int kDisplayHeight = 64;

// Whether display dot (x, y) is lit; x 0..127 left to right, y 0..63 top to bottom.
bool ScreenPixel(std::span<const std::uint8_t, kScreenImageSize> image, int x, int y);

// The framed picture: pixel (x, y) is true in the ink colour (frame and lit dots),
// false in the paper colour. Frame at x = 0, x = 131, y = 0, y = 67; the dots at
// x = 2..129, y = 2..65.
constexpr int kRasterWidth = 132;
constexpr int kRasterHeight = 68;
constexpr int kRasterInset = 2;

class ScreenRaster {
 public:
  bool Pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * kRasterWidth + x]; }
  void SetPixel(int x, int y, bool ink) { pixels_[static_cast<std::size_t>(y) * kRasterWidth + x] = ink; }

 private:
  std::array<bool, kRasterWidth * kRasterHeight> pixels_{};
};

ScreenRaster FramedScreenRaster(std::span<const std::uint8_t, kScreenImageSize> image);

struct RgbColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

// The picture as a complete .bmp file: a 24-bit bottom-up bitmap (so each colour is
// kept exactly), ink where the raster is true, paper where it is false.
std::vector<std::uint8_t> WriteBmp(const ScreenRaster& raster, RgbColor ink, RgbColor paper);

}  // namespace rz47
