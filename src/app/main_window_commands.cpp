#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTreeView>
#include <filesystem>

#include "app/display_text.h"
#include "app/field_list_model.h"
#include "app/launcher.h"
#include "app/main_window.h"
#include "app/preview_grid_model.h"
#include "app/ruler_view.h"
#include "app/sound_effects.h"
#include "app/user_dialogs.h"
#include "app/window_placement.h"
#include "platform/file_version.h"
#include "platform/folder_files.h"
#include "platform/profile_file.h"
#include "schema/value_recognisers.h"
#include "text/integer_text.h"
#include "text/text_line_reader.h"

namespace quorlin {

namespace {

const char* const kInputFileFilter =
    "Text Files (*.asc *.txt *.csv *.dat *.log *.tab);;All Files (*)";

QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string FolderOf(const std::string& path) {
  return WithTrailingSlash(std::filesystem::path(path).parent_path().string());
}

std::string NameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

}  // namespace

void TfrmQuorlin::StartUp() {
  programFolder_ = WithTrailingSlash(env_.programFolder);
  SelectFolderInTree(programFolder_);
  layoutChanged_ = false;
  cmdSchemaDelete->setEnabled(true);
  mnuODBCOnly->setChecked(true);
  chkODBCOnly->setChecked(true);
  mnuSounds->setChecked(true);
  setWindowTitle(windowTitle() + ":  Vers. " + QString::fromStdString(FileVersionText()));
  cboDateTime->setCurrentIndex(0);
  FitGridColumns();

  const ProfileFile settings(env_.settingsPath);
  mnuSounds->setChecked(settings.ReadBool("Options", "Sounds", false));
  soundsEnabled_ = mnuSounds->isChecked();
  editorPath_ = settings.ReadString("Options", "Editor", "");
  if (IsBlank(editorPath_)) editorPath_ = kDefaultEditor;
  mnuCountFrom0->setChecked(settings.ReadInteger("Options", "FieldCountFrom", 1) != 1);
  const bool odbcOnly = settings.ReadString("Options", "ODBCOnly", "Yes") == "Yes";
  mnuODBCOnly->setChecked(odbcOnly);
  chkODBCOnly->setChecked(odbcOnly);
  mnuUseLastExport->setChecked(settings.ReadString("Export", "UseLastFile", "No") == "Yes");
  if (settings.ReadString("Options", "OpenLastFile", "No") == "Yes") {
    mnuOpenLast->setChecked(true);
    ReopenLastFile();
  }
  RestorePlacement(env_.settingsPath, *this);
  if (!env_.startPath.empty()) OpenStartPath();
}

void TfrmQuorlin::ReopenLastFile() {
  const ProfileFile settings(env_.settingsPath);
  const std::string last = settings.ReadString("Options", "Last", "");
  std::error_code ignored;
  if (last.empty() || !std::filesystem::is_regular_file(last, ignored)) {
    txtInputFile->clear();
    SelectFolderInTree(env_.homeFolder);
    return;
  }
  SelectFolderInTree(FolderOf(last));
  txtInputFile->setText(FromPath(NameOf(last)));
  inputPath_ = last;
  const bool fromSchema = settings.ReadString("Options", "Schema", "No") == "Yes";
  if (fromSchema) chkDefined->setChecked(true);
  if (!RestoreLastLayout(fromSchema)) {
    LoadInputFile();
    layoutChanged_ = false;
  }
}

// A folder named on the command line is opened in the tree; a file is also loaded at once and
// marked in the folder's file list, as the desktop's "Open with" leaves the user expecting.
void TfrmQuorlin::OpenStartPath() {
  const QFileInfo start(FromPath(env_.startPath));
  if (start.isDir()) {
    SelectFolderInTree(WithTrailingSlash(PathBytes(start.absoluteFilePath())));
  } else if (start.isFile()) {
    const std::string path = PathBytes(start.absoluteFilePath());
    SelectFolderInTree(FolderOf(path));
    txtInputFile->setText(start.absoluteFilePath());
    inputPath_ = path;
    fieldModel_->Clear();
    LoadInputFile();
    layoutChanged_ = false;
  }
  if (start.isFile()) {
    const QList<QListWidgetItem*> listed = lstFiles->findItems(start.fileName(), Qt::MatchExactly);
    if (!listed.isEmpty()) lstFiles->setCurrentItem(listed.front());
  }
}

void TfrmQuorlin::closeEvent(QCloseEvent* event) {
  if (closingTunePlaying_) {
    event->ignore();
    return;
  }
  bool done = false;
  RunCommand([this, &done] {
    ShutDown();
    done = true;
  });
  if (done) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TfrmQuorlin::ShutDown() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct CursorBack {
    ~CursorBack() { QApplication::restoreOverrideCursor(); }
  } cursorBack;
  ProfileFile settings(env_.settingsPath);
  settings.WriteString("Options", "Editor", editorPath_);
  settings.WriteString("Options", "Last", InputBoxPath());
  settings.WriteString("Options", "OpenLastFile", mnuOpenLast->isChecked() ? "Yes" : "No");
  settings.WriteInteger("Options", "FieldCountFrom", mnuCountFrom0->isChecked() ? 0 : 1);
  settings.WriteString("Options", "Schema", chkDefined->isChecked() ? "Yes" : "No");
  settings.WriteBool("Options", "Sounds", soundsEnabled_);
  WriteLastLayout();
  SavePlacement(env_.settingsPath, *this);
}

void TfrmQuorlin::AskSaveChanges() {
  if (layoutChanged_ && env_.dialogs->Confirm("Save Changes?")) cmdSaveClick();
  layoutChanged_ = false;
}

std::string TfrmQuorlin::SelectedFolder() const {
  const QModelIndex current = dirList->currentIndex();
  if (!current.isValid()) return "";
  return WithTrailingSlash(PathBytes(folderModel_->filePath(current)));
}

std::string TfrmQuorlin::InputBoxPath() const {
  const std::string text = PathBytes(txtInputFile->text());
  return text.find('/') != std::string::npos ? text : SelectedFolder() + text;
}

void TfrmQuorlin::SelectFolderInTree(const std::string& folder) {
  QString path = QDir::cleanPath(FromPath(folder));
  const QModelIndex index = folderModel_->index(path);
  if (!index.isValid()) return;
  for (QModelIndex above = index.parent(); above.isValid(); above = above.parent()) {
    dirList->expand(above);
  }
  followChosenFolder_ = true;
  dirList->setCurrentIndex(index);
  dirList->expand(index);
  dirList->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TfrmQuorlin::FolderChange() {
  AskSaveChanges();
  ShowFolderFiles();
  if (chkDefined->isChecked()) {
    chkDefined->setChecked(false);
    chkDefined->setChecked(true);
  }
}

void TfrmQuorlin::ShowFolderFiles() {
  lstFiles->clear();
  const std::string folder = SelectedFolder();
  listedFolder_ = folder;
  if (folder.empty()) return;
  lstFiles->addItems(QDir(FromPath(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name));
}

void TfrmQuorlin::cmdBrowseClick() {
  FileDialogRequest request;
  request.title = "Select your Input File";
  request.filter = kInputFileFilter;
  request.initialFile = FromPath(InputBoxPath());
  request.mustExist = true;
  const FileChoice choice = env_.dialogs->ChooseOpenFile(request);
  if (!choice.accepted) return;
  // Offered while the box and the tree still name the file whose layout is on screen; asked
  // later, a save would file that layout under the newly chosen file's name.
  AskSaveChanges();
  txtInputFile->setText(choice.fileName);
  SelectFolderInTree(FolderOf(PathBytes(choice.fileName)));
  inputPath_ = PathBytes(txtInputFile->text());
  fieldModel_->Clear();
  cmdRefreshClick();
}

void TfrmQuorlin::lstFilesDblClick() {
  AskSaveChanges();
  const QListWidgetItem* item = lstFiles->currentItem();
  if (item == nullptr) return;
  const std::string path = SelectedFolder() + PathBytes(item->text());
  txtInputFile->setText(FromPath(path));
  inputPath_ = path;
  fieldModel_->Clear();
  lstLines->clear();
  cmdRefreshClick();
}

void TfrmQuorlin::cmdRefreshClick() {
  if (IsBlank(inputPath_)) return;
  if (layoutChanged_ &&
      env_.dialogs->Ask("Do you want SAVE to the structure first?\nResetting clears the Fields settings",
                        "SAVE STRUCTURE?", true)) {
    cmdSaveClick();
  }
  if (!env_.dialogs->Ask("REFRESH DATA? (AND RESET FIELDS)", "RELOAD DATA FILE?", false)) return;
  LoadInputFile();
  layoutChanged_ = false;
  if (soundsEnabled_) PlayPresetAndWait(0);
}

void TfrmQuorlin::LoadInputFile() {
  if (optFixed->isChecked()) {
    SetFixedViewMode();
    DrawRuler(inputPath_);
  } else {
    SetDelimitedViewMode();
    LoadPreviewFrom(inputPath_);
  }
}

void TfrmQuorlin::SetDelimitedViewMode() {
  ShowViewControls(false);
  gridModel_->ClearDataRows();
  grdData->raise();
  MarkLayoutChanged();
}

void TfrmQuorlin::LoadPreviewFrom(const std::string& path) {
  const FileLayout layout = CurrentLayout();
  const PreviewOptions options = PreviewOptionsFor(layout, NumberingBase());
  if (layout.separator == SeparatorKind::Fixed) {
    TextLineReader opened(path);
    return;
  }
  PreviewTable table = LoadPreview(path, options);
  const std::vector<std::string> cuts = CutMessages(table);
  FieldList fields = DefaultFields(table.names);
  gridModel_->SetTable(std::move(table));
  FitGridColumns();
  fieldModel_->Assign(std::move(fields));
  if (!fields_.empty()) {
    SelectFieldRow(0);
    lvwFieldsClick();
  }
  for (const std::string& cut : cuts) env_.dialogs->Inform(QString::fromStdString(cut));
}

void TfrmQuorlin::MarkSelectedField(int index) {
  if (IsFixedLayout()) return;
  const auto& names = gridModel_->Table().names;
  gridModel_->MarkColumn(!names.empty() && !names[0].empty() ? index : -1);
}

void TfrmQuorlin::cmdViewDataClick() {
  env_.launcher->OpenInEditor(FromPath(editorPath_), FromPath(InputBoxPath()));
}

// The wait after the tune handles input: a second Close, or the window's own close button, must
// not shut the window down under this handler, so the closing runs once, after the wait.
void TfrmQuorlin::cmdCloseClick() {
  if (closingTunePlaying_) return;
  closingTunePlaying_ = true;
  if (soundsEnabled_) PlayPresetAndWait(12);
  closingTunePlaying_ = false;
  close();
}

void TfrmQuorlin::PlayPresetAndWait(int tune) {
  env_.sounds->PlayPreset(tune);
  env_.sounds->Delay(20);
}

void TfrmQuorlin::ValidateNumberBox(QLineEdit* box) {
  // Focus goes back once the focus change in progress has finished.
  auto refocus = [box] { QMetaObject::invokeMethod(box, [box] { box->setFocus(); }, Qt::QueuedConnection); };
  if (box == txtRows) {
    if (!IsWholeNumber(box->text().toStdString(), env_.locale)) {
      env_.dialogs->Inform("Must be a Number");
      box->setText("25");
      refocus();
    }
    if (ToInteger(box->text().toStdString()) <= 25) {
      MarkLayoutChanged();
    } else {
      env_.dialogs->Inform("Maximum of 25 rows for checking");
      box->setText("25");
    }
    return;
  }
  if (IsWholeNumber(box->text().toStdString(), env_.locale)) {
    MarkLayoutChanged();
    return;
  }
  env_.dialogs->Inform("Must be a Number");
  if (box == txtStart) {
    box->setText("1");
  } else if (box == txtWidth) {
    box->setText("255");
  } else {
    box->setText(DisplayText(ProfileFile(env_.settingsPath).ReadString("Options", "FixedLength", "80")));
  }
  refocus();
}

}  // namespace quorlin
