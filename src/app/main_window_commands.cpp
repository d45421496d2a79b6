// Start-up, shut-down, choosing folders and files, Refresh and the number boxes.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QFileSystemWatcher>
#include <QTreeView>
#include <filesystem>

#include "app/display_text.h"
#include "app/launcher.h"
#include "app/main_window.h"
#include "app/sound_effects.h"
#include "app/user_dialogs.h"
#include "app/window_placement.h"
#include "app/window_settings.h"
#include "platform/file_paths.h"
#include "platform/file_version.h"
#include "platform/folder_files.h"
#include "platform/ini_lines.h"
#include "platform/profile_file.h"
#include "schema/schema_reader.h"
#include "schema/value_recognisers.h"

namespace quorlin {

void TfrmQuorlin::StartUp() {
  programFolder_ = WithTrailingSlash(env_.programFolder);
  SelectFolderInTree(programFolder_);
  file_.ClearLayoutChanged();
  cmdSchemaDelete->setEnabled(true);
  SetOdbcOnly(true);
  setWindowTitle(windowTitle() + ":  Vers. " + QString::fromStdString(FileVersionText()));
  cboDateTime->setCurrentIndex(0);
  FitGridColumns();

  const Settings settings = LoadSettings(ProfileFile(env_.settingsPath));
  soundsEnabled_ = settings.options.sounds;
  mnuSounds->setChecked(soundsEnabled_);
  editorPath_ = settings.options.editor;
  if (IsBlank(editorPath_)) editorPath_ = kDefaultEditor;
  file_.SetNumberingBase(settings.options.numberingBase);
  defaultLineLength_ = settings.options.fixedLength;
  SetOdbcOnly(settings.options.odbcOnly);
  useLastExport_ = settings.exports.useLastFile;
  mnuUseLastExport->setChecked(useLastExport_);
  openLastFile_ = settings.options.openLastFile;
  mnuOpenLast->setChecked(openLastFile_);
  if (openLastFile_) ReopenLastFile(settings.options);
  RestorePlacement(env_.settingsPath, *this);
  if (!env_.startPath.empty()) OpenStartPath();
}

void TfrmQuorlin::ReopenLastFile(const OptionSettings& options) {
  const std::string& last = options.last;
  std::error_code ignored;
  if (last.empty() || !std::filesystem::is_regular_file(last, ignored)) {
    file_.SetInputText("");
    SelectFolderInTree(env_.homeFolder);
    return;
  }
  SelectFolderInTree(FolderOf(last));
  file_.SetInputText(FileNameOf(last));
  file_.SetInputPath(last);
  if (!options.schema) {
    OpenSavedLayout(ProfileFile(env_.settingsPath), kLastFileSection);
    return;
  }
  SetSchemaListShown(true);
  for (int row = 0; row < lstSchema->count(); ++row) {
    QListWidgetItem* item = lstSchema->item(row);
    if (ini::SameName(ItemBytes(item), file_.SectionName())) {
      lstSchema->setCurrentItem(item);
      lstSchemaDblClick();
      return;
    }
  }
  // The folder's Schema.INI keeps no layout for the file: say so, as reading its section would.
  if (soundsEnabled_) env_.sounds->PlayTone(550, 600);
  env_.dialogs->Inform(DisplayText(NoFieldsMessage(file_.InputText())));
}

void TfrmQuorlin::OpenStartPath() { OpenPath(env_.startPath); }

// A folder named on the command line or dropped on the window is opened in the tree; a file is
// also loaded at once and marked in the folder's file list, as the desktop's "Open with" leaves
// the user expecting.
void TfrmQuorlin::OpenPath(const std::string& given) {
  const QFileInfo start(PathText(given));
  if (start.isDir()) {
    SelectFolderInTree(WithTrailingSlash(PathBytes(start.absoluteFilePath())));
  } else if (start.isFile()) {
    const std::string path = PathBytes(start.absoluteFilePath());
    SelectFolderInTree(FolderOf(path));
    file_.ChooseFile(path, path);
    file_.Refresh();
    InformOfCuts();
  }
  if (start.isFile()) {
    const QList<QListWidgetItem*> listed = lstFiles->findItems(start.fileName(), Qt::MatchExactly);
    if (!listed.isEmpty()) lstFiles->setCurrentItem(listed.front());
  }
}

namespace {

// The first local file or folder among what is dragged, or nothing.
QString DroppedPath(const QMimeData* dropped) {
  if (dropped == nullptr || !dropped->hasUrls()) return {};
  for (const QUrl& url : dropped->urls()) {
    if (url.isLocalFile() && QFileInfo::exists(url.toLocalFile())) return url.toLocalFile();
  }
  return {};
}

}  // namespace

void TfrmQuorlin::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedPath(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TfrmQuorlin::dragMoveEvent(QDragMoveEvent* event) {
  if (!DroppedPath(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TfrmQuorlin::dropEvent(QDropEvent* event) {
  const QString path = DroppedPath(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  RunCommand([this, path] {
    AskSaveChanges();
    OpenPath(PathBytes(path));
  });
}

void TfrmQuorlin::closeEvent(QCloseEvent* event) {
  if (closingTunePlaying_) {
    event->ignore();
    return;
  }
  // A settings file that cannot be written is reported, and the window closes all the same:
  // kept open, it could never be closed from a read-only folder. The settings not yet written
  // then keep their values from before.
  RunCommand([this] { ShutDown(); });
  event->accept();
}

void TfrmQuorlin::ShutDown() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct CursorBack {
    ~CursorBack() { QApplication::restoreOverrideCursor(); }
  } cursorBack;
  ProfileFile settings(env_.settingsPath);
  OptionSettings options;
  options.editor = editorPath_;
  options.last = file_.InputBoxPath();
  options.openLastFile = openLastFile_;
  options.numberingBase = file_.NumberingBase();
  options.schema = schemaListShown_;
  options.sounds = soundsEnabled_;
  SaveShutDownOptions(settings, options);
  WriteLastLayout();
  SavePlacement(env_.settingsPath, *this);
}

void TfrmQuorlin::AskSaveChanges() {
  if (file_.LayoutChanged() && env_.dialogs->Confirm("Save Changes?")) cmdSaveClick();
  file_.ClearLayoutChanged();
}

std::string TfrmQuorlin::SelectedFolder() const {
  const QModelIndex current = dirList->currentIndex();
  if (!current.isValid()) return "";
  return WithTrailingSlash(PathBytes(folderModel_->filePath(current)));
}

void TfrmQuorlin::SelectFolderInTree(const std::string& folder) {
  QString path = QDir::cleanPath(PathText(folder));
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
  file_.SetFolder(SelectedFolder());
  ShowFolderFiles();
  if (schemaListShown_) ShowChosenFileList();
}

void TfrmQuorlin::ShowFolderFiles() {
  const std::string& folder = file_.Folder();
  const QStringList watched = folderWatcher_->directories();
  if (!watched.isEmpty()) folderWatcher_->removePaths(watched);
  if (!folder.empty()) folderWatcher_->addPath(PathText(folder));
  RefreshFolderFiles();
}

void TfrmQuorlin::RefreshFolderFiles() {
  // The list is filled anew; the file the user marked stays marked, and the list where it was.
  const QListWidgetItem* current = lstFiles->currentItem();
  const std::string marked = current != nullptr ? ItemBytes(current) : std::string();
  const int scrolled = lstFiles->verticalScrollBar()->value();
  lstFiles->clear();
  const std::string& folder = file_.Folder();
  if (folder.empty()) return;
  std::error_code error;
  for (std::filesystem::directory_iterator entries(folder, error);
       !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    std::error_code ignored;
    if (!entries->is_regular_file(ignored)) continue;
    QListWidgetItem* item = NewByteItem(entries->path().filename().string(), lstFiles);
    if (!marked.empty() && ItemBytes(item) == marked) lstFiles->setCurrentItem(item);
  }
  lstFiles->verticalScrollBar()->setValue(scrolled);
}

void TfrmQuorlin::cmdBrowseClick() {
  FileDialogRequest request;
  request.title = kInputFileTitle;
  request.filter = kInputFileFilter;
  request.initialFile = PathText(file_.InputBoxPath());
  request.mustExist = true;
  const FileChoice choice = env_.dialogs->ChooseOpenFile(request);
  if (!choice.accepted) return;
  // Offered while the box and the tree still name the file whose layout is on screen; asked
  // later, a save would file that layout under the newly chosen file's name.
  AskSaveChanges();
  const std::string path = PathBytes(choice.fileName);
  SelectFolderInTree(FolderOf(path));
  file_.ChooseFile(path, path);
  cmdRefreshClick();
}

void TfrmQuorlin::lstFilesDblClick() {
  AskSaveChanges();
  const QListWidgetItem* item = lstFiles->currentItem();
  if (item == nullptr) return;
  const std::string path = file_.Folder() + ItemBytes(item);
  file_.ChooseFile(path, path);
  cmdRefreshClick();
}

void TfrmQuorlin::cmdRefreshClick() {
  if (IsBlank(file_.InputPath())) return;
  if (file_.LayoutChanged() &&
      env_.dialogs->Ask("Do you want SAVE to the structure first?\nResetting clears the Fields settings",
                        "SAVE STRUCTURE?", true)) {
    cmdSaveClick();
  }
  if (!env_.dialogs->Ask("REFRESH DATA? (AND RESET FIELDS)", "RELOAD DATA FILE?", false)) return;
  file_.Refresh();
  InformOfCuts();
  if (soundsEnabled_) PlayPresetAndWait(0);
}

void TfrmQuorlin::cmdViewDataClick() {
  env_.launcher->OpenInEditor(PathText(editorPath_), PathText(file_.InputBoxPath()));
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
  const bool whole = IsWholeNumber(box->text().toStdString(), env_.locale);
  if (box == txtRows) {
    if (!whole) {
      env_.dialogs->Inform("Must be a Number");
      file_.SetRowsToScan("25");
      refocus();
    }
    if (file_.Layout().rowsToScan.Value() <= 25) {
      MarkLayoutChanged();
    } else {
      env_.dialogs->Inform("Maximum of 25 rows for checking");
      file_.SetRowsToScan("25");
    }
    return;
  }
  if (whole) {
    MarkLayoutChanged();
    return;
  }
  env_.dialogs->Inform("Must be a Number");
  if (box == txtStart) {
    file_.SetStartRow("1");
  } else if (box == txtWidth) {
    box->setText("255");
  } else {
    file_.SetLineLength(defaultLineLength_);
  }
  refocus();
}

}  // namespace quorlin
