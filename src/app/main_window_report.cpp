// Print Structure: the structure report of the layout on screen, to a text file or a printer.
#include <filesystem>

#include "app/display_text.h"
#include "app/main_window.h"
#include "app/report_printer.h"
#include "app/user_dialogs.h"
#include "platform/atomic_file.h"
#include "platform/local_date.h"
#include "schema/structure_report.h"

namespace quorlin {

namespace {

constexpr const char* kNoStructure = "No File Structure Displayed";
constexpr const char* kPrintJobName = "Mervane - Print File Structure";
constexpr const char* kNoPrinter =
    "No default printer is set up, so the structure cannot be printed.\n"
    "Print it To File instead, or set up a printer and try again.";
constexpr const char* kPrintFailed = "The printer did not accept the structure; nothing was printed.";

}  // namespace

std::string TfrmQuorlin::StructureReportText() const {
  return StructureReport(file_.InputText(), file_.Layout().separator, file_.Fields(), file_.NumberingBase(),
                         LocalToday());
}

// The window's file dialog in its save form: an open dialog cannot name a file that does not
// exist yet.
void TfrmQuorlin::mnuPrintToFileClick() {
  if (file_.Fields().empty()) {
    env_.dialogs->Inform(kNoStructure);
    return;
  }
  const std::string report = StructureReportText();
  FileDialogRequest request;
  request.title = kInputFileTitle;
  request.filter = kInputFileFilter;
  request.initialFile = PathText(SelectedFolder() + "Structure.Txt");
  request.mustExist = false;
  const FileChoice choice = env_.dialogs->ChooseSaveFile(request);
  if (!choice.accepted) return;
  const std::string path = PathBytes(choice.fileName);
  // The data file the layout describes is never replaced by a description of itself.
  if (const std::optional<std::string> refusal = ReportOutputRefusal(file_.InputPath(), path)) {
    env_.dialogs->Inform(DisplayText(*refusal));
    return;
  }
  std::error_code ignored;
  if (std::filesystem::exists(path, ignored) &&
      !env_.dialogs->Confirm("File " + DisplayText(path) + " Exists, Overwrite?")) {
    return;
  }
  ReplaceFile(path, report);
  env_.dialogs->Inform("Output in " + DisplayText(path));
}

void TfrmQuorlin::mnuPrintToPrinterClick() {
  if (file_.Fields().empty()) {
    env_.dialogs->Inform(kNoStructure);
    return;
  }
  switch (env_.printer->Print(kPrintJobName, DisplayText(StructureReportText()))) {
    case PrintOutcome::Printed:
      break;
    case PrintOutcome::NoPrinter:
      env_.dialogs->Inform(kNoPrinter);
      break;
    case PrintOutcome::Failed:
      env_.dialogs->Warn(kPrintFailed);
      break;
  }
}

}  // namespace quorlin
