// The four-column field list: Name, Type, Width, Format.
#pragma once

#include <QAbstractTableModel>

#include "schema/field_layout.h"

namespace quorlin {

// Shows a FieldList owned elsewhere; every change goes through here so the view follows.
class FieldListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  FieldListModel(FieldList* fields, QObject* parent = nullptr);

  const FieldList& Fields() const { return *fields_; }
  void Assign(FieldList fields);
  void Clear() { Assign({}); }
  void Append(FieldSpec field);
  void Replace(int row, FieldSpec field);
  void Remove(int row);
  void Swap(int a, int b);
  // After the list was changed directly.
  void Reload();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  FieldList* fields_;
};

}  // namespace quorlin
