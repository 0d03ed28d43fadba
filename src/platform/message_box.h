// The one call for warnings, errors and questions: ShowMessageBox.
//
// The core calls it from any thread; the program installs the handler that shows it
// (a Qt box with buttons in the current language in rz47, a line on standard error
// in rz47cli, a recorder in tests). Texts are Windows-1251. The result is the button
// that closed the box, or 0 when no box can be shown (no handler installed).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rz47 {

// Flag combinations the program uses (Windows message-box style values).
constexpr std::uint32_t kMbStopOk = 0x10;                // OK button, stop icon
constexpr std::uint32_t kMbYesNoCancelQuestion = 0x2023;  // Yes/No/Cancel, question, task-modal

// Button results.
constexpr int kIdNone = 0;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

using MessageBoxHandler =
    std::function<int(const std::string& text, const std::string& caption, std::uint32_t flags)>;

int ShowMessageBox(std::string text, std::string caption, std::uint32_t flags);

// Installs the handler (any callable; empty removes it) and returns the previous one.
// Install before workers start.
MessageBoxHandler InstallMessageBoxHandler(MessageBoxHandler handler);

}  // namespace rz47
