// TForm1: the main window. It owns the measurement table (GridData), the document
// state behind the title, the language switch and the sort direction, and turns Qt
// events into calls of the UI-free core. GUI thread only.
//
// The handlers of each area live in their own source file:
//   Unit1.cpp         construction, SetLang, languages, help, About, Exit
//   Unit1_table.cpp   table mouse/keys, row deletion, sort, clipboard copy
//   Unit1_files.cpp   New, Open, Save, Save As, the save question, closing
//   Unit1_device.cpp  Read from device
//   Unit1_output.cpp  spreadsheet export, print
//   Unit1_tools.cpp   screenshot and materials windows
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "archive/window_title.h"
#include "output/export_dialog_state.h"
#include "output/workbook_export.h"
#include "table/grid_data.h"

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;

namespace rz47 {

class GridModel;
class StringGridView;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  GridData& Grid() { return grid_; }
  DocumentState& Document() { return document_; }
  int SortDirection() const { return sortDirection_; }

  // Applies the language index to the window (captions, headings, dialogs, boxes).
  void SetLang();
  // Sets the window title by the title rule.
  void UpdateTitle();
  // The status line's text.
  QString StatusText() const;
  void SetStatusText(const QString& text);

  // Controls, by their designer names.
  QPushButton* Button1 = nullptr;
  QPushButton* Button3 = nullptr;
  StringGridView* StringGrid1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QMenu* File = nullptr;
  QAction* New = nullptr;
  QAction* Open = nullptr;
  QAction* Save = nullptr;
  QAction* SaveAs = nullptr;
  QAction* SaveExel = nullptr;
  QAction* Print = nullptr;
  QAction* Exit = nullptr;
  QMenu* Edit = nullptr;
  QAction* Copy1 = nullptr;
  QAction* Copy2 = nullptr;
  QAction* ScreenShot = nullptr;
  QMenu* Language1 = nullptr;
  QAction* Lang0 = nullptr;
  QAction* Lang1 = nullptr;
  QMenu* Help = nullptr;
  QAction* Contents = nullptr;
  QAction* About = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* Delete = nullptr;
  QFileDialog* OpenDialog1 = nullptr;
  QFileDialog* SaveDialog2 = nullptr;
  QFileDialog* SaveDialog1 = nullptr;

  // Languages, help, About, Exit (Unit1.cpp).
  void Lang0Click();
  void Lang1Click();
  void ContentsClick();
  void FormKeyDownF1();
  void AboutClick();
  void ExitClick();

  // Table (Unit1_table.cpp).
  void DeleteClick();
  void Copy1Click();
  void Copy2Click();

  // Files (Unit1_files.cpp). `args` are the command-line arguments, joined with blanks.
  void NewClick();
  void Action1Execute();
  void OpenFromCommandLine(const QStringList& args);
  void SaveClick();
  void SaveAsClick();
  void Action2Execute();

  // Device (Unit1_device.cpp).
  void Button1Click();

  // Output (Unit1_output.cpp).
  void SaveExelClick();
  void PrintClick();

  // Tools (Unit1_tools.cpp).
  void Button3Click();
  void ScreenShotClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void CreateControls();
  void CreateMenus();
  void CreateDialogs();
  void LayOut();
  void ConnectTable();  // Unit1_table.cpp

  GridData grid_{8, 9};
  DocumentState document_;
  int sortDirection_ = 0;
  GridModel* model_ = nullptr;
  QLabel* statusLabel_ = nullptr;
  QWidget* client_ = nullptr;

  // --- table area (Unit1_table.cpp) ---
  void StringGrid1MouseUp(Qt::MouseButton button, QPoint pos);
  void StringGrid1MouseDown(Qt::MouseButton button, QPoint pos);
  void StringGrid1MouseMove(QPoint pos);
  void StringGrid1KeyDown(int key, Qt::KeyboardModifiers modifiers, bool* handled);
  int rowDragFrom_ = -1;  // the row whose number the left button went down on, or -1
  // Deletes the table view and its model while grid_ still lives: members declared
  // after grid_ are destroyed before it, whereas QWidget's destructor would close the
  // window afterwards and let the view read the destroyed grid.
  struct TableTeardown {
    TForm1* form;
    ~TableTeardown();
  } tableTeardown_{this};
  // --- files area (Unit1_files.cpp) ---
  class FormFileUi;
  struct FilesArea;  // the file commands with the window's dialogs and the disk
  struct FilesAreaDeleter {
    void operator()(FilesArea* area) const;
  };
  // The file commands, made on first use.
  class FileCommands& FileCmds();
  std::unique_ptr<FilesArea, FilesAreaDeleter> filesArea_;
  // --- device area (Unit1_device.cpp) ---
  struct DeviceArea;  // the newest progress window, kept until the next read
  struct DeviceAreaDeleter {
    void operator()(DeviceArea* area) const;
  };
  std::unique_ptr<DeviceArea, DeviceAreaDeleter> deviceArea_;
  // Cancels and joins a device worker that still runs while the table and the
  // progress window it drives still live (declared after them, so destroyed first).
  struct DeviceTeardown {
    ~DeviceTeardown();
  } deviceTeardown_;
  // --- output area (Unit1_output.cpp) ---
 public:
  // SaveDialog1's file-type handler: `filter` is the name filter just picked.
  void SaveDialog1TypeChange(const QString& filter);
  // What SaveDialog1 offers next time (name, type).
  const ExportDialogState& SaveDialog1State() const { return saveDialog1State_; }
  // Tables up to this many rows are exported without a progress window.
  static constexpr int kQuietExportRows = 20000;

 private:
  void PrepareSaveDialog1();
  void ShowSaveDialog1State();
  // Writes the table into the workbook `path`, with a progress window for large
  // tables.
  ExportStatus ExportTable(const QString& path);
  ExportDialogState saveDialog1State_;
  QString saveDialog1TypedName_;  // the name field as the user last set it
  bool saveDialog1Prepared_ = false;
  // --- tools area (Unit1_tools.cpp) ---
};

}  // namespace rz47
