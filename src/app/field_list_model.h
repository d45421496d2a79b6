// The four-column field list: Name, Type, Width, Format.
#pragma once

#include <QAbstractTableModel>

#include "schema/field_layout.h"

namespace quorlin {

// Shows a field list owned by the open-file model.
class FieldListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  FieldListModel(const FieldList* fields, QObject* parent = nullptr);

  // Shows the list anew after it changed.
  void Reload();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const FieldList* fields_;
};

}  // namespace quorlin
