// MaterialsGridView: the QTableView that shows the materials grid (a GridModel over
// a 3 x 14 GridData) like an editable string grid: grid row 0 is the horizontal
// header, grid column 0 the vertical header, and the corner shows cell (0, 0).
//
// It routes the grid's keyboard rules through the window: every typed character,
// in the cell or in the open cell editor, goes to the key handler before anything
// else sees it; every change of the editor's text goes to the edit-text handler.
// Enter moves the current cell to the cursor the key handler leaves and closes the
// editor if it was open, or opens it in the new cell if it was closed. GUI thread only.
#pragma once

#include <QTableView>
#include <functional>
#include <string>
#include <string_view>

#include "tools/materials_input.h"

class QLineEdit;

namespace rz47 {

class GridModel;
class MaterialsCellDelegate;

class MaterialsGridView : public QTableView {
  Q_OBJECT
 public:
  // `key` is the typed character in Windows-1251; set it to 0 to discard it. The
  // handler may move `cursor` (grid coordinates).
  using KeyPressHandler = std::function<void(char& key, GridCursor& cursor)>;
  using EditTextHandler = std::function<void(int col, int row, const std::string& text)>;

  explicit MaterialsGridView(QWidget* parent = nullptr);

  void SetGridModel(GridModel* model);
  GridModel* Model() const { return model_; }
  void SetKeyPressHandler(KeyPressHandler handler) { keyPress_ = std::move(handler); }
  void SetEditTextHandler(EditTextHandler handler) { editText_ = std::move(handler); }

  // Cells may be edited (false while the window's grid is locked).
  void SetEditable(bool editable);
  bool Editable() const { return editable_; }

  // The current cell in grid coordinates.
  GridCursor Current() const;
  void SetCurrent(GridCursor cursor);
  // The open cell editor, or nullptr.
  QLineEdit* Editor() const;
  // Writes a cell. When it is the cell being edited, the editor takes the text again
  // and selects all of it, so the next key replaces it.
  void WriteCell(int col, int row, std::string_view text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class MaterialsCellDelegate;
  // Runs the key handler for a key event; true when the event is used up.
  bool HandleKey(QKeyEvent* event, QLineEdit* editor);
  void ApplyMetrics();

  GridModel* model_ = nullptr;
  MaterialsCellDelegate* delegate_ = nullptr;
  QWidget* corner_ = nullptr;
  KeyPressHandler keyPress_;
  EditTextHandler editText_;
  bool editable_ = true;
};

}  // namespace rz47
