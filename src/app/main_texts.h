// The main window's text pairs (Russian, English), in the order the window keeps
// them. Other modules read a few of them (headings, titles, messages).
#pragma once

#include "platform/text_pair.h"
#include "table/table_texts.h"

namespace rz47::texts {

inline constexpr TextPair kProductName{"РЗ-4.7", "RZ-4.7"};
inline constexpr TextPair kFile{"Файл", "File"};
inline constexpr TextPair kNew{"Создать", "New"};
inline constexpr TextPair kOpen{"Открыть", "Open"};
inline constexpr TextPair kSave{"Сохранить", "Save"};
inline constexpr TextPair kSaveAs{"Сохранить как...", "Save As..."};
inline constexpr TextPair kSaveExel{"Экспорт в Exel", "Export to Exel"};
inline constexpr TextPair kPrint{"Печать", "Print"};
inline constexpr TextPair kExit{"Выход", "Exit"};
inline constexpr TextPair kEdit{"Правка", "Edit"};
inline constexpr TextPair kCopyTable{"Копировать таблицу в буфер", "Copy table to clipboard"};
inline constexpr TextPair kCopySelection{"Копировать выделенное в буфер(Ctrl+C)",
                                         "Copy select to clipboard (Ctrl+C)"};
inline constexpr TextPair kScreenShot{"Скриншот из прибора", "Screenshot from Device"};
inline constexpr TextPair kHelp{"Помощь", "Help"};
inline constexpr TextPair kContents{"Справка", "Information"};
inline constexpr TextPair kAbout{"О приборе", "About"};
inline constexpr TextPair kReadFromDevice{"Загрузить архив", "Read from device"};
inline constexpr TextPair kMaterialsSetting{"Настройка Материалов", "Materials Setting "};
inline constexpr TextPair kArchiveTitle{"Архив измерений ", "Archive of measurements "};
inline constexpr TextPair kArchiveNotRead{"Архив не считан!", "Archive not read!"};
inline constexpr TextPair kError{"Ошибка", "Error"};
inline constexpr TextPair kExportError{"Экспорт данных - Ошибка !!!", "Export of the data - Error !!!"};
inline constexpr TextPair kExcelMissing{"Возможно Excel не установлен на компьютере",
                                        "Probably Excel it is not established on the computer"};
inline constexpr TextPair kTableEmpty = table_texts::kTableEmpty;
inline constexpr TextPair kHintSort{"Левая кнопка мыши - Сортировка", "Left mouse button - Sort"};
inline constexpr TextPair kHintSelect{"Левая кнопка мыши + Тащить - Выделение",
                                      "Left mouse button + drag - Highlight"};
inline constexpr TextPair kDelete{"Удалить", "Delete"};
inline constexpr TextPair kFileExistsFirst{"Файл с таким именем ", "File with this name"};
// The first letter of the Russian text is the Latin "c" (0x63), as the program shows it.
inline constexpr TextPair kFileExistsLast{"cуществует, Заменить его?", "exists, Replace it?"};
inline constexpr TextPair kWarning = table_texts::kWarning;

// The captions of the language menu never change.
inline constexpr const char* kLanguageMenu = "Language(Язык)";
inline constexpr const char* kLang0 = "русский";
inline constexpr const char* kLang1 = "english";

}  // namespace rz47::texts
