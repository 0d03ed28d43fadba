#include "table/qt/grid_model.h"

#include "platform/qt/qt_text.h"

namespace rz47 {

GridModel::GridModel(GridData& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {
  GridData::Observer observer;
  observer.beforeReset = [this] { beginResetModel(); };
  observer.afterReset = [this] { endResetModel(); };
  observer.cellChanged = [this](int col, int row) {
    if (row == 0 && col > 0) {
      emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    } else if (col == 0 && row > 0) {
      emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    } else if (col > 0 && row > 0) {
      QModelIndex i = index(row - 1, col - 1);
      emit dataChanged(i, i);
    }
  };
  grid_.SetObserver(observer);
}

GridModel::~GridModel() { grid_.SetObserver({}); }

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.RowCount() - GridData::FixedRows();
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.ColCount() - GridData::FixedCols();
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return ToQString(grid_.Cell(index.column() + 1, index.row() + 1));
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  return orientation == Qt::Horizontal ? ToQString(grid_.Cell(section + 1, 0))
                                       : ToQString(grid_.Cell(0, section + 1));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (editable_) f |= Qt::ItemIsEditable;
  return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !editable_) return false;
  grid_.SetCell(index.column() + 1, index.row() + 1, FromQString(value.toString()));
  return true;
}

}  // namespace rz47
