#include "sim/display_font.h"

#include <cctype>

namespace rz47::sim {
namespace {

struct Glyph {
  char ch;
  std::array<const char*, kGlyphHeight> rows;  // '#' = lit dot
};

// clang-format off
constexpr std::array kGlyphs{
    Glyph{'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    Glyph{'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    Glyph{'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    Glyph{'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    Glyph{'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    Glyph{'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    Glyph{'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    Glyph{'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    Glyph{'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    Glyph{'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    Glyph{'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    Glyph{'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    Glyph{'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    Glyph{'D', {"###  ", "#  # ", "#   #", "#   #", "#   #", "#  # ", "###  "}},
    Glyph{'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    Glyph{'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    Glyph{'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    Glyph{'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    Glyph{'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    Glyph{'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    Glyph{'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    Glyph{'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    Glyph{'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    Glyph{'N', {"#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"}},
    Glyph{'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    Glyph{'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    Glyph{'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    Glyph{'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    Glyph{'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    Glyph{'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    Glyph{'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    Glyph{'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    Glyph{'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "}},
    Glyph{'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    Glyph{'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    Glyph{'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    Glyph{'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    Glyph{',', {"     ", "     ", "     ", "     ", " ##  ", "  #  ", " #   "}},
    Glyph{':', {"     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "}},
    Glyph{'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
    Glyph{'/', {"     ", "    #", "   # ", "  #  ", " #   ", "#    ", "     "}},
    Glyph{'=', {"     ", "     ", "#####", "     ", "#####", "     ", "     "}},
    Glyph{'%', {"##   ", "##  #", "   # ", "  #  ", " #   ", "#  ##", "   ##"}},
    Glyph{'(', {"   # ", "  #  ", " #   ", " #   ", " #   ", "  #  ", "   # "}},
    Glyph{')', {" #   ", "  #  ", "   # ", "   # ", "   # ", "  #  ", " #   "}},
};
// clang-format on

const Glyph* FindGlyph(char ch) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  for (const Glyph& g : kGlyphs) {
    if (g.ch == upper) return &g;
  }
  return nullptr;
}

}  // namespace

void SetDot(ScreenImage& image, int x, int y, bool lit) {
  if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight) return;
  std::uint8_t& byte = image[static_cast<std::size_t>(kScreenWidth * (y / 8) + x)];
  const auto bit = static_cast<std::uint8_t>(1U << (y % 8));
  byte = lit ? static_cast<std::uint8_t>(byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
}

bool DotAt(const ScreenImage& image, int x, int y) {
  if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight) return false;
  return (image[static_cast<std::size_t>(kScreenWidth * (y / 8) + x)] >> (y % 8) & 1U) != 0;
}

int DrawText(ScreenImage& image, int x, int y, std::string_view text, int scale) {
  for (char ch : text) {
    if (const Glyph* glyph = FindGlyph(ch)) {
      for (int row = 0; row < kGlyphHeight; ++row) {
        for (int col = 0; col < kGlyphWidth; ++col) {
          if (glyph->rows[static_cast<std::size_t>(row)][col] != '#') continue;
          for (int dy = 0; dy < scale; ++dy) {
            for (int dx = 0; dx < scale; ++dx) SetDot(image, x + col * scale + dx, y + row * scale + dy);
          }
        }
      }
    }
    x += kGlyphAdvance * scale;
  }
  return x;
}

void DrawHorizontalLine(ScreenImage& image, int x0, int x1, int y) {
  for (int x = x0; x <= x1; ++x) SetDot(image, x, y);
}

void DrawRectangle(ScreenImage& image, int x0, int y0, int x1, int y1) {
  DrawHorizontalLine(image, x0, x1, y0);
  DrawHorizontalLine(image, x0, x1, y1);
  for (int y = y0; y <= y1; ++y) {
    SetDot(image, x0, y);
    SetDot(image, x1, y);
  }
}

}  // namespace rz47::sim
