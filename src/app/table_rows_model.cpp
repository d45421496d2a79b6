// Rows read from a forward-only query a screenful at a time.
#include "app/table_rows_model.h"

#include <QSqlRecord>

namespace quorlin {

void TableRowsModel::Show(QSqlQuery query) {
  beginResetModel();
  query_ = std::move(query);
  rows_.clear();
  names_.clear();
  const QSqlRecord record = query_.record();
  for (int k = 0; k < record.count(); ++k) names_.append(record.fieldName(k));
  atEnd_ = false;
  endResetModel();
  fetchMore(QModelIndex());
}

void TableRowsModel::Clear() {
  beginResetModel();
  query_ = QSqlQuery();
  rows_.clear();
  names_.clear();
  atEnd_ = true;
  endResetModel();
}

int TableRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TableRowsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : names_.size(); }

QVariant TableRowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const QVariantList& row = rows_[static_cast<std::size_t>(index.row())];
  return index.column() < row.size() ? row[index.column()].toString() : QVariant();
}

QVariant TableRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return section < names_.size() ? names_[section] : QVariant();
}

bool TableRowsModel::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && !atEnd_; }

void TableRowsModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid() || atEnd_) return;
  std::vector<QVariantList> more;
  while (static_cast<int>(more.size()) < kRowsPerFetch) {
    if (!query_.next()) {
      atEnd_ = true;
      break;
    }
    QVariantList row;
    for (int k = 0; k < names_.size(); ++k) row.append(query_.value(k));
    more.push_back(std::move(row));
  }
  if (more.empty()) return;
  const int first = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(more.size()) - 1);
  for (QVariantList& row : more) rows_.push_back(std::move(row));
  endInsertRows();
}

}  // namespace quorlin
