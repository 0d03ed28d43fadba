#include "device/screen_raster.h"

namespace rz47 {
namespace {

// BMP layout: 14-byte file header ("BM", file size, 0, pixel offset), 40-byte info
// header (size, width, height > 0 = bottom-up, 1 plane, 24 bits, no compression,
// image size, 2835 px/m = 72 dpi both ways, no palette), then rows of 3-byte
// blue-green-red pixels padded to 4 bytes, bottom row first.
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBytesPerPixel = 3;
constexpr std::uint32_t kPixelsPerMetre = 2835;
constexpr std::uint32_t kRowStride = (kRasterWidth * kBytesPerPixel + 3) / 4 * 4;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

ScreenImageBytes ScreenImage{};

bool ScreenPixel(std::span<const std::uint8_t, kScreenImageSize> image, int x, int y) {
  return ((image[static_cast<std::size_t>(kDisplayWidth * (y / 8) + x)] >> (y % 8)) & 1) != 0;
}

ScreenRaster FramedScreenRaster(std::span<const std::uint8_t, kScreenImageSize> image) {
  ScreenRaster raster;
  for (int x = 0; x < kRasterWidth; ++x) {
    raster.SetPixel(x, 0, true);
    raster.SetPixel(x, kRasterHeight - 1, true);
  }
  for (int y = 0; y < kRasterHeight; ++y) {
    raster.SetPixel(0, y, true);
    raster.SetPixel(kRasterWidth - 1, y, true);
  }
  for (int y = 0; y < kDisplayHeight; ++y) {
    for (int x = 0; x < kDisplayWidth; ++x) {
      raster.SetPixel(x + kRasterInset, y + kRasterInset, ScreenPixel(image, x, y));
    }
  }
  return raster;
}

std::vector<std::uint8_t> WriteBmp(const ScreenRaster& raster, RgbColor ink, RgbColor paper) {
  const std::uint32_t imageSize = kRowStride * kRasterHeight;
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<std::uint8_t> out;
  out.reserve(offset + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageSize);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, kInfoHeaderSize);
  Put32(out, kRasterWidth);
  Put32(out, kRasterHeight);
  Put16(out, 1);
  Put16(out, kBytesPerPixel * 8);
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = kRasterHeight - 1; y >= 0; --y) {
    for (int x = 0; x < kRasterWidth; ++x) {
      const RgbColor& c = raster.Pixel(x, y) ? ink : paper;
      out.push_back(c.blue);
      out.push_back(c.green);
      out.push_back(c.red);
    }
    out.resize(out.size() + (kRowStride - kRasterWidth * kBytesPerPixel), 0);
  }
  return out;
}

}  // namespace rz47
