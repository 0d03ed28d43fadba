// What rz47 sets up before its window shows and takes down after the loop ends:
// regional settings, the hand-over and message-box mechanisms, the main window and
// the archive named on the command line. Tests build the same session.
#pragma once

#include <QStringList>
#include <memory>

namespace rz47 {

class TForm1;

class AppSession {
 public:
  explicit AppSession(const QStringList& args);
  ~AppSession();

  TForm1& MainForm() { return *form_; }

 private:
  std::unique_ptr<TForm1> form_;
};

}  // namespace rz47
