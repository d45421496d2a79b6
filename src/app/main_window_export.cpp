// "&Export As..": the checks before export and the export dialog.
#include <QLineEdit>

#include "app/display_text.h"
#include "app/export_dialog.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "export/export_choices.h"

namespace quorlin {

void TfrmQuorlin::mnuExportClick() {
  if (const std::optional<std::string> refusal = ExportStartRefusal(fields_)) {
    env_.dialogs->Inform(DisplayText(*refusal));
    return;
  }
  AskSaveChanges();

  ExportDialogInputs inputs;
  inputs.inputPath = inputPath_;
  inputs.inputBoxText = txtInputFile->text();
  inputs.layout = CurrentLayout();
  inputs.useLastExport = mnuUseLastExport->isChecked();
  inputs.settingsPath = env_.settingsPath;
  inputs.soundsEnabled = soundsEnabled_;
  inputs.locale = env_.locale;
  TfrmExportData dialog(std::move(inputs), *env_.dialogs, *env_.sounds, this);
  dialog.exec();
}

}  // namespace quorlin
