#include "pdf_words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <regex>

namespace rz47::testing {
namespace {

std::string Unescape(std::string s) {
  static const std::array<std::pair<const char*, const char*>, 5> kEntities{
      {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}}};
  for (const auto& [entity, text] : kEntities) {
    for (std::size_t at = s.find(entity); at != std::string::npos; at = s.find(entity, at + 1)) {
      s.replace(at, std::strlen(entity), text);
    }
  }
  return s;
}

std::size_t Utf8Length(const std::string& s) {
  return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::string PdfLine::Words() const {
  std::string out;
  for (const PdfWord& w : words) out += (out.empty() ? "" : " ") + w.text;
  return out;
}

std::string PdfLine::Monospaced(double x0, double advance) const {
  std::string out;
  std::size_t column = 0;
  for (const PdfWord& w : words) {
    const auto at = static_cast<std::size_t>(std::lround((w.x - x0) / advance));
    if (at > column) out.append(at - column, ' ');
    column = std::max(column, at);
    out += w.text;
    column += Utf8Length(w.text);
  }
  return out;
}

std::vector<PdfPage> ReadPdfPages(const std::filesystem::path& file) {
  const std::string command = "pdftotext -bbox '" + file.string() + "' - 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  std::string xml;
  std::array<char, 65536> buf;
  std::size_t n;
  while (pipe != nullptr && (n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) xml.append(buf.data(), n);
  if (pipe == nullptr || ::pclose(pipe) != 0) {
    ADD_FAILURE() << "pdftotext failed: " << xml.substr(0, 2000);
    return {};
  }
  std::vector<PdfPage> pages;
  static const std::regex kWord(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
  std::size_t at = 0;
  for (;;) {
    const std::size_t page = xml.find("<page ", at);
    if (page == std::string::npos) break;
    const std::size_t end = xml.find("</page>", page);
    const std::string body = xml.substr(page, end - page);
    at = end;
    std::vector<PdfWord> words;
    for (std::sregex_iterator it(body.begin(), body.end(), kWord), last; it != last; ++it) {
      words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), Unescape((*it)[3])});
    }
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
      return std::abs(a.y - b.y) > 0.5 ? a.y < b.y : a.x < b.x;
    });
    PdfPage result;
    for (const PdfWord& w : words) {
      if (result.lines.empty() || std::abs(result.lines.back().y - w.y) > 0.5) result.lines.push_back({w.y, {}});
      result.lines.back().words.push_back(w);
    }
    pages.push_back(std::move(result));
  }
  return pages;
}

}  // namespace rz47::testing
