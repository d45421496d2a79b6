#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTreeView>

#include "app/display_text.h"
#include "app/field_list_model.h"
#include "app/main_window.h"
#include "app/preview_grid_model.h"
#include "app/user_dialogs.h"
#include "schema/field_editing.h"
#include "text/integer_text.h"

namespace quorlin {

int TfrmQuorlin::SelectedFieldIndex() const {
  const QModelIndexList rows = lvwFields->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void TfrmQuorlin::SelectFieldRow(int index) {
  ++quietSelection_;
  lvwFields->selectionModel()->setCurrentIndex(
      fieldModel_->index(index, 0),
      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  --quietSelection_;
}

bool TfrmQuorlin::IsFixedLayout() const { return optFixed->isChecked(); }

void TfrmQuorlin::ShowDateFormat(bool visible) {
  lblDateTime->setVisible(visible);
  cboDateTime->setVisible(visible);
}

void TfrmQuorlin::lvwFieldsClick() {
  if (fields_.empty()) return;
  int index = SelectedFieldIndex();
  if (index < 0) {
    index = 0;
    SelectFieldRow(0);
  }
  const FieldSpec& field = fields_[static_cast<std::size_t>(index)];
  txtFieldName->setText(DisplayText(field.name));
  luFieldType->setCurrentText(DisplayText(field.typeName));
  txtWidth->setText(DisplayText(field.width));
  const bool showFormat = field.format.has_value() && !chkODBCOnly->isChecked();
  ShowDateFormat(showFormat);
  if (showFormat) cboDateTime->setCurrentText(DisplayText(*field.format));
  if (IsFixedLayout()) return;
  MarkSelectedField(index);
}

void TfrmQuorlin::luFieldTypeClick() {
  ShowDateFormat(false);
  const std::string type = luFieldType->currentText().toStdString();
  const int index = SelectedFieldIndex();
  const long long longest =
      index >= 0 ? LongestColumnValue(Preview().rows, static_cast<std::size_t>(index)) : -1;
  txtWidth->setText(DisplayText(
      WidthAfterTypeChange(type, txtWidth->text().toStdString(), IsFixedLayout(), longest)));
  if (TypeTakesDateFormat(type, chkODBCOnly->isChecked())) ShowDateFormat(true);
  MarkLayoutChanged();
}

void TfrmQuorlin::cmdAddClick() {
  const FileLayout layout = CurrentLayout();
  // The boxes may still show the selected field, whose bytes a copy keeps.
  const int selected = SelectedFieldIndex();
  const FieldSpec shown = selected < 0 ? FieldSpec{} : fields_[static_cast<std::size_t>(selected)];
  FieldSpec field;
  field.name = TypedBytes(txtFieldName->text(), shown.name);
  field.typeName = TypedBytes(luFieldType->currentText(), shown.typeName);
  field.width = txtWidth->text().toStdString();
  if (!CanAddField(field.name, field.typeName, field.width, layout.startRow.Text(), layout.rowsToScan.Text(),
                   env_.locale)) {
    env_.dialogs->Inform("Need: Name, Type[, Width]");
    return;
  }
  ++quietSelection_;
  fieldModel_->Append(std::move(field));
  --quietSelection_;
  MarkLayoutChanged();
}

void TfrmQuorlin::cmdModifyClick() {
  const int index = SelectedFieldIndex();
  if (index < 0) {
    env_.dialogs->Inform("No Field Selected");
    return;
  }
  FieldSpec field = fields_[static_cast<std::size_t>(index)];
  field.name = TypedBytes(txtFieldName->text(), field.name);
  field.typeName = TypedBytes(luFieldType->currentText(), field.typeName);
  field.width = txtWidth->text().toStdString();
  if (!cboDateTime->isHidden()) {
    field.format = TypedBytes(cboDateTime->currentText(), field.format.value_or(""));
  }
  const std::string name = field.name;
  fieldModel_->Replace(index, std::move(field));
  gridModel_->SetName(index, name);
  MarkLayoutChanged();
}

void TfrmQuorlin::cmdRemoveClick() {
  const int index = SelectedFieldIndex();
  if (index < 0) {
    env_.dialogs->Inform("No Field Selected");
    return;
  }
  const bool fixedView = !lstLines->isHidden();
  FieldList remaining = fields_;
  DeleteField(remaining, static_cast<std::size_t>(index), fixedView);
  ++quietSelection_;
  fieldModel_->Assign(std::move(remaining));
  --quietSelection_;
  txtFieldCount->setText(QString::number(ToInteger(txtFieldCount->text().toStdString()) - 1));
  if (fixedView) OnFixedFieldDeleted(index);
  if (fields_.empty()) {
    txtFieldName->clear();
    luFieldType->setCurrentIndex(-1);
    luFieldType->setCurrentText("");
    txtWidth->setText("0");
  } else {
    SelectFieldRow(std::max(index - 1, 0));
    lvwFieldsClick();
  }
  MarkLayoutChanged();
}

void TfrmQuorlin::cmdUpClick() { MoveSelectedField(-1); }

void TfrmQuorlin::cmdDownClick() { MoveSelectedField(1); }

void TfrmQuorlin::MoveSelectedField(int step) {
  const int index = SelectedFieldIndex();
  if (index < 0) return;
  const int target = index + step;
  if (target >= 0 && target < static_cast<int>(fields_.size())) {
    fieldModel_->Swap(index, target);
    SelectFieldRow(target);
    // The break list follows the fields' order; the break positions themselves stay.
    if (!lstLines->isHidden() && std::max(index, target) < lstLines->count()) {
      const QString above = lstLines->item(std::min(index, target))->text();
      lstLines->item(std::min(index, target))->setText(lstLines->item(std::max(index, target))->text());
      lstLines->item(std::max(index, target))->setText(above);
    }
  }
  lvwFields->setFocus();
  MarkLayoutChanged();
}

}  // namespace quorlin
