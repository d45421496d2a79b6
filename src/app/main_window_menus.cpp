#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QMenuBar>
#include <QRadioButton>

#include "app/display_text.h"
#include "app/help_topics.h"
#include "app/launcher.h"
#include "app/main_window.h"
#include "app/update_form.h"
#include "app/user_dialogs.h"
#include "app/window_settings.h"
#include "platform/file_version.h"
#include "platform/profile_file.h"
#include "schema/value_recognisers.h"

namespace quorlin {

namespace {

QMenu* AddMenu(QWidget* parent, const char* name, const QString& caption, int helpContext) {
  auto* menu = new QMenu(caption, parent);
  menu->setObjectName(name);
  menu->menuAction()->setObjectName(name);
  menu->menuAction()->setProperty("helpContext", helpContext);
  return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, int helpContext,
                 bool checkable = false, bool checked = false) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  item->setProperty("helpContext", helpContext);
  item->setCheckable(checkable);
  item->setChecked(checked);
  return item;
}

}  // namespace

void TfrmQuorlin::BuildMenus() {
  QMenu* file = AddMenu(this, "mnuFile", "&File", 590);
  mnuOpen = AddItem(file, "mnuOpen", "&Open Text File", 600);
  mnuRefresh = AddItem(file, "mnuRefresh", "&Refresh Data", 610);
  file->addSeparator();
  mnuGuess = AddItem(file, "mnuGuess", "&Guess Structure", 630);
  mnuSaveStructure = AddItem(file, "mnuSaveStructure", "&Save Structure", 640);
  mnuExport = AddItem(file, "mnuExport", "&Export As..", 650);
  file->addSeparator();
  QMenu* print = AddMenu(file, "mnuPrint", "&Print Structure", 670);
  file->addMenu(print);
  mnuPrintToFile = AddItem(print, "mnuPrintToFile", "To &File", 1010);
  mnuPrintToPrinter = AddItem(print, "mnuPrintToPrinter", "To &Printer", 1020);
  mnuTextDSN = AddItem(file, "mnuTextDSN", "Text DSN", 680);
  file->addSeparator();
  mnuExit = AddItem(file, "mnuExit", "E&xit", 700);

  QMenu* options = AddMenu(this, "mnuOptions", "&Options", 710);
  mnuDefined = AddItem(options, "mnuDefined", "Use &Schema File", 720, true);
  mnuODBCOnly = AddItem(options, "mnuODBCOnly", "O&DBC Format ONLY", 730, true, true);
  options->addSeparator();
  mnuCountFrom0 = AddItem(options, "mnuCountFrom0", "&Count Fields From 0", 750, true);
  mnuHeaderRow = AddItem(options, "mnuHeaderRow", "Has &Header Row", 760);
  QMenu* rows = AddMenu(options, "mnuRowsToScan", "&Rows To Scan", 770);
  options->addMenu(rows);
  mnuRows8 = AddItem(rows, "mnuRows8", "8", 780, true);
  mnuRows15 = AddItem(rows, "mnuRows15", "15", 790, true);
  mnuRows25 = AddItem(rows, "mnuRows25", "25", 800, true, true);
  QMenu* qualifier = AddMenu(options, "mnuTextQualifier", "Text &Qualifier", 810);
  options->addMenu(qualifier);
  mnuQuoteDouble = AddItem(qualifier, "mnuQuoteDouble", "Double Quote (\")", 820, true, true);
  mnuQuoteSingle = AddItem(qualifier, "mnuQuoteSingle", "Single Quote (')", 830, true);
  mnuQuoteNone = AddItem(qualifier, "mnuQuoteNone", "None", 840, true);
  QMenu* separator = AddMenu(options, "mnuFieldIdentifier", "&Field Identifier", 850);
  options->addMenu(separator);
  mnuSepSpace = AddItem(separator, "mnuSepSpace", "Space (\" \")", 860, true);
  mnuSepTab = AddItem(separator, "mnuSepTab", "Tab (#9)", 870, true);
  mnuSepComma = AddItem(separator, "mnuSepComma", "Comma", 880, true, true);
  mnuSepCustom = AddItem(separator, "mnuSepCustom", "Custom", 890, true);
  mnuSepFixed = AddItem(separator, "mnuSepFixed", "Fixed Length", 900, true);
  mnuFixedLength = AddItem(options, "mnuFixedLength", "Fixed &Length ", 910);
  mnuFixedLength->setVisible(false);
  options->addSeparator();
  mnuOpenLast = AddItem(options, "mnuOpenLast", "&Open Last INPUT File", 930, true);
  mnuUseLastExport = AddItem(options, "mnuUseLastExport", "Use  Last E&XPORT File", 940, true);
  options->addSeparator();
  mnuSetEditor = AddItem(options, "mnuSetEditor", "Set Text &Editor...", 960);
  mnuSounds = AddItem(options, "mnuSounds", "With Sound Effects", 970, true);

  QMenu* help = AddMenu(this, "mnuHelp", "&Help", 980);
  mnuContextHelp = AddItem(help, "mnuContextHelp", "&Context Help", 990);
  mnuAbout = AddItem(help, "mnuAbout", "&About", 1000);
  help->addSeparator();
  mnuCheckUpdates = AddItem(help, "mnuCheckUpdates", "Check for Updates", 1030);

  for (QMenu* menu : {file, options, help}) menuBar()->addMenu(menu);
}

