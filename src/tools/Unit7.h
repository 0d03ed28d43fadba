// TForm7: the materials window. It shows the gauge's 13 materials (number, name in
// the current language, speed of sound) in an editable grid, reads them from the
// gauge when it opens and writes the grid back with "Load into the device".
//
// One job at a time: the write button is disabled while a job of this window runs,
// and the grid is read-only while the read runs (its rows are overwritten at the
// end). Closing the window cancels a read, and a write that still waits for the
// gauge; a write that already sends goes on to its end. The window must outlive its
// worker (JobEnded tells when it may go). GUI thread only.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "table/grid_data.h"
#include "tools/materials_input.h"

class QPushButton;
class QTimer;

namespace rz47 {

class BMTreadUSB;
class GridModel;
class MaterialsGridView;
class StatusLabel;
class ToolGauge;

class TForm7 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm7(QWidget* parent = nullptr);
  ~TForm7() override;

  GridData& Grid() { return grid_; }

  // Starts the materials read into the grid (the main window's launcher calls it
  // before showing the window). False when the device is busy.
  bool StartRead();
  // A job of this window still runs.
  bool JobRunning() const;

  void FormCreate();
  void StringGrid1KeyPress(char& key, GridCursor& cursor);
  void StringGrid1SetEditText(int col, int row, const std::string& value);
  void Button1Click();

  // Controls, by their designer names.
  MaterialsGridView* StringGrid1 = nullptr;
  ToolGauge* CGauge1 = nullptr;
  StatusLabel* Label1 = nullptr;
  QPushButton* Button1 = nullptr;

 signals:
  // The window's job has ended (after its last hand-over).
  void JobEnded();

 public slots:
  void done(int result) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool StartJob(std::uint8_t job);
  void WatchJob();

  GridData grid_{kMaterialsColCount, kMaterialsRowCount};
  GridModel* model_ = nullptr;
  std::shared_ptr<BMTreadUSB> worker_;
  std::uint8_t job_ = 0;
  QTimer* jobWatch_ = nullptr;
};

}  // namespace rz47
