// "&Export As..": the checks before export and the export dialog.
#include <QAction>

#include "app/display_text.h"
#include "app/export_dialog.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "export/export_choices.h"

namespace quorlin {

void TfrmQuorlin::mnuExportClick() {
  if (const std::optional<std::string> refusal = ExportStartRefusal(file_.Fields())) {
    env_.dialogs->Inform(DisplayText(*refusal));
    return;
  }
  AskSaveChanges();

  ExportDialogInputs inputs;
  inputs.inputPath = file_.InputPath();
  inputs.inputBoxText = DisplayText(file_.InputText());
  inputs.layout = file_.Layout();
  inputs.useLastExport = useLastExport_;
  inputs.settingsPath = env_.settingsPath;
  inputs.soundsEnabled = soundsEnabled_;
  inputs.locale = env_.locale;
  TfrmExportData dialog(std::move(inputs), *env_.dialogs, *env_.sounds, this);
  dialog.exec();
  // The output may have gone into the folder on show.
  RefreshFolderFiles();
}

}  // namespace quorlin
