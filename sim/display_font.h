// Drawing on the simulated gauge's 128 x 64 display image, in the gauge's transfer
// layout: byte 128 * (y / 8) + x holds column x of the 8-row band y / 8, bit y % 8
// is row y (bit 0 the top row of the band); a set bit is a lit dot.
// A small 5 x 7 font of our own covers digits, Latin capitals (lower case is drawn
// as capitals) and a few signs; other characters draw as a blank cell.
// Pure functions over the image; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "sim/gauge_model.h"

namespace rz47::sim {

using ScreenImage = std::array<std::uint8_t, kScreenBytes>;

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = kGlyphWidth + 1;

// Lights (or clears) one dot; dots outside the display are ignored.
void SetDot(ScreenImage& image, int x, int y, bool lit = true);
bool DotAt(const ScreenImage& image, int x, int y);

// Draws `text` with its top-left corner at (x, y), each font dot as a scale x scale
// block. Returns the x just after the text.
int DrawText(ScreenImage& image, int x, int y, std::string_view text, int scale = 1);

void DrawHorizontalLine(ScreenImage& image, int x0, int x1, int y);
void DrawRectangle(ScreenImage& image, int x0, int y0, int x1, int y1);

}  // namespace rz47::sim
