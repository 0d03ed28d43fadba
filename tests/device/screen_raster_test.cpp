// The display image's bit mapping, the framed picture and its bitmap file.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>

#include "device/screen_raster.h"

namespace rz47 {
namespace {

using Image = std::array<std::uint8_t, kScreenImageSize>;
using Point = std::pair<int, int>;

std::set<Point> LitDots(const Image& image) {
  std::set<Point> lit;
  for (int y = 0; y < kDisplayHeight; ++y) {
    for (int x = 0; x < kDisplayWidth; ++x) {
      if (ScreenPixel(image, x, y)) lit.insert({x, y});
    }
  }
  return lit;
}

bool IsFrame(int x, int y) { return x == 0 || y == 0 || x == kRasterWidth - 1 || y == kRasterHeight - 1; }

std::set<Point> InkInsideFrame(const ScreenRaster& raster) {
  std::set<Point> ink;
  for (int y = 0; y < kRasterHeight; ++y) {
    for (int x = 0; x < kRasterWidth; ++x) {
      if (!IsFrame(x, y) && raster.Pixel(x, y)) ink.insert({x, y});
    }
  }
  return ink;
}

struct BitCase {
  int byte;
  std::uint8_t value;
  Point dot;      // display dot lit
  Point picture;  // its pixel in the framed picture
};

class ScreenBitTest : public testing::TestWithParam<BitCase> {};

TEST_P(ScreenBitTest, OneBitLightsExactlyOneDot) {
  Image image{};
  image[GetParam().byte] = GetParam().value;
  EXPECT_EQ(LitDots(image), std::set<Point>{GetParam().dot});
  const ScreenRaster raster = FramedScreenRaster(image);
  EXPECT_EQ(InkInsideFrame(raster), std::set<Point>{GetParam().picture});
}

INSTANTIATE_TEST_SUITE_P(Bytes, ScreenBitTest,
                         testing::Values(BitCase{0, 0x01, {0, 0}, {2, 2}},
                                         BitCase{0, 0x80, {0, 7}, {2, 9}},
                                         BitCase{127, 0x01, {127, 0}, {129, 2}},
                                         BitCase{127, 0x80, {127, 7}, {129, 9}},
                                         BitCase{128, 0x01, {0, 8}, {2, 10}},
                                         BitCase{5 * 128 + 64, 0x08, {64, 43}, {66, 45}},
                                         BitCase{1023, 0x80, {127, 63}, {129, 65}}));

TEST(ScreenImage, AllBytesFFLightEveryDot) {
  Image image;
  image.fill(0xFF);
  EXPECT_EQ(LitDots(image).size(), static_cast<std::size_t>(kDisplayWidth * kDisplayHeight));
}

TEST(FramedScreenRaster, BlankImageIsFrameWithMarginOnly) {
  const ScreenRaster raster = FramedScreenRaster(Image{});
  for (int y = 0; y < kRasterHeight; ++y) {
    for (int x = 0; x < kRasterWidth; ++x) ASSERT_EQ(raster.Pixel(x, y), IsFrame(x, y)) << x << "," << y;
  }
}

TEST(FramedScreenRaster, FullImageLeavesTheOnePixelMarginClear) {
  Image image;
  image.fill(0xFF);
  const ScreenRaster raster = FramedScreenRaster(image);
  for (int i = 1; i < kRasterWidth - 1; ++i) {
    EXPECT_FALSE(raster.Pixel(i, 1));
    EXPECT_FALSE(raster.Pixel(i, kRasterHeight - 2));
  }
  for (int i = 1; i < kRasterHeight - 1; ++i) {
    EXPECT_FALSE(raster.Pixel(1, i));
    EXPECT_FALSE(raster.Pixel(kRasterWidth - 2, i));
  }
  EXPECT_EQ(InkInsideFrame(raster).size(), static_cast<std::size_t>(kDisplayWidth * kDisplayHeight));
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// The colour of picture pixel (x, y) read back from the file by its own header.
RgbColor BmpPixel(const std::vector<std::uint8_t>& bmp, int x, int y) {
  const std::uint32_t offset = Le32(bmp, 10);
  const auto width = static_cast<std::int32_t>(Le32(bmp, 18));
  const auto height = static_cast<std::int32_t>(Le32(bmp, 22));
  const int bits = bmp[28] | bmp[29] << 8;
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits / 8 + 3) / 4 * 4;
  const int fileRow = height > 0 ? height - 1 - y : y;
  const std::size_t at = offset + fileRow * stride + x * (bits / 8);
  return {bmp[at + 2], bmp[at + 1], bmp[at]};
}

TEST(WriteBmp, HeaderDescribesA132By68TrueColourBitmap) {
  const auto bmp = WriteBmp(FramedScreenRaster(Image{}), {0, 0, 0}, {255, 255, 255});
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Le32(bmp, 2), bmp.size());
  EXPECT_EQ(Le32(bmp, 14), 40u);
  EXPECT_EQ(Le32(bmp, 18), 132u);
  EXPECT_EQ(Le32(bmp, 22), 68u);
  EXPECT_EQ(bmp[26], 1);   // planes
  EXPECT_EQ(bmp[28], 24);  // bits per pixel
  EXPECT_EQ(Le32(bmp, 30), 0u);  // no compression
  EXPECT_EQ(bmp.size(), 54u + 68u * 396u);
}

struct ColourCase {
  const char* name;
  RgbColor ink;
  RgbColor paper;
};

class BmpColourTest : public testing::TestWithParam<ColourCase> {};

TEST_P(BmpColourTest, InkOnFrameAndDotsPaperElsewhereExactly) {
  Image image{};
  image[0] = 0x01;  // picture pixel (2, 2)
  const auto bmp = WriteBmp(FramedScreenRaster(image), GetParam().ink, GetParam().paper);
  EXPECT_EQ(BmpPixel(bmp, 0, 0), GetParam().ink);
  EXPECT_EQ(BmpPixel(bmp, 131, 67), GetParam().ink);
  EXPECT_EQ(BmpPixel(bmp, 2, 2), GetParam().ink);
  EXPECT_EQ(BmpPixel(bmp, 1, 1), GetParam().paper);
  EXPECT_EQ(BmpPixel(bmp, 3, 2), GetParam().paper);
  EXPECT_EQ(BmpPixel(bmp, 129, 65), GetParam().paper);
}

INSTANTIATE_TEST_SUITE_P(Colours, BmpColourTest,
                         testing::Values(ColourCase{"black on white", {0, 0, 0}, {255, 255, 255}},
                                         ColourCase{"inverted", {255, 255, 255}, {0, 0, 0}},
                                         ColourCase{"channels kept apart", {0x12, 0x34, 0x56}, {0xAB, 0xCD, 0xEF}}));

}  // namespace
}  // namespace rz47
