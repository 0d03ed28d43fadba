#include "app/string_grid_view.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QWheelEvent>
#include <climits>

#include "platform/qt/form_metrics.h"
#include "platform/qt/qt_text.h"
#include "table/qt/grid_model.h"

namespace rz47 {

StringGridView::StringGridView(QWidget* parent) : QTableView(parent) {
  setFont(FormFont(17));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  // One wheel notch and one arrow click move the view by exactly one row.
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);
    header->setMouseTracking(true);
    header->setFont(FormFont(17));
    header->installEventFilter(this);
    header->viewport()->installEventFilter(this);
    header->viewport()->setMouseTracking(true);
  }
  horizontalHeader()->setSectionsMovable(false);
  horizontalHeader()->setSectionsClickable(false);
  verticalHeader()->setSectionsClickable(false);
  verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  viewport()->installEventFilter(this);
  corner_ = findChild<QAbstractButton*>();
  if (corner_ != nullptr) {
    corner_->installEventFilter(this);
    corner_->setMouseTracking(true);
  }
}

void StringGridView::SetGridModel(GridModel* model) {
  model_ = model;
  setModel(model);
  // A reset drops the view's selection; the grid still holds it.
  connect(model, &QAbstractItemModel::modelReset, this, [this] {
    ApplyGridMetrics();
    ShowGridSelection();
  });
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { StoreSelection(); });
  ApplyGridMetrics();
}

void StringGridView::ApplyGridMetrics() {
  if (model_ == nullptr) return;
  const GridData& grid = model_->Grid();
  int rowHeight = Scaled(kDefaultRowHeight);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(rowHeight);
  horizontalHeader()->setFixedHeight(rowHeight);
  verticalHeader()->setFixedWidth(Scaled(grid.ColWidth(0)));
  for (int col = 1; col < grid.ColCount(); ++col) {
    horizontalHeader()->resizeSection(col - 1, Scaled(grid.ColWidth(col)));
  }
}

GridCellPos StringGridView::CellAt(const QPoint& pos) const {
  if (model_ == nullptr) return {};
  const GridData& grid = model_->Grid();
  QRect vp = viewport()->geometry();
  int left = vp.left() - verticalHeader()->width();
  int top = vp.top() - horizontalHeader()->height();
  bool inHeadingRow = pos.y() >= top && pos.y() < vp.top();
  bool inNumberCol = pos.x() >= left && pos.x() < vp.left();
  int col = -1, row = -1;
  if (inNumberCol) col = 0;
  else if (pos.x() >= vp.left() && pos.x() < vp.right() + 1) {
    int logical = horizontalHeader()->logicalIndexAt(pos.x() - vp.left());
    if (logical >= 0) col = logical + 1;
  }
  if (inHeadingRow) row = 0;
  else if (pos.y() >= vp.top() && pos.y() < vp.bottom() + 1) {
    int logical = verticalHeader()->logicalIndexAt(pos.y() - vp.top());
    if (logical >= 0) row = logical + 1;
  }
  if (col < 0 || row < 0 || col >= grid.ColCount() || row >= grid.RowCount()) return {};
  return {col, row};
}

bool StringGridView::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      QPoint pos = widget->mapTo(this, mouse->position().toPoint());
      if (event->type() == QEvent::MouseButtonPress) emit GridMousePressed(mouse->button(), pos);
      else if (event->type() == QEvent::MouseButtonRelease) emit GridMouseReleased(mouse->button(), pos);
      else emit GridMouseMoved(pos);
      // A string grid selects with the left button only.
      if (watched == viewport() && event->type() != QEvent::MouseMove && mouse->button() != Qt::LeftButton) {
        return true;
      }
      break;
    }
    case QEvent::Paint:
      if (watched == corner_) {
        PaintCorner(corner_);
        return true;
      }
      break;
    default:
      break;
  }
  return QTableView::eventFilter(watched, event);
}

void StringGridView::PaintCorner(QWidget* corner) {
  QPainter painter(corner);
  QStyleOptionHeader option;
  option.initFrom(corner);
  option.state |= QStyle::State_Enabled | QStyle::State_Active;
  option.rect = corner->rect();
  option.position = QStyleOptionHeader::OnlyOneSection;
  option.text = model_ != nullptr ? ToQString(model_->Grid().Cell(0, 0)) : QString();
  option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  painter.setFont(horizontalHeader()->font());
  style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
}

void StringGridView::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  emit GridKeyPressed(event->key(), event->modifiers(), &handled);
  if (!handled) QTableView::keyPressEvent(event);
}

// One notch scrolls one row; the focused cell and the selection stay.
void StringGridView::wheelEvent(QWheelEvent* event) {
  int notches = event->angleDelta().y() / 120;
  if (notches == 0) notches = event->angleDelta().y() > 0 ? 1 : event->angleDelta().y() < 0 ? -1 : 0;
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->value() - notches);
  event->accept();
}

int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    return modifiers.testFlag(Qt::KeypadModifier) ? 0x60 + (qtKey - Qt::Key_0) : 0x30 + (qtKey - Qt::Key_0);
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 0x41 + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
  return 0;
}

void StringGridView::StoreSelection() {
  if (model_ == nullptr || syncingSelection_) return;
  // Ranges, not indexes: a selection over a million rows stays cheap.
  const QItemSelection selection = selectionModel()->selection();
  if (selection.isEmpty()) {
    model_->Grid().SetSelection(kNoSelection);
    return;
  }
  GridRect rect{INT_MAX, INT_MAX, -1, -1};
  for (const QItemSelectionRange& range : selection) {
    rect.left = std::min(rect.left, range.left() + 1);
    rect.right = std::max(rect.right, range.right() + 1);
    rect.top = std::min(rect.top, range.top() + 1);
    rect.bottom = std::max(rect.bottom, range.bottom() + 1);
  }
  model_->Grid().SetSelection(rect);
}

void StringGridView::ShowGridSelection() {
  if (model_ == nullptr) return;
  syncingSelection_ = true;
  GridRect r = model_->Grid().Selection();
  selectionModel()->clearSelection();
  const GridData& grid = model_->Grid();
  const int right = std::min(r.right, grid.ColCount() - 1);
  const int bottom = std::min(r.bottom, grid.RowCount() - 1);
  if (r.left >= 0 && r.top >= 1 && right >= 1 && bottom >= r.top) {
    int left = std::max(r.left, 1) - 1;
    QModelIndex first = model_->index(r.top - 1, left);
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(first, model_->index(bottom - 1, right - 1)),
                             QItemSelectionModel::Select);
  }
  syncingSelection_ = false;
}

}  // namespace rz47
