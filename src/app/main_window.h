// The main window: folder and file choice, the preview, the field layout and every command.
#pragma once

#include <QMainWindow>
#include <functional>
#include <string>

#include "app/app_environment.h"
#include "platform/settings.h"
#include "schema/field_layout.h"
#include "text/fixed_ruler.h"
#include "text/preview_loader.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;
class QTreeView;

namespace quorlin {

class FieldListModel;
class PreviewGridModel;
class ProfileFile;
class RulerView;

class TfrmQuorlin : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfrmQuorlin(AppEnvironment environment, QWidget* parent = nullptr);
  ~TfrmQuorlin() override;

  // Window state that the other commands read.
  const std::string& InputPath() const { return inputPath_; }
  const std::string& EditorPath() const { return editorPath_; }
  const std::string& ProgramFolder() const { return programFolder_; }
  bool LayoutChanged() const { return layoutChanged_; }
  bool SoundsEnabled() const { return soundsEnabled_; }
  void MarkLayoutChanged() { layoutChanged_ = true; }
  // Offers to save unsaved layout changes; afterwards the layout counts as unchanged.
  void AskSaveChanges();

  // The file-level layout as the controls hold it.
  FileLayout CurrentLayout() const;
  const FieldList& Fields() const { return fields_; }
  const PreviewTable& Preview() const;
  int NumberingBase() const;
  // The folder selected in the tree, with a trailing "/" (empty when none is).
  std::string SelectedFolder() const;
  // The input box's text as a full path: as it is when it holds a folder, else in the
  // selected folder.
  std::string InputBoxPath() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Construction and layout (main_window.cpp).
  void BuildControls();
  QGroupBox* BuildFileInformation();
  QGroupBox* BuildFieldData();
  void ConnectControls();
  void ApplyResizeRule();
  // Up to eleven columns share the grid's width; with more each takes one eleventh.
  void FitGridColumns();
  // Runs one command; an error it raises is shown and the state reached so far stays.
  void RunCommand(const std::function<void()>& command);

  // Menus and the option items (main_window_menus.cpp).
  void BuildMenus();
  void ConnectMenus();
  void SetMenuCheck(QAction* chosen, std::initializer_list<QAction*> group);
  void mnuRowsClick(QAction* item, const char* rows);
  void mnuQualifierClick(const QString& qualifier);
  void mnuSeparatorClick(QAction* item, QRadioButton* button);
  void mnuHeaderRowClick();
  void mnuDefinedClick();
  void mnuODBCOnlyClick();
  void mnuCountFrom0Click();
  void mnuFixedLengthClick();
  void mnuSoundsClick();
  void mnuOpenLastClick();
  void mnuUseLastExportClick();
  void mnuSetEditorClick();
  void mnuAboutClick();
  void chkHeaderRowClick(bool checked);
  void chkODBCOnlyClick(bool checked);
  void optDelimitedClick(QRadioButton* button);
  void optFixedClick();

  // Start-up, shut-down and the window's own commands (main_window_commands.cpp).
  void StartUp();
  void ReopenLastFile(const OptionSettings& options);
  void OpenStartPath();
  void ShutDown();
  void SelectFolderInTree(const std::string& folder);
  void FolderChange();
  void ShowFolderFiles();
  void cmdBrowseClick();
  void lstFilesDblClick();
  void cmdRefreshClick();
  // Loads the input file into the view that the separator choice asks for, without questions.
  void LoadInputFile();
  void cmdViewDataClick();
  void cmdCloseClick();
  void ValidateNumberBox(QLineEdit* box);
  void PlayPresetAndWait(int tune);

  // Views (main_window_commands.cpp for the grid, main_window_ruler.cpp for the ruler).
  // Empties the break and field lists and shows the grid, or the ruler with its controls.
  void ShowViewControls(bool fixed);
  void SetDelimitedViewMode();
  void LoadPreviewFrom(const std::string& path);
  void MarkSelectedField(int index);
  void SetFixedViewMode();
  void DrawRuler(const std::string& path);
  // A press on the ruler's cell of `position`: sets or clears the break there.
  void ToggleBreak(int position);
  // The break list: one "Brk: " entry per set flag up to the line length, ascending.
  void RebuildBreakList();
  void RepaintBreaks();
  void OnFixedFieldDeleted(int index);

  // Field editor (main_window_fields.cpp).
  int SelectedFieldIndex() const;
  void SelectFieldRow(int index);
  void lvwFieldsClick();
  void luFieldTypeClick();
  void cmdAddClick();
  void cmdModifyClick();
  void cmdRemoveClick();
  void cmdUpClick();
  void cmdDownClick();
  void MoveSelectedField(int step);
  void ShowDateFormat(bool visible);
  bool IsFixedLayout() const;

