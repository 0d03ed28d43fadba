// StringGridView: the QTableView that shows the measurement table like a string grid.
// Grid row 0 is the horizontal header and grid column 0 the vertical header (see
// GridModel); the corner shows cell (0, 0). Mouse presses, releases and moves over any
// part of it (cells, headers, corner, empty area) are reported in the view's own
// coordinates together with the grid cell under the pointer, (-1, -1) for none.
// Only the left button selects, as in a string grid: other buttons are reported and
// then kept from the view. The grid's selection survives model resets (sorting,
// deleting, moving rows). Built for a million rows: no per-cell widgets or sizing.
#pragma once

#include <QTableView>

#include "table/grid_data.h"

namespace rz47 {

class GridModel;

struct GridCellPos {
  int col = -1;
  int row = -1;
};

// The virtual-key code of a Qt key, the numbering the table's key rules use: letters
// and digits keep their ASCII codes, keypad digits are 0x60..0x69, F1..F24 are
// 0x70..0x87; anything else is 0.
int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

class StringGridView : public QTableView {
  Q_OBJECT
 public:
  explicit StringGridView(QWidget* parent = nullptr);

  void SetGridModel(GridModel* model);
  GridModel* Model() const { return model_; }

  // The grid cell under `pos` (view coordinates), (-1, -1) outside every cell.
  GridCellPos CellAt(const QPoint& pos) const;
  // Applies the grid's column widths and the default row height (120-ppi pixels).
  void ApplyGridMetrics();
  // Shows the grid's selection (cleared selection: nothing selected); the focused
  // cell moves to its first data cell.
  void ShowGridSelection();

 signals:
  void GridMousePressed(Qt::MouseButton button, QPoint pos);
  void GridMouseReleased(Qt::MouseButton button, QPoint pos);
  void GridMouseMoved(QPoint pos);
  void GridKeyPressed(int key, Qt::KeyboardModifiers modifiers, bool* handled);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void PaintCorner(QWidget* corner);
  void StoreSelection();

  GridModel* model_ = nullptr;
  QWidget* corner_ = nullptr;
  bool syncingSelection_ = false;
};

}  // namespace rz47
