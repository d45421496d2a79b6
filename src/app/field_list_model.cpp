#include "app/field_list_model.h"

#include "app/display_text.h"

namespace quorlin {

FieldListModel::FieldListModel(const FieldList* fields, QObject* parent)
    : QAbstractTableModel(parent), fields_(fields) {}

void FieldListModel::Reload() {
  beginResetModel();
  endResetModel();
}

int FieldListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(fields_->size());
}

int FieldListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant FieldListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  const FieldSpec& field = (*fields_)[static_cast<std::size_t>(index.row())];
  switch (index.column()) {
    case 0: return DisplayCellText(field.name);
    case 1: return DisplayText(field.typeName);
    case 2: return DisplayText(field.width);
    default: return field.format ? DisplayCellText(*field.format) : QString();
  }
}

QVariant FieldListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kTitles[] = {"Name", "Type", "Width", "Format"};
  return section >= 0 && section < 4 ? QString(kTitles[section]) : QVariant();
}

}  // namespace quorlin