  // Schema commands and the saved last layout (main_window_schema.cpp).
  void cmdSaveClick();
  void chkDefinedClick();
  void lstSchemaDblClick();
  void cmdSchemaDeleteClick();
  // Applies a saved section to the controls and reloads the view and the field list. False
  // when the section has no fields, which is reported unless `quietWhenEmpty`.
  bool SchemaFileReader(const ProfileFile& file, const std::string& section, bool quietWhenEmpty);
  // Restores the layout saved for the reopened last file: from the folder's schema file when
  // `fromSchema`, else from the settings file's LastFile section. False when nothing was read
  // and the file still needs loading.
  bool RestoreLastLayout(bool fromSchema);
  void WriteLastLayout();

  // The desktop's own way of opening a text file, used while no editor is set.
  static constexpr const char* kDefaultEditor = "xdg-open";

  AppEnvironment env_;
  std::string programFolder_;
  std::string inputPath_;
  std::string editorPath_;
  std::string listedFolder_;  // the folder whose files the file list shows
  bool layoutChanged_ = false;
  // The tree keeps the folder the program selected in sight until the user scrolls or clicks it.
  bool followChosenFolder_ = false;
  bool soundsEnabled_ = false;
  int quietSelection_ = 0;  // > 0 while the program itself moves the field list's selection

  FieldList fields_;
  FieldListModel* fieldModel_ = nullptr;
  PreviewGridModel* gridModel_ = nullptr;
  QFileSystemModel* folderModel_ = nullptr;
  BreakModel breaks_;
  int lineLength_ = 0;
  int charWidth_ = 0;

  // Controls, named as the user-interface names them.
  QGroupBox* gpInfo = nullptr;
  QTreeView* dirList = nullptr;
  QCheckBox* chkHeaderRow = nullptr;
  QRadioButton* optFixed = nullptr;
  QRadioButton* optSpace = nullptr;
  QRadioButton* optTab = nullptr;
  QRadioButton* optComma = nullptr;
  QRadioButton* optCustom = nullptr;
  QLineEdit* txtChar = nullptr;
  QLabel* lblFieldCount = nullptr;
  QLineEdit* txtFieldCount = nullptr;
  QLabel* lblLength = nullptr;
  QLineEdit* txtLength = nullptr;
  QLineEdit* txtStart = nullptr;
  QLineEdit* txtRows = nullptr;
  QComboBox* cboTextChar = nullptr;
  QPushButton* cmdViewData = nullptr;
  QPushButton* cmdRefresh = nullptr;
  QListWidget* lstLines = nullptr;
  QCheckBox* chkDefined = nullptr;
  QCheckBox* chkODBCOnly = nullptr;
  QListWidget* lstFiles = nullptr;
  QListWidget* lstSchema = nullptr;
  QGroupBox* gpFields = nullptr;
  QLineEdit* txtFieldName = nullptr;
  QComboBox* luFieldType = nullptr;
  QLineEdit* txtWidth = nullptr;
  QLabel* lblDateTime = nullptr;
  QComboBox* cboDateTime = nullptr;
  QPushButton* cmdAdd = nullptr;
  QPushButton* cmdModify = nullptr;
  QPushButton* cmdRemove = nullptr;
  QLineEdit* txtInputFile = nullptr;
  QPushButton* cmdBrowse = nullptr;
  QPushButton* cmdGuess = nullptr;
  QTreeView* lvwFields = nullptr;
  QPushButton* cmdUp = nullptr;
  QPushButton* cmdDown = nullptr;
  QTableView* grdData = nullptr;
  RulerView* pnlImg = nullptr;
  QPushButton* cmdSchemaDelete = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdClose = nullptr;

  QAction* mnuOpen = nullptr;
  QAction* mnuRefresh = nullptr;
  QAction* mnuGuess = nullptr;
  QAction* mnuSaveStructure = nullptr;
  QAction* mnuExport = nullptr;
  QAction* mnuPrintToFile = nullptr;
  QAction* mnuPrintToPrinter = nullptr;
  QAction* mnuTextDSN = nullptr;
  QAction* mnuExit = nullptr;
  QAction* mnuDefined = nullptr;
  QAction* mnuODBCOnly = nullptr;
  QAction* mnuCountFrom0 = nullptr;
  QAction* mnuHeaderRow = nullptr;
  QAction* mnuRows8 = nullptr;
  QAction* mnuRows15 = nullptr;
  QAction* mnuRows25 = nullptr;
  QAction* mnuQuoteDouble = nullptr;
  QAction* mnuQuoteSingle = nullptr;
  QAction* mnuQuoteNone = nullptr;
  QAction* mnuSepSpace = nullptr;
  QAction* mnuSepTab = nullptr;
  QAction* mnuSepComma = nullptr;
  QAction* mnuSepCustom = nullptr;
  QAction* mnuSepFixed = nullptr;
  QAction* mnuFixedLength = nullptr;
  QAction* mnuOpenLast = nullptr;
  QAction* mnuUseLastExport = nullptr;
  QAction* mnuSetEditor = nullptr;
  QAction* mnuSounds = nullptr;
  QAction* mnuContextHelp = nullptr;
  QAction* mnuAbout = nullptr;
  QAction* mnuCheckUpdates = nullptr;
};

}  // namespace quorlin
