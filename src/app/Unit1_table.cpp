// TForm1: the table's mouse and key handlers, row deletion, sort and copy. The rules
// themselves live in table/ (table_rules.h, sort_grid.h, copy_text.h); this file turns
// the view's events into calls of them.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <optional>
#include <string>
#include <utility>

#include "app/Unit1.h"
#include "app/error_boundary.h"
#include "app/main_texts.h"
#include "app/string_grid_view.h"
#include "platform/qt/qt_text.h"
#include "table/copy_text.h"
#include "table/qt/grid_model.h"
#include "table/sort_grid.h"
#include "table/table_rules.h"

namespace rz47 {
namespace {

// The copy commands hand over Windows-1251 text; the clipboard takes Unicode.
void PutOnClipboard(const std::optional<std::string>& text) {
  if (text) QGuiApplication::clipboard()->setText(ToQString(*text));
}

}  // namespace

TForm1::TableTeardown::~TableTeardown() {
  delete form->StringGrid1;
  form->StringGrid1 = nullptr;
  delete form->model_;
  form->model_ = nullptr;
}

void TForm1::ConnectTable() {
  connect(StringGrid1, &StringGridView::GridMouseReleased, this, &TForm1::StringGrid1MouseUp);
  connect(StringGrid1, &StringGridView::GridMousePressed, this, &TForm1::StringGrid1MouseDown);
  connect(StringGrid1, &StringGridView::GridMouseMoved, this, &TForm1::StringGrid1MouseMove);
  connect(StringGrid1, &StringGridView::GridKeyPressed, this, &TForm1::StringGrid1KeyDown);
}

void TForm1::StringGrid1MouseDown(Qt::MouseButton button, QPoint pos) {
  const GridCellPos cell = StringGrid1->CellAt(pos);
  if (button == Qt::LeftButton) {
    // Pressing on a row number may start dragging that row elsewhere.
    rowDragFrom_ = cell.col == 0 && cell.row >= GridData::FixedRows() ? cell.row : -1;
    return;
  }
  if (button != Qt::RightButton) return;
  if (PopupMenuOpens(grid_, cell.col, cell.row)) PopupMenu1->popup(StringGrid1->mapToGlobal(pos));
}

void TForm1::StringGrid1MouseUp(Qt::MouseButton button, QPoint pos) {
  if (button != Qt::LeftButton) return;
  const GridCellPos cell = StringGrid1->CellAt(pos);
  // The grid's own part of the release comes first: a dragged row number lands on
  // the row under the pointer. Moving a row is no edit: flags and title stay.
  const int dragFrom = std::exchange(rowDragFrom_, -1);
  if (dragFrom >= GridData::FixedRows() && cell.row >= GridData::FixedRows() && cell.row != dragFrom) {
    grid_.MoveRow(dragFrom, cell.row);
  }
  switch (ClassifyMouseUp(cell.col, cell.row)) {
    case MouseUpCase::Heading:
      // The direction turns over even when there is nothing to sort.
      sortDirection_ = ToggleSortDirection(sortDirection_);
      if (grid_.IsEmpty()) return;
      RunGuarded([&] { SortGrid(grid_, cell.col, sortDirection_); });
      break;
    case MouseUpCase::RowNumber:
      grid_.SetSelection(WholeRowSelection(grid_, cell.row));
      StringGrid1->ShowGridSelection();
      break;
    case MouseUpCase::NoCell:
      grid_.SetSelection(kNoSelection);
      StringGrid1->ShowGridSelection();
      break;
    case MouseUpCase::Other:
      break;
  }
}

void TForm1::StringGrid1MouseMove(QPoint pos) {
  const bool sortHint = HintAt(StringGrid1->CellAt(pos).row) == StatusHint::Sort;
  SetStatusText(QText(sortHint ? texts::kHintSort : texts::kHintSelect, LangIndex));
}

void TForm1::StringGrid1KeyDown(int key, Qt::KeyboardModifiers modifiers, bool* handled) {
  if (!IsCopyKey(VirtualKeyCode(key, modifiers), modifiers.testFlag(Qt::ControlModifier))) return;
  // Handled here, so the view's own copy of the focused cell never replaces ours.
  *handled = true;
  if (CopyScopeFor(grid_.Selection()) == CopyScope::WholeTable) {
    Copy1Click();
  } else {
    Copy2Click();
  }
}

void TForm1::DeleteClick() {
  if (!DeleteSelectedRow(grid_)) return;
  const RowDeletionEffect effect = AfterRowDeletion(document_.modified, FromQString(windowTitle()));
  document_.named = effect.named;
  document_.modified = effect.modified;
  setWindowTitle(ToQString(effect.title));
}

void TForm1::Copy1Click() { PutOnClipboard(ACopyTableExecute(grid_, LangIndex)); }

void TForm1::Copy2Click() { PutOnClipboard(ACopyBlockTableExecute(grid_, LangIndex)); }

}  // namespace rz47