void TfrmQuorlin::ConnectMenus() {
  auto on = [this](QAction* item, std::function<void()> handler) {
    connect(item, &QAction::triggered, this, [this, handler] { RunCommand(handler); });
  };
  on(mnuOpen, [this] { cmdBrowseClick(); });
  on(mnuRefresh, [this] { cmdRefreshClick(); });
  on(mnuGuess, [this] { cmdGuessClick(); });
  on(mnuSaveStructure, [this] { cmdSaveClick(); });
  on(mnuExport, [this] { mnuExportClick(); });
  on(mnuPrintToFile, [this] { mnuPrintToFileClick(); });
  on(mnuPrintToPrinter, [this] { mnuPrintToPrinterClick(); });
  on(mnuTextDSN, [this] { mnuTestDSNClick(); });
  on(mnuExit, [this] { cmdCloseClick(); });
  on(mnuDefined, [this] { mnuDefinedClick(); });
  on(mnuODBCOnly, [this] { mnuODBCOnlyClick(); });
  on(mnuCountFrom0, [this] { mnuCountFrom0Click(); });
  on(mnuHeaderRow, [this] { mnuHeaderRowClick(); });
  on(mnuRows8, [this] { mnuRowsClick(mnuRows8, "8"); });
  on(mnuRows15, [this] { mnuRowsClick(mnuRows15, "15"); });
  on(mnuRows25, [this] { mnuRowsClick(mnuRows25, "25"); });
  on(mnuQuoteDouble, [this] { mnuQualifierClick("\""); });
  on(mnuQuoteSingle, [this] { mnuQualifierClick("'"); });
  on(mnuQuoteNone, [this] { mnuQualifierClick("{none}"); });
  on(mnuSepSpace, [this] { mnuSeparatorClick(mnuSepSpace, optSpace); });
  on(mnuSepTab, [this] { mnuSeparatorClick(mnuSepTab, optTab); });
  on(mnuSepComma, [this] { mnuSeparatorClick(mnuSepComma, optComma); });
  on(mnuSepCustom, [this] { mnuSeparatorClick(mnuSepCustom, optCustom); });
  on(mnuSepFixed, [this] { mnuSeparatorClick(mnuSepFixed, optFixed); });
  on(mnuFixedLength, [this] { mnuFixedLengthClick(); });
  on(mnuOpenLast, [this] { mnuOpenLastClick(); });
  on(mnuUseLastExport, [this] { mnuUseLastExportClick(); });
  on(mnuSetEditor, [this] { mnuSetEditorClick(); });
  on(mnuSounds, [this] { mnuSoundsClick(); });
  on(mnuContextHelp, [this] { env_.launcher->OpenHelp(kHelpContents); });
  on(mnuAbout, [this] { mnuAboutClick(); });
  on(mnuCheckUpdates, [this] { mnuUpdateCheckClick(); });
}

void TfrmQuorlin::SetMenuCheck(QAction* chosen, std::initializer_list<QAction*> group) {
  for (QAction* item : group) item->setChecked(item == chosen);
}

void TfrmQuorlin::mnuRowsClick(QAction* item, const char* rows) {
  SetMenuCheck(item, {mnuRows8, mnuRows15, mnuRows25});
  file_.SetRowsToScan(rows);
  MarkLayoutChanged();
}

void TfrmQuorlin::mnuQualifierClick(const char* qualifier) {
  // These items only set the box; their check marks stay as they were built.
  mnuQuoteDouble->setChecked(true);
  mnuQuoteSingle->setChecked(false);
  mnuQuoteNone->setChecked(false);
  file_.SetQualifier(qualifier);
  MarkLayoutChanged();
}

