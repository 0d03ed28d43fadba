// The text pairs (Russian, English) of the screenshot window (TForm5) and the
// materials window (TForm7), in UTF-8; Text()/QText() pick the current language.
#pragma once

#include "platform/text_pair.h"

namespace rz47::texts {

// Screenshot window.
inline constexpr TextPair kScreenshotCaption{"Скриншот", "Screenshot"};
inline constexpr TextPair kScreenshotUpdate{"Обновить", "Update"};
inline constexpr TextPair kSaveToBmp{"сохранять в *.bmp", "save to *.bmp"};
inline constexpr TextPair kSaveToClipboard{"сохранять в буфер", "save to clipboard"};
inline constexpr TextPair kPenColour{"цвет надписи", "pen"};
inline constexpr TextPair kBackgroundColour{"цвет фона", "background"};
inline constexpr TextPair kScreenshotNotRead{"Скриншот не считан", "Screenshot not readed"};
// Our own texts for a picture that could not be stored; the file name follows.
inline constexpr TextPair kBitmapNotWritten{"Не удалось записать файл ", "Cannot write the file "};
inline constexpr TextPair kClipboardNotSet{"Не удалось поместить рисунок в буфер обмена",
                                           "Cannot put the picture on the clipboard"};

// Materials window.
inline constexpr TextPair kMaterialsCaption{"Настройка материалов", "Materials settings"};
inline constexpr TextPair kMaterialHeading{"Материал", "Material"};
inline constexpr TextPair kSpeedHeading{"Скорость звука, м/с", "Speed Sound, m/s"};
inline constexpr TextPair kLoadIntoDevice{"Загрузить в прибор", "Load into the device"};
inline constexpr TextPair kOnlyFigures{"Вводить только цифры!", "To enter only figures!"};

// Shared by both windows.
// Our own text: a job cannot start while another one still uses the device.
inline constexpr TextPair kDeviceBusy{"Прибор занят другой операцией", "The device is busy with another job"};
inline constexpr TextPair kWarning{"Внимание", "Warning"};

}  // namespace rz47::texts
