#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "app/display_text.h"
#include "app/field_list_model.h"
#include "app/main_window.h"
#include "app/preview_grid_model.h"
#include "app/ruler_view.h"
#include "app/sound_effects.h"
#include "app/user_dialogs.h"
#include "platform/file_error.h"
#include "platform/folder_files.h"
#include "platform/profile_file.h"
#include "schema/schema_list.h"
#include "schema/schema_reader.h"
#include "schema/schema_writer.h"
#include "text/fixed_ruler.h"

namespace quorlin {

namespace {

// Section names are bytes; the list keeps them beside the text it shows.
std::string EntryBytes(const QListWidgetItem* item) {
  return item->data(Qt::UserRole).toByteArray().toStdString();
}

}  // namespace

// Save To Schema: writes the layout as the input file's section of the folder's Schema.INI.
void TfrmQuorlin::cmdSaveClick() {
  if (const auto missing = MissingWidthMessage(fields_)) {
    if (soundsEnabled_) env_.sounds->PlayTone(440, 600);
    env_.dialogs->Inform(DisplayText(*missing));
    return;
  }
  const std::string section = SectionNameFor(PathBytes(txtInputFile->text()));
  // The folder whose files are listed: when the user picks another folder, the tree has moved
  // on before "Save Changes?" is asked, while the layout on screen still belongs here.
  const SaveOutcome outcome =
      SaveToSchema(listedFolder_, section, CurrentLayout(), fields_, mnuODBCOnly->isChecked());
  // Cleared before the schema list is re-read, whose own save question must not come up.
  layoutChanged_ = false;
  if (soundsEnabled_) env_.sounds->PlayPreset(outcome.written ? 2 : 4);
  env_.dialogs->Inform(DisplayText(outcome.message));
  if (chkDefined->isChecked()) {
    chkDefined->setChecked(false);
    chkDefined->setChecked(true);
  }
  layoutChanged_ = false;
}

// The "Schema" box: shows the folder's schema sections in place of its files.
void TfrmQuorlin::chkDefinedClick() {
  AskSaveChanges();
  if (chkDefined->isChecked()) {
    lstSchema->clear();
    const std::string folder = SelectedFolder();
    if (!folder.empty() && HasSchemaFile(folder)) {
      lstSchema->show();
      lstSchema->raise();
      lstFiles->hide();
      for (const std::string& section : ListSchemaSections(folder)) {
        auto* item = new QListWidgetItem(DisplayText(section), lstSchema);
        item->setData(Qt::UserRole, QByteArray::fromStdString(section));
      }
    }
  } else {
    lstSchema->hide();
    lstFiles->show();
    lstFiles->raise();
  }
  cmdSchemaDelete->setEnabled(chkDefined->isChecked());
}

// Opens a listed file with the layout saved for it.
void TfrmQuorlin::lstSchemaDblClick() {
  AskSaveChanges();
  const QList<QListWidgetItem*> selected = lstSchema->selectedItems();
  if (selected.isEmpty()) return;
  const std::string entry = EntryBytes(selected.first());
  const std::string folder = SelectedFolder();
  // Sections name their files without regard to case, as the text driver does.
  inputPath_ = FindInFolderNoCase(folder, entry);
  txtInputFile->setText(DisplayText(inputPath_.substr(folder.size())));
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(inputPath_, ignored)) {
    if (soundsEnabled_) env_.sounds->PlayTone(440, 600);
    env_.dialogs->Inform("Cannot find file\n" + DisplayText(inputPath_));
    return;
  }
  const ProfileFile schema(SchemaFilePath(folder));
  if (IsFixedLayout()) {
    SetFixedViewMode();
  } else {
    SetDelimitedViewMode();
  }
  SchemaFileReader(schema, entry, false);
}