void TfrmQuorlin::mnuSeparatorClick(QAction* item, QRadioButton* button) {
  button->setChecked(true);
  SetMenuCheck(item, {mnuSepSpace, mnuSepTab, mnuSepComma, mnuSepCustom, mnuSepFixed});
  if (button == optCustom) txtChar->setFocus();
  MarkLayoutChanged();
}

void TfrmQuorlin::mnuHeaderRowClick() {
  chkHeaderRow->toggle();
  MarkLayoutChanged();
}

void TfrmQuorlin::mnuDefinedClick() {
  AskSaveChanges();
  SetSchemaListShown(!schemaListShown_);
  MarkLayoutChanged();
}

void TfrmQuorlin::mnuODBCOnlyClick() { SetOdbcOnly(!odbcOnly_); }

void TfrmQuorlin::mnuCountFrom0Click() {
  file_.SetNumberingBase(mnuCountFrom0->isChecked() ? 0 : 1);
  MarkLayoutChanged();
}

void TfrmQuorlin::mnuFixedLengthClick() { txtLength->setFocus(); }

void TfrmQuorlin::mnuSoundsClick() {
  soundsEnabled_ = !soundsEnabled_;
  mnuSounds->setChecked(soundsEnabled_);
}

void TfrmQuorlin::mnuOpenLastClick() {
  const bool yes = env_.dialogs->Ask("Open Last File on Start?", "OPTIONS", openLastFile_);
  openLastFile_ = yes;
  mnuOpenLast->setChecked(yes);
  ProfileFile settings(env_.settingsPath);
  SaveOpenLastFile(settings, yes);
}

void TfrmQuorlin::mnuUseLastExportClick() {
  const bool yes = env_.dialogs->Ask("Use Last EXPORT File FORMAT on Start?", "OPTIONS", useLastExport_);
  useLastExport_ = yes;
  mnuUseLastExport->setChecked(yes);
  ProfileFile settings(env_.settingsPath);
  SaveUseLastExport(settings, yes);
}

void TfrmQuorlin::mnuSetEditorClick() {
  programFolder_ = env_.programFolder;
  FileDialogRequest request;
  request.title = "Locate Editor for displaying results...";
  request.filter = "Editors (*);;All Files (*)";
  request.initialFile = DisplayText(editorPath_);
  // Cancel leaves the current editor in the dialog, which is then written again.
  const std::string chosen = PathBytes(env_.dialogs->ChooseOpenFile(request).fileName);
  if (!IsBlank(chosen)) {
    ProfileFile settings(env_.settingsPath);
    SaveEditor(settings, chosen);
    editorPath_ = chosen;
  } else {
    env_.dialogs->Inform("No Editor chosen, Defaulting to the desktop's text editor");
    editorPath_ = kDefaultEditor;
  }
}

void TfrmQuorlin::mnuAboutClick() {
  env_.dialogs->Inform(QString("%1\nVersion %2\n\nDefines the field layout of flat text data files.")
                           .arg(kApplicationTitle, QString::fromStdString(FileVersionText())));
}

void TfrmQuorlin::mnuUpdateCheckClick() {
  TUpdateForm form(UpdateFormSetupFor(env_), this);
  form.exec();
}

void TfrmQuorlin::chkHeaderRowClick(bool checked) { file_.SetHeaderRow(checked); }

void TfrmQuorlin::cboCharacterSetChange(const QString& name) {
  if (std::optional<CharacterSet> set = CharacterSet::Named(name.toStdString())) {
    if (*set != file_.Layout().characterSet) file_.ChooseCharacterSet(std::move(*set));
  }
}

void TfrmQuorlin::chkODBCOnlyClick(bool checked) { SetOdbcOnly(checked); }

void TfrmQuorlin::SetOdbcOnly(bool on) {
  odbcOnly_ = on;
  const QSignalBlocker quietBox(chkODBCOnly);
  chkODBCOnly->setChecked(on);
  mnuODBCOnly->setChecked(on);
}

void TfrmQuorlin::optDelimitedClick(SeparatorKind kind) { file_.ChooseSeparator(kind); }

void TfrmQuorlin::optFixedClick() {
  file_.ChooseSeparator(SeparatorKind::Fixed);
  // The box greys with the button, before Refresh asks its questions.
  ShowLayout();
  cmdRefreshClick();
}

}  // namespace quorlin
