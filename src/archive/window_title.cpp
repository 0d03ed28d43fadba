#include "archive/window_title.h"

#include "platform/text_pair.h"

namespace rz47 {

namespace {
constexpr TextPair kProductName{"РЗ-4.7", "RZ-4.7"};
}

std::string ComposeWindowTitle(const DocumentState& state, int lang) {
  std::string title = Text(kProductName, lang);
  if (state.named) title += " - " + state.archiveName;
  if (state.modified) title += "*";
  return title;
}

}  // namespace rz47
