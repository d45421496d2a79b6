// Showing the open file in the window's controls.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTreeView>

#include "app/display_text.h"
#include "app/field_list_model.h"
#include "app/main_window.h"
#include "app/preview_grid_model.h"
#include "app/ruler_view.h"
#include "app/user_dialogs.h"

namespace quorlin {

namespace {

// Sets a box's text without reporting it back as typed, and only when it differs, so that a
// box being typed in keeps its cursor.
void ShowText(QLineEdit* box, const QString& text) {
  if (box->text() == text) return;
  const QSignalBlocker quiet(box);
  box->setText(text);
}

void Shade(QLineEdit* box, const QColor& colour) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, colour);
  // Light or grey, the box reads in black under a dark desktop palette too.
  palette.setColor(QPalette::Text, Qt::black);
  box->setPalette(palette);
}

}  // namespace

void TfrmQuorlin::ShowModel() {
  const ModelRevisions now = file_.Revisions();
  if (now.file != shown_.file) ShowFile();
  if (now.layout != shown_.layout) ShowLayout();
  if (now.view != shown_.view) ShowView();
  if (now.preview != shown_.preview) ShowPreview();
  if (now.ruler != shown_.ruler) ShowRuler();
  if (now.breaks != shown_.breaks) ShowBreaks();
  if (now.fields != shown_.fields) ShowFields();
  if (now.selection != shown_.selection) ShowSelection();
  shown_ = now;
}

void TfrmQuorlin::ShowFile() {
  if (txtInputFile->text() == DisplayText(file_.InputText())) return;
  const QSignalBlocker quiet(txtInputFile);
  txtInputFile->setText(DisplayText(file_.InputText()));
}

void TfrmQuorlin::ShowLayout() {
  const FileLayout& layout = file_.Layout();
  ShowSeparator();
  ShowText(txtChar, DisplayText(layout.customSeparator));
  if (cboTextChar->currentText() != DisplayText(layout.textQualifier)) {
    const QSignalBlocker quiet(cboTextChar);
    cboTextChar->setCurrentText(DisplayText(layout.textQualifier));
  }
  for (const auto& [box, value] : {std::pair{cboDateOrder, &layout.conventions.dateOrder},
                                    std::pair{cboDecimal, &layout.conventions.decimalSymbol}}) {
    const QString shown = value->empty() ? QString(kLocaleChoice) : QString::fromLatin1(*value);
    if (box->currentText() == shown) continue;
    const QSignalBlocker quiet(box);
    box->setCurrentText(shown);
  }
  {
    const QSignalBlocker quiet(chkHeaderRow);
    chkHeaderRow->setChecked(layout.hasHeaderRow);
  }
  {
    const QSignalBlocker quiet(cboCharacterSet);
    cboCharacterSet->setCurrentText(QString::fromStdString(layout.characterSet.Name()));
  }
  ShowText(txtStart, DisplayText(layout.startRow.Text()));
  ShowText(txtRows, DisplayText(layout.rowsToScan.Text()));
  ShowText(txtLength, DisplayText(layout.fixedLength.Text()));
  mnuCountFrom0->setChecked(file_.NumberingBase() == 0);
}

void TfrmQuorlin::ShowSeparator() {
  const SeparatorKind kind = file_.Layout().separator;
  if (kind == shownSeparator_) return;
  shownSeparator_ = kind;
  QRadioButton* button = optComma;
  switch (kind) {
    case SeparatorKind::Space: button = optSpace; break;
    case SeparatorKind::Tab: button = optTab; break;
    case SeparatorKind::Custom: button = optCustom; break;
    case SeparatorKind::Fixed: button = optFixed; break;
    case SeparatorKind::Comma: break;
  }
  for (QRadioButton* option : {optSpace, optTab, optComma, optCustom, optFixed}) {
    const QSignalBlocker quiet(option);
    option->setChecked(option == button);
  }
  // Once offered, the custom box stays enabled; the other buttons only grey it.
  if (kind == SeparatorKind::Custom) {
    txtChar->setEnabled(true);
    Shade(txtChar, Qt::white);
  } else {
    Shade(txtChar, QColor(128, 128, 128));
  }
}

void TfrmQuorlin::ShowView() {
  const bool fixed = file_.IsFixedView();
  grdData->setVisible(!fixed);
  for (QWidget* control : {static_cast<QWidget*>(pnlImg), static_cast<QWidget*>(lblFieldCount),
                           static_cast<QWidget*>(txtFieldCount), static_cast<QWidget*>(lblLength),
                           static_cast<QWidget*>(txtLength), static_cast<QWidget*>(lstLines)}) {
    control->setVisible(fixed);
  }
  mnuFixedLength->setVisible(fixed);
  if (fixed) {
    pnlImg->setGeometry(grdData->geometry());
    pnlImg->raise();
  } else {
    grdData->raise();
  }
}

void TfrmQuorlin::ShowPreview() {
  gridModel_->Reload();
  gridModel_->MarkColumn(file_.MarkedColumn());
  FitGridColumns();
}

void TfrmQuorlin::ShowRuler() { pnlImg->ShowScan(file_.Ruler(), file_.LineLength(), file_.Layout().hasHeaderRow); }

void TfrmQuorlin::ShowBreaks() {
  lstLines->clear();
  for (const int position : file_.ListedBreaks()) lstLines->addItem(BreakListEntry(position));
  ShowText(txtFieldCount, QString::number(file_.FixedFieldCount()));
  pnlImg->RepaintBreaks();
}

void TfrmQuorlin::ShowFields() {
  fieldModel_->Reload();
  SelectFieldRow(file_.Selected());
}

void TfrmQuorlin::ShowSelection() {
  SelectFieldRow(file_.Selected());
  gridModel_->MarkColumn(file_.MarkedColumn());
  if (file_.Selected() < 0) {
    if (!file_.Fields().empty()) return;
    txtFieldName->clear();
    luFieldType->setCurrentIndex(-1);
    luFieldType->setCurrentText("");
    txtWidth->setText("0");
    return;
  }
  const FieldSpec& field = file_.Fields()[static_cast<std::size_t>(file_.Selected())];
  txtFieldName->setText(DisplayText(field.name));
  luFieldType->setCurrentText(DisplayText(field.typeName));
  txtWidth->setText(DisplayText(field.width));
  const bool showFormat = field.format.has_value() && !odbcOnly_;
  ShowDateFormat(showFormat);
  if (showFormat) cboDateTime->setCurrentText(DisplayText(*field.format));
}

void TfrmQuorlin::SelectFieldRow(int index) {
  ++quietSelection_;
  if (index < 0) {
    lvwFields->selectionModel()->clear();
  } else {
    lvwFields->selectionModel()->setCurrentIndex(
        fieldModel_->index(index, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  --quietSelection_;
}

void TfrmQuorlin::ShowDateFormat(bool visible) {
  lblDateTime->setVisible(visible);
  cboDateTime->setVisible(visible);
}

void TfrmQuorlin::InformOfCuts() {
  for (const std::string& cut : file_.CutMessages()) env_.dialogs->Inform(QString::fromStdString(cut));
}

}  // namespace quorlin
