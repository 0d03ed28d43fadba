// The texts of the device session (Russian, English), in UTF-8: the status texts by
// status code, the window title and label text by step, and the session's boxes.
#pragma once

#include <array>
#include <optional>

#include "device/link_state.h"
#include "platform/text_pair.h"

namespace rz47::texts {

// What the label shows for a status, and whether the step's own texts follow.
struct StatusText {
  TextPair label;
  bool thenStepTexts;
  bool pauseUi;  // the "no data" message stays up a moment before the session closes
};

inline constexpr std::array<StatusText, kStatusCount> kStatusTexts{{
    {{"", ""}, true, false},
    {{"Драйвер не установлен", "Driver not installed"}, true, false},
    {{"Версия прошивки устарела", "Firmware version is outdated"}, true, false},
    {{"Проверьте подключение", "Check Connection"}, false, false},
    {{"Ошибка связи", "Link Error"}, false, false},
    {{"Данных нет", "No Data"}, false, true},
}};

// The title and label a step shows while it runs; nullopt leaves them unchanged.
struct StepText {
  std::optional<TextPair> title;
  std::optional<TextPair> label;
  bool hideGauge;
};

inline constexpr std::array<StepText, kStepCount> kStepTexts{{
    {TextPair{"Подключение", "Connection"}, std::nullopt, false},
    {TextPair{"Чтение версии", "Version Read"}, std::nullopt, false},
    {TextPair{"Чтение параметров", "Parameters Read"}, std::nullopt, false},
    {TextPair{"Чтение данных", "Data Read"}, TextPair{"Чтение архива", "Archive Read"}, false},
    {TextPair{"Чтение данных", "Data Read"}, TextPair{"Загрузка материалов", "Materials Loading"}, false},
    {std::nullopt, TextPair{"Сохранение метериалов", "Materials Save"}, false},
    {std::nullopt, TextPair{"Чтение данных", "Data Read"}, false},
    {std::nullopt, TextPair{"Готово", "Ready"}, true},
}};

inline constexpr TextPair kCrcError{"Ошибка контрольной суммы", "CRC16 Error"};
inline constexpr TextPair kWarningCaption{"Внимание", "Warning"};
inline constexpr TextPair kMemoryError{"Ошибка выделения памяти", "Memory allocation error"};
// Our own texts: a speed the gauge cannot hold stops the write before anything is
// sent; the row number of the materials grid follows the first part.
inline constexpr TextPair kBadSpeedRow{"Строка ", "Row "};
inline constexpr TextPair kBadSpeedRest{": скорость звука должна быть целым числом от 0 до 65535",
                                        ": the speed of sound must be a whole number from 0 to 65535"};
// Our own text: a device job was asked for while another one still ends.
inline constexpr TextPair kDeviceBusy{"Прибор занят, повторите позже", "The device is busy, try again later"};

// The progress window's Cancel button reads the same in both languages.
inline constexpr TextPair kCancelButton{"Отмена", "Отмена"};

}  // namespace rz47::texts
