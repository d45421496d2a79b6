#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <filesystem>

#include "app/display_text.h"
#include "app/main_window.h"
#include "app/sound_effects.h"
#include "app/user_dialogs.h"
#include "platform/file_error.h"
#include "platform/profile_file.h"
#include "schema/schema_file.h"
#include "schema/schema_list.h"
#include "schema/schema_reader.h"
#include "schema/schema_writer.h"

namespace quorlin {

// Save To Schema: writes the layout as the input file's section of the folder's Schema.INI.
void TfrmQuorlin::cmdSaveClick() {
  if (const Refusal missing = file_.CheckWidthsSet()) {
    if (soundsEnabled_) env_.sounds->PlayTone(440, 600);
    env_.dialogs->Inform(DisplayText(*missing));
    return;
  }
  // Into the folder whose files are listed: when the user picks another folder, the tree has
  // moved on before "Save Changes?" is asked, while the layout on screen still belongs here.
  const SaveOutcome outcome = file_.Save(odbcOnly_);
  if (outcome.refused) {
    if (soundsEnabled_) env_.sounds->PlayTone(440, 600);
    env_.dialogs->Inform(DisplayText(outcome.message));
    return;
  }
  if (soundsEnabled_) env_.sounds->PlayPreset(outcome.written ? 2 : 4);
  env_.dialogs->Inform(DisplayText(outcome.message));
  if (schemaListShown_) ShowChosenFileList();
  file_.ClearLayoutChanged();
}

// The "Schema" box: shows the folder's schema sections in place of its files.
void TfrmQuorlin::chkDefinedClick(bool checked) {
  AskSaveChanges();
  SetSchemaListShown(checked);
}

void TfrmQuorlin::SetSchemaListShown(bool shown) {
  schemaListShown_ = shown;
  const QSignalBlocker quietBox(chkDefined);
  chkDefined->setChecked(shown);
  mnuDefined->setChecked(shown);
  ShowChosenFileList();
}

// The folder's files, or its schema sections where it has a Schema.INI and they were chosen.
void TfrmQuorlin::ShowChosenFileList() {
  lstSchema->clear();
  const std::string& folder = file_.Folder();
  if (schemaListShown_ && !folder.empty() && HasSchemaFile(folder)) {
    lstSchema->show();
    lstSchema->raise();
    lstFiles->hide();
    for (const std::string& section : ListSchemaSections(folder)) NewByteItem(section, lstSchema);
  } else {
    lstSchema->hide();
    lstFiles->show();
    lstFiles->raise();
  }
  cmdSchemaDelete->setEnabled(schemaListShown_);
}

// Opens a listed file with the layout saved for it.
void TfrmQuorlin::lstSchemaDblClick() {
  AskSaveChanges();
  const QList<QListWidgetItem*> selected = lstSchema->selectedItems();
  if (selected.isEmpty()) return;
  const std::string entry = ItemBytes(selected.first());
  const std::string& folder = file_.Folder();
  // Sections name their files without regard to case, as the text driver does.
  const std::string path = DataFileFor(folder, entry);
  file_.SetInputText(path.substr(folder.size()));
  file_.SetInputPath(path);
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    if (soundsEnabled_) env_.sounds->PlayTone(440, 600);
    env_.dialogs->Inform("Cannot find file\n" + DisplayText(path));
    return;
  }
  OpenSavedLayout(OpenSchemaFile(folder), entry);
}

void TfrmQuorlin::OpenSavedLayout(const ProfileFile& schema, const std::string& section) {
  // Checking Fixed Length runs its follow-up, Refresh, so its reload question comes first; the
  // saved layout is shown whatever the answer.
  if (SectionHasFields(schema, section) && file_.Layout().separator != SeparatorKind::Fixed &&
      ReadSavedLayout(schema, section).separator == SeparatorKind::Fixed &&
      env_.dialogs->Ask("REFRESH DATA? (AND RESET FIELDS)", "RELOAD DATA FILE?", false) && soundsEnabled_) {
    PlayPresetAndWait(0);
  }
  switch (file_.OpenWithSavedLayout(schema, section)) {
    case SavedLayoutRead::NoFields:
      if (soundsEnabled_) env_.sounds->PlayTone(550, 600);
      env_.dialogs->Inform(DisplayText(NoFieldsMessage(section)));
      break;
    case SavedLayoutRead::NoStructure:
      env_.dialogs->Inform(kNoStructureMessage);
      break;
    case SavedLayoutRead::Read:
      InformOfCuts();
      break;
  }
}

// Erases the selected file's section from the folder's Schema.INI.
void TfrmQuorlin::cmdSchemaDeleteClick() {
  if (!schemaListShown_) return;
  const QList<QListWidgetItem*> selected = lstSchema->selectedItems();
  if (selected.isEmpty()) return;
  QListWidgetItem* item = selected.first();
  if (!env_.dialogs->Ask("Delete " + item->text() + " From Schema?", "DELETE FROM SCHEMA", false)) {
    return;
  }
  const DeleteOutcome outcome = DeleteSchemaSection(file_.Folder(), ItemBytes(item), file_.InputPath());
  if (outcome.removed) delete item;
  env_.dialogs->Inform(DisplayText(outcome.message));
}

// Keeps the current layout as the settings file's LastFile section.
void TfrmQuorlin::WriteLastLayout() {
  ProfileFile settings(env_.settingsPath);
  const bool written = SchemaFileWriter(settings, kLastFileSection, file_.Layout(), file_.Fields(), false);
  file_.ClearLayoutChanged();
  if (!written) throw FileError("Unable to write to " + env_.settingsPath);
}

}  // namespace quorlin
