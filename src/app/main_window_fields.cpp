// The field editor's commands and the break marks of the ruler.
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTreeView>

#include "app/display_text.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "schema/field_editing.h"

namespace quorlin {

int TfrmQuorlin::SelectedFieldIndex() const {
  const QModelIndexList rows = lvwFields->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

// The editor's boxes; while they still show the selected field as it was read, its bytes.
FieldEdit TfrmQuorlin::EditorBoxes() const {
  const int selected = file_.Selected();
  const FieldSpec shown = selected < 0 ? FieldSpec{} : file_.Fields()[static_cast<std::size_t>(selected)];
  FieldEdit edit;
  edit.name = TypedBytes(txtFieldName->text(), shown.name);
  edit.typeName = TypedBytes(luFieldType->currentText(), shown.typeName);
  edit.width = txtWidth->text().toStdString();
  if (!cboDateTime->isHidden()) edit.format = TypedBytes(cboDateTime->currentText(), shown.format.value_or(""));
  return edit;
}

void TfrmQuorlin::lvwFieldsClick() { file_.Select(SelectedFieldIndex()); }

void TfrmQuorlin::luFieldTypeClick() {
  ShowDateFormat(false);
  const std::string type = luFieldType->currentText().toStdString();
  txtWidth->setText(DisplayText(file_.WidthForType(type, txtWidth->text().toStdString())));
  if (TypeTakesDateFormat(type, odbcOnly_)) ShowDateFormat(true);
}

void TfrmQuorlin::cmdAddClick() {
  if (const Refusal refusal = file_.Add(EditorBoxes(), env_.locale)) env_.dialogs->Inform(DisplayText(*refusal));
}

void TfrmQuorlin::cmdModifyClick() {
  if (const Refusal refusal = file_.Modify(EditorBoxes())) env_.dialogs->Inform(DisplayText(*refusal));
}

void TfrmQuorlin::cmdRemoveClick() {
  if (const Refusal refusal = file_.Delete()) env_.dialogs->Inform(DisplayText(*refusal));
}

void TfrmQuorlin::cmdUpClick() {
  if (file_.Selected() < 0) return;
  file_.MoveSelected(-1);
  lvwFields->setFocus();
}

void TfrmQuorlin::cmdDownClick() {
  if (file_.Selected() < 0) return;
  file_.MoveSelected(1);
  lvwFields->setFocus();
}

void TfrmQuorlin::ToggleBreak(int position) { file_.ToggleBreak(position); }

void TfrmQuorlin::cmdGuessClick() {
  if (const Refusal refusal = file_.Guess(env_.locale)) env_.dialogs->Inform(DisplayText(*refusal));
}

}  // namespace quorlin
