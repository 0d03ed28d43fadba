// ShowMessageBox for the GUI: a QMessageBox with the program's text and caption and
// its buttons labelled in the program's language (`ButtonTexts`, switched by
// SetMessageButtonsLang). Each box labels only its own buttons, so boxes open in two
// threads at once do not disturb each other. A worker's call is shown by the GUI
// thread while the worker waits. Boxes with 0x10 leave the other windows usable;
// 0x2023 blocks them (task-modal).
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QMessageBox;

namespace rz47 {

struct MessageButtons {
  std::string Ok, Yes, No, Cancel, Abort, Retry;  // Windows-1251
};

extern MessageButtons ButtonTexts;

void SetMessageButtonsLang(int index);

// The box for (text, caption, flags), buttons labelled from ButtonTexts. Not shown.
std::unique_ptr<QMessageBox> CreateMessageBox(const std::string& text, const std::string& caption,
                                              std::uint32_t flags);
// Shows the box and waits; returns 1/2/3/4/5/6/7, or 0 when no box can be shown.
int ShowQtMessageBox(const std::string& text, const std::string& caption, std::uint32_t flags);

// Makes ShowMessageBox show Qt boxes.
void InstallQtMessageBoxes();

// Test seam: with an answerer set, a box is built (so its captions are real) and
// recorded, and the answerer's result is returned instead of showing it.
struct MessageBoxRecord {
  QString text;
  QString caption;
  std::uint32_t flags = 0;
  QStringList buttonCaptions;  // in the order OK, Yes, No, Cancel, Abort, Retry, as present
};
using MessageBoxAnswerer = std::function<int(const MessageBoxRecord&)>;
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

}  // namespace rz47
