// Stand-ins for the file commands' surroundings: an in-memory folder tree, scripted
// file dialogs and message boxes that record what they were shown.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive/archive_file.h"
#include "archive/file_commands.h"
#include "platform/cp1251.h"
#include "platform/message_box.h"

namespace rz47::test {

// Files are kept as their archive bytes, so saving and opening go through the format.
class FakeFiles : public ArchiveFileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> failingSaves;
  std::vector<std::string> saves;  // paths written, in order

  bool Exists(const std::string& path) const override { return files.count(path) > 0; }
  FileResult Save(const GridData& grid, const std::string& path) override {
    if (failingSaves.count(path) > 0) return FileResult::Fail("disk full: " + path);
    files[path] = EncodeGrid(grid);
    saves.push_back(path);
    return FileResult::Ok();
  }
  FileResult Load(GridData& grid, const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return FileResult::Fail("no such file: " + path);
    return DecodeGrid(it->second, grid, path);
  }
};

class FakeUi : public FileCommandUi {
 public:
  std::deque<std::optional<std::string>> openChoices;
  std::deque<std::optional<std::string>> saveChoices;
  int openDialogs = 0;
  int saveDialogs = 0;
  std::vector<std::string> titles;  // UTF-8
  std::vector<std::string> opened;

  std::optional<std::string> ChooseFileToOpen() override {
    ++openDialogs;
    return Next(openChoices, "open dialog");
  }
  std::optional<std::string> ChooseFileToSaveAs() override {
    ++saveDialogs;
    return Next(saveChoices, "save dialog");
  }
  void SetTitle(const std::string& title) override { titles.push_back(Cp1251ToUtf8(title)); }
  void ArchiveOpened(const std::string& path) override { opened.push_back(path); }

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& queue, const char* what) {
    if (queue.empty()) {
      ADD_FAILURE() << "unexpected " << what;
      return std::nullopt;
    }
    auto choice = queue.front();
    queue.pop_front();
    return choice;
  }
};

struct ShownBox {
  std::string text;  // UTF-8
  std::string caption;
  std::uint32_t flags = 0;
};

// Answers ShowMessageBox from a script while it lives.
class ScriptedBoxes {
 public:
  std::deque<int> answers;
  std::vector<ShownBox> shown;

  ScriptedBoxes() {
    previous_ = InstallMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                                std::uint32_t flags) {
      shown.push_back({Cp1251ToUtf8(text), Cp1251ToUtf8(caption), flags});
      if ((flags & 0xF) == 0) return kIdOk;  // a message: OK is its only button
      if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << shown.back().text;
        return kIdCancel;
      }
      int answer = answers.front();
      answers.pop_front();
      return answer;
    });
  }
  ~ScriptedBoxes() { InstallMessageBoxHandler(previous_); }
  ScriptedBoxes(const ScriptedBoxes&) = delete;
  ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const ShownBox& box : shown) texts.push_back(box.text);
    return texts;
  }

 private:
  MessageBoxHandler previous_;
};

}  // namespace rz47::test
