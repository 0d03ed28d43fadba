// A Qt item model over a GridData, for a QTableView that stands in for a string grid.
//
// The grid's fixed heading row and fixed row-number column are the view's headers:
// model cell (c, r) is grid cell (c + 1, r + 1); the horizontal header shows grid row
// 0 and the vertical header grid column 0. Texts are converted from Windows-1251 only
// when the view asks, so a million-row table costs no per-cell Qt strings.
// GUI thread only.
#pragma once

#include <QAbstractTableModel>

#include "table/grid_data.h"

namespace rz47 {

class GridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit GridModel(GridData& grid, QObject* parent = nullptr);
  ~GridModel() override;

  GridData& Grid() { return grid_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // Cells of the data area may be edited through the view (off by default).
  void SetEditable(bool editable) { editable_ = editable; }

 private:
  GridData& grid_;
  bool editable_ = false;
};

}  // namespace rz47
