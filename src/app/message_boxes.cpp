#include "app/message_boxes.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <array>
#include <mutex>

#include "platform/message_box.h"
#include "platform/qt/qt_synchronizer.h"
#include "platform/qt/qt_text.h"
#include "platform/synchronize.h"
#include "platform/text_pair.h"

namespace rz47 {

MessageButtons ButtonTexts;

namespace {

// The six caption pairs in the order the module keeps them.
constexpr TextPair kOkPair{"ОК", "OK"};  // Russian: Cyrillic О and К
constexpr TextPair kNoPair{"Нет", "No"};
constexpr TextPair kCancelPair{"Отмена", "Cancel"};
constexpr TextPair kYesPair{"Да", "Yes"};
constexpr TextPair kAbortPair{"Прервать", "Abort"};
constexpr TextPair kRetryPair{"Повторить", "Retry"};

std::mutex answererMutex;
MessageBoxAnswerer answerer;

struct ButtonSpec {
  QMessageBox::StandardButton button;
  int id;
  std::string MessageButtons::*caption;
};

constexpr std::array<ButtonSpec, 7> kButtons{{
    {QMessageBox::Ok, 1, &MessageButtons::Ok},
    {QMessageBox::Yes, 6, &MessageButtons::Yes},
    {QMessageBox::No, 7, &MessageButtons::No},
    {QMessageBox::Cancel, 2, &MessageButtons::Cancel},
    {QMessageBox::Abort, 3, &MessageButtons::Abort},
    {QMessageBox::Retry, 4, &MessageButtons::Retry},
    {QMessageBox::Ignore, 5, nullptr},  // keeps the toolkit's caption
}};

QMessageBox::StandardButtons ButtonsOf(std::uint32_t flags) {
  switch (flags & 0xF) {
    case 1: return QMessageBox::Ok | QMessageBox::Cancel;
    case 2: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case 3: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4: return QMessageBox::Yes | QMessageBox::No;
    case 5: return QMessageBox::Retry | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconOf(std::uint32_t flags) {
  switch (flags & 0xF0) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

int IdOf(const QMessageBox& box) {
  QAbstractButton* clicked = box.clickedButton();
  for (const ButtonSpec& entry : kButtons) {
    if (clicked != nullptr && clicked == box.button(entry.button)) return entry.id;
  }
  return 0;
}

MessageBoxRecord RecordOf(const QMessageBox& box, std::uint32_t flags) {
  MessageBoxRecord record{box.text(), box.windowTitle(), flags, {}};
  for (const ButtonSpec& entry : kButtons) {
    if (QAbstractButton* b = box.button(entry.button)) record.buttonCaptions << b->text();
  }
  return record;
}

int ShowOnGuiThread(const std::string& text, const std::string& caption, std::uint32_t flags) {
  std::unique_ptr<QMessageBox> box = CreateMessageBox(text, caption, flags);
  {
    std::lock_guard lock(answererMutex);
    if (answerer) return answerer(RecordOf(*box, flags));
  }
  if ((flags & 0x2000) != 0) {
    box->exec();
    return IdOf(*box);
  }
  // No owner and not task-modal: the other windows stay usable while it is up.
  box->setWindowModality(Qt::NonModal);
  QEventLoop loop;
  QObject::connect(box.get(), &QMessageBox::finished, &loop, &QEventLoop::quit);
  box->show();
  loop.exec();
  return IdOf(*box);
}

}  // namespace

void SetMessageButtonsLang(int index) {
  ButtonTexts.Ok = Text(kOkPair, index);
  ButtonTexts.No = Text(kNoPair, index);
  ButtonTexts.Cancel = Text(kCancelPair, index);
  ButtonTexts.Yes = Text(kYesPair, index);
  ButtonTexts.Abort = Text(kAbortPair, index);
  ButtonTexts.Retry = Text(kRetryPair, index);
}

std::unique_ptr<QMessageBox> CreateMessageBox(const std::string& text, const std::string& caption,
                                              std::uint32_t flags) {
  auto box = std::make_unique<QMessageBox>(IconOf(flags), ToQString(caption), ToQString(text),
                                           ButtonsOf(flags));
  for (const ButtonSpec& entry : kButtons) {
    QAbstractButton* button = box->button(entry.button);
    if (button != nullptr && entry.caption != nullptr) button->setText(ToQString(ButtonTexts.*entry.caption));
  }
  if (QAbstractButton* cancel = box->button(QMessageBox::Cancel)) box->setEscapeButton(cancel);
  else if (QAbstractButton* ok = box->button(QMessageBox::Ok)) box->setEscapeButton(ok);
  return box;
}

int ShowQtMessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) {
  QCoreApplication* app = QCoreApplication::instance();
  if (qobject_cast<QApplication*>(app) == nullptr) return 0;
  if (QThread::currentThread() == app->thread()) return ShowOnGuiThread(text, caption, flags);
  if (SynchronizerShuttingDown()) return 0;
  // Through the hand-over, so a box asked for while the program shuts down is
  // withdrawn instead of leaving the worker waiting for ever.
  int result = 0;
  Synchronize([&] { result = ShowOnGuiThread(text, caption, flags); });
  return result;
}

void InstallQtMessageBoxes() { InstallMessageBoxHandler(ShowQtMessageBox); }

void SetMessageBoxAnswerer(MessageBoxAnswerer newAnswerer) {
  std::lock_guard lock(answererMutex);
  answerer = std::move(newAnswerer);
}

}  // namespace rz47
