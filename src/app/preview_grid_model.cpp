#include "app/preview_grid_model.h"

#include <QBrush>
#include <algorithm>
#include <QColor>

#include "app/display_text.h"

namespace quorlin {

int PreviewColumnWidth(int gridWidth, int columns) {
  constexpr int kMaxSharedColumns = 11;
  return gridWidth / std::clamp(columns, 1, kMaxSharedColumns);
}

PreviewGridModel::PreviewGridModel(const PreviewTable* table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

void PreviewGridModel::Reload() {
  beginResetModel();
  endResetModel();
}

void PreviewGridModel::MarkColumn(int column) {
  marked_ = column;
  if (rowCount() > kFixedRows && columnCount() > 0) {
    emit dataChanged(index(kFixedRows, 0), index(rowCount() - 1, columnCount() - 1),
                     {Qt::BackgroundRole});
  }
}

int PreviewGridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return kFixedRows + static_cast<int>(table_->rows.size());
}

int PreviewGridModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(table_->names.size());
}

QVariant PreviewGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto column = static_cast<std::size_t>(index.column());
  const int row = index.row();
  switch (role) {
    case Qt::DisplayRole: {
      if (row == 0) return DisplayCellText(table_->numbers[column]);
      if (row == 1) return DisplayCellText(table_->names[column]);
      const auto& cells = table_->rows[static_cast<std::size_t>(row - kFixedRows)];
      return column < cells.size() ? DisplayCellText(cells[column]) : QString();
    }
    case Qt::BackgroundRole:
      if (row < kFixedRows) return QBrush(QColor(212, 208, 200));
      return QBrush(index.column() == marked_ ? QColor(Qt::yellow) : QColor(Qt::white));
    case Qt::ForegroundRole:
      return QBrush(QColor(Qt::black));
    default:
      return {};
  }
}

QVariant PreviewGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  const auto column = static_cast<std::size_t>(section);
  return DisplayCellText(table_->numbers[column]) + '\n' + DisplayCellText(table_->names[column]);
}

}  // namespace quorlin