bool TfrmQuorlin::SchemaFileReader(const ProfileFile& file, const std::string& section,
                                   bool quietWhenEmpty) {
  if (!SectionHasFields(file, section)) {
    if (quietWhenEmpty) return false;
    if (soundsEnabled_) env_.sounds->PlayTone(550, 600);
    env_.dialogs->Inform(DisplayText(NoFieldsMessage(section)));
    return false;
  }
  const SavedLayout saved = ReadSavedLayout(file, section);
  if (saved.separator == SeparatorKind::Custom) {
    txtChar->setText(DisplayText(saved.customSeparator));
  }
  // The view is about to show the saved layout; a save offered by the separator's follow-up
  // would overwrite that very section with the emptied field list.
  layoutChanged_ = false;
  QRadioButton* choice = optComma;
  switch (saved.separator) {
    case SeparatorKind::Space: choice = optSpace; break;
    case SeparatorKind::Tab: choice = optTab; break;
    case SeparatorKind::Custom: choice = optCustom; break;
    case SeparatorKind::Fixed: choice = optFixed; break;
    case SeparatorKind::Comma: break;
  }
  choice->setChecked(true);
  // Refresh may have been declined; the ruler is needed all the same.
  if (saved.separator == SeparatorKind::Fixed && pnlImg->isHidden()) SetFixedViewMode();
  chkHeaderRow->setChecked(saved.hasHeaderRow);
  txtLength->setText(DisplayText(saved.fixedLength));
  txtRows->setText(DisplayText(saved.rowsToScan));
  const std::string qualifier = CurrentLayout().textQualifier;

  std::size_t count = 0;
  if (saved.separator == SeparatorKind::Fixed) {
    DrawRuler(inputPath_);
    fieldModel_->Clear();
    lstLines->clear();
    charWidth_ = pnlImg->CharWidth();
    FieldList fields;
    try {
      fields = ReadFixedFields(file, section, qualifier);
    } catch (const SchemaError& error) {
      // The layout keys stay applied without fields, and nothing offers to save over the entry.
      env_.dialogs->ShowError(DisplayText(error.what()));
      layoutChanged_ = false;
      return true;
    }
    // No break after the last field: k fields stand between k - 1 breaks, as guessing needs.
    // Every break of the saved widths is listed, also one past the line length, so that the
    // list keeps one entry per boundary between fields.
    for (const long long position : BreaksFromWidths(FieldWidths(fields))) {
      if (position < 1 || position > kMaxBreakPosition) continue;
      breaks_.Set(static_cast<int>(position), true);
      lstLines->addItem(BreakListEntry(static_cast<int>(position)));
    }
    breaks_.fieldCount = static_cast<int>(fields.size());
    txtFieldCount->setText(QString::number(breaks_.fieldCount));
    count = fields.size();
    fieldModel_->Assign(std::move(fields));
    RepaintBreaks();
  } else {
    LoadPreviewFrom(inputPath_);
    const std::size_t columns = Preview().names.size();
    FieldList fields = ReadDelimitedFields(file, section, qualifier, columns);
    for (std::size_t n = 0; n < fields.size(); ++n) gridModel_->SetName(static_cast<int>(n), fields[n].name);
    count = columns + fields.size();
    fieldModel_->Assign(std::move(fields));
  }

  if (count < 1) {
    env_.dialogs->Inform(kNoStructureMessage);
  } else if (!fields_.empty()) {
    SelectFieldRow(0);
    lvwFieldsClick();
  }
  layoutChanged_ = false;
  return true;
}

// Erases the selected file's section from the folder's Schema.INI.
void TfrmQuorlin::cmdSchemaDeleteClick() {
  if (!chkDefined->isChecked()) return;
  const QList<QListWidgetItem*> selected = lstSchema->selectedItems();
  if (selected.isEmpty()) return;
  QListWidgetItem* item = selected.first();
  if (!env_.dialogs->Ask("Delete " + item->text() + " From Schema?", "DELETE FROM SCHEMA", false)) {
    return;
  }
  if (DeleteSchemaSection(SelectedFolder(), EntryBytes(item))) {
    delete item;
    env_.dialogs->Inform(kSectionRemovedMessage);
  } else {
    env_.dialogs->Inform(kSectionNotRemovedMessage);
  }
}

bool TfrmQuorlin::RestoreLastLayout(bool fromSchema) {
  if (fromSchema) {
    const QString name = txtInputFile->text();
    for (int row = 0; row < lstSchema->count(); ++row) {
      QListWidgetItem* item = lstSchema->item(row);
      if (item->text().compare(name, Qt::CaseInsensitive) == 0) {
        lstSchema->setCurrentItem(item);
        lstSchemaDblClick();
        return true;
      }
    }
    return false;
  }
  // A first start, or a last layout without fields, has nothing to restore: the file is
  // simply loaded.
  return SchemaFileReader(ProfileFile(env_.settingsPath), kLastFileSection, true);
}

// Keeps the current layout as the settings file's LastFile section.
void TfrmQuorlin::WriteLastLayout() {
  ProfileFile settings(env_.settingsPath);
  const bool written = SchemaFileWriter(settings, kLastFileSection, CurrentLayout(), fields_, false);
  layoutChanged_ = false;
  if (!written) throw FileError("Unable to write to " + env_.settingsPath);
}

}  // namespace quorlin
