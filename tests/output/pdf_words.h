// Words of a PDF with their positions, as poppler's `pdftotext -bbox` reads them
// (an independent reader), grouped into lines, and the lines turned back into
// monospaced text: a word's column is its distance from the left edge divided by
// the character advance, so runs of blanks survive.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace rz47::testing {

struct PdfWord {
  double x = 0, y = 0;  // top-left, points from the page's top-left
  std::string text;     // UTF-8
};

struct PdfLine {
  double y = 0;
  std::vector<PdfWord> words;  // left to right
  // The words joined by single blanks.
  std::string Words() const;
  // The words placed at their columns: column = round((x - x0) / advance).
  std::string Monospaced(double x0, double advance) const;
};

struct PdfPage {
  std::vector<PdfLine> lines;  // top to bottom
};

std::vector<PdfPage> ReadPdfPages(const std::filesystem::path& file);

inline constexpr double kPointsPerMm = 72.0 / 25.4;

}  // namespace rz47::testing
