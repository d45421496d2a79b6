// The preview grid: two fixed rows (field numbers, field names) above the data lines.
#pragma once

#include <QAbstractTableModel>

#include "text/preview_loader.h"

namespace quorlin {

// The width of each of `columns` grid columns in a grid `gridWidth` pixels wide: up to eleven
// columns share the width, with more each takes one eleventh.
int PreviewColumnWidth(int gridWidth, int columns);

class PreviewGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kFixedRows = 2;

  explicit PreviewGridModel(QObject* parent = nullptr);

  const PreviewTable& Table() const { return table_; }
  void SetTable(PreviewTable table);

  // Keeps the two fixed rows and leaves one empty data row, as a fresh grid shows.
  void ClearDataRows();
  // Row 0 becomes base, base + 1, ... over every column.
  void Renumber(int base);
  void SetName(int column, const std::string& name);
  // The data cells of `column` turn yellow, all others white; -1 marks none.
  void MarkColumn(int column);
  int MarkedColumn() const { return marked_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  PreviewTable table_;
  int marked_ = -1;
};

}  // namespace quorlin
