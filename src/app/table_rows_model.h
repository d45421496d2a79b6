// The rows of an open table for the DSN dialog's grid, fetched as the grid scrolls to them.
#pragma once

#include <QAbstractTableModel>
#include <QSqlQuery>
#include <QVariant>
#include <vector>

namespace quorlin {

// Holds a forward-only query and the rows read from it so far; the grid asks for more as it
// scrolls, so opening a table of millions of rows reads only what is shown.
class TableRowsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TableRowsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // Shows the rows of an executed query.
  void Show(QSqlQuery query);
  // Empties the grid and lets the query go.
  void Clear();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  static constexpr int kRowsPerFetch = 256;

  QSqlQuery query_;
  QStringList names_;
  std::vector<QVariantList> rows_;
  bool atEnd_ = true;
};

}  // namespace quorlin
