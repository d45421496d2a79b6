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

PreviewGridModel::PreviewGridModel(QObject* parent) : QAbstractTableModel(parent) {
  table_.numbers = {""};
  table_.names = {""};
  table_.rows = {{""}};
}

void PreviewGridModel::SetTable(PreviewTable table) {
  beginResetModel();
  table_ = std::move(table);
  marked_ = -1;
  endResetModel();
}

void PreviewGridModel::ClearDataRows() {
  beginResetModel();
  table_.rows.assign(1, std::vector<std::string>(table_.names.size()));
  marked_ = -1;
  endResetModel();
}

void PreviewGridModel::Renumber(int base) {
  for (std::size_t c = 0; c < table_.numbers.size(); ++c) {
    table_.numbers[c] = std::to_string(static_cast<long long>(c) + base);
  }
  if (!table_.numbers.empty()) {
    emit dataChanged(index(0, 0), index(0, columnCount() - 1), {Qt::DisplayRole});
  }
}

void PreviewGridModel::SetName(int column, const std::string& name) {
  if (column < 0 || column >= columnCount()) return;
  table_.names[static_cast<std::size_t>(column)] = name;
  const QModelIndex cell = index(1, column);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
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
  return kFixedRows + static_cast<int>(table_.rows.size());
}

int PreviewGridModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(table_.names.size());
}

QVariant PreviewGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto column = static_cast<std::size_t>(index.column());
  const int row = index.row();
  switch (role) {
    case Qt::DisplayRole: {
      if (row == 0) return DisplayCellText(table_.numbers[column]);
      if (row == 1) return DisplayCellText(table_.names[column]);
      const auto& cells = table_.rows[static_cast<std::size_t>(row - kFixedRows)];
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

}  // namespace quorlin
