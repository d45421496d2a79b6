// The preview grid: two fixed rows (field numbers, field names) above the data lines.
#pragma once

#include <QAbstractTableModel>

#include "text/preview_loader.h"

namespace quorlin {

// The width of each of `columns` grid columns in a grid `gridWidth` pixels wide: up to eleven
// columns share the width, with more each takes one eleventh.
int PreviewColumnWidth(int gridWidth, int columns);

// Shows a preview table owned by the open-file model.
class PreviewGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kFixedRows = 2;

  explicit PreviewGridModel(const PreviewTable* table, QObject* parent = nullptr);

  // Shows the table anew after it changed.
  void Reload();
  // The data cells of `column` turn yellow, all others white; -1 marks none.
  void MarkColumn(int column);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // A column's heading: its field number above its field name.
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const PreviewTable* table_;
  int marked_ = -1;
};

}  // namespace quorlin
