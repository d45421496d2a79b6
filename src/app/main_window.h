// The main window: folder and file choice, the preview, the field layout and every command.
#pragma once

#include <QMainWindow>
#include <functional>
#include <string>

#include "app/app_environment.h"
#include "app/window_settings.h"
#include "schema/open_file.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QFileSystemWatcher;
class QTimer;
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
class RulerView;

class TfrmQuorlin : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfrmQuorlin(AppEnvironment environment, QWidget* parent = nullptr);
  ~TfrmQuorlin() override;

  // The open file the window shows; the other windows and commands read it here.
  const OpenFile& File() const { return file_; }
  const std::string& InputPath() const { return file_.InputPath(); }
  bool LayoutChanged() const { return file_.LayoutChanged(); }
  const FieldList& Fields() const { return file_.Fields(); }
  const std::string& EditorPath() const { return editorPath_; }
  const std::string& ProgramFolder() const { return programFolder_; }
  bool SoundsEnabled() const { return soundsEnabled_; }
  void MarkLayoutChanged() { file_.MarkLayoutChanged(); }
  // Offers to save unsaved layout changes; afterwards the layout counts as unchanged.
  void AskSaveChanges();
  // The folder selected in the tree, with a trailing "/" (empty when none is).
  std::string SelectedFolder() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A file or folder dragged from the file manager opens as if named on the command line.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Construction and layout (main_window.cpp).
  void BuildControls();
  QGroupBox* BuildFileInformation();
  QGroupBox* BuildFieldData();
  void ConnectControls();
  void ConnectLayoutBoxes();
  void ApplyResizeRule();
  // Up to eleven columns share the grid's width; with more each takes one eleventh.
  void FitGridColumns();
  // Runs one command and shows what it changed; an error it raises is shown and the state
  // reached so far stays.
  void RunCommand(const std::function<void()>& command);

  // Showing the open file (main_window_view.cpp): each part is shown anew only when it changed.
  void ShowModel();
  void ShowFile();
  void ShowLayout();
  void ShowSeparator();
  void ShowView();
  void ShowPreview();
  void ShowRuler();
  void ShowBreaks();
  void ShowFields();
  // The selected field in the list and in the editor, and its column in the grid.
  void ShowSelection();
  void SelectFieldRow(int index);
  void ShowDateFormat(bool visible);
  // Says what the preview or the ruler left out of the file.
  void InformOfCuts();

  // Menus and the option items (main_window_menus.cpp).
  void BuildMenus();
  void ConnectMenus();
  void SetMenuCheck(QAction* chosen, std::initializer_list<QAction*> group);
  void mnuRowsClick(QAction* item, const char* rows);
  void mnuQualifierClick(const char* qualifier);
  void mnuSeparatorClick(QAction* item, QRadioButton* button);
  void mnuHeaderRowClick();
  void mnuDefinedClick();
  void mnuODBCOnlyClick();
  void mnuCountFrom0Click();
  void mnuFixedLengthClick();
  void mnuSoundsClick();
  void mnuOpenLastClick();
  void mnuUseLastExportClick();
  // Export (main_window_export.cpp).
  void mnuExportClick();
  void mnuSetEditorClick();
  void mnuAboutClick();
  void mnuUpdateCheckClick();
  // The ODBC availability check, then the DSN dialog for the selected folder (main_window_dsn.cpp).
  void mnuTestDSNClick();
  void chkHeaderRowClick(bool checked);
  void cboCharacterSetChange(const QString& name);
  void chkODBCOnlyClick(bool checked);
  // The ODBC-only option, shown by its check box and its menu item alike.
  void SetOdbcOnly(bool on);
  void optDelimitedClick(SeparatorKind kind);
  void optFixedClick();

  // Start-up, shut-down and the window's own commands (main_window_commands.cpp).
  void StartUp();
  void ReopenLastFile(const OptionSettings& options);
  void OpenStartPath();
  void OpenPath(const std::string& given);
  void ShutDown();
  void SelectFolderInTree(const std::string& folder);
  void FolderChange();
  // Lists the folder's files and watches the folder for files that come and go.
  void ShowFolderFiles();
  void RefreshFolderFiles();
  void cmdBrowseClick();
  void lstFilesDblClick();
  void cmdRefreshClick();
  void cmdViewDataClick();
  void cmdCloseClick();
  void ValidateNumberBox(QLineEdit* box);
  void PlayPresetAndWait(int tune);

  // Field editor and ruler marks (main_window_fields.cpp).
  int SelectedFieldIndex() const;
  FieldEdit EditorBoxes() const;
  void lvwFieldsClick();
  void luFieldTypeClick();
  void cmdAddClick();
  void cmdModifyClick();
  void cmdRemoveClick();
  void cmdUpClick();
  void cmdDownClick();
  void ToggleBreak(int position);
  // Guess Field Types and "&Guess Structure".
  void cmdGuessClick();

  // Print Structure (main_window_report.cpp).
  std::string StructureReportText() const;
  void mnuPrintToFileClick();
  void mnuPrintToPrinterClick();

  // Schema commands and the saved last layout (main_window_schema.cpp).
  void cmdSaveClick();
  void chkDefinedClick(bool checked);
  void SetSchemaListShown(bool shown);
  void ShowChosenFileList();
  void lstSchemaDblClick();
  void cmdSchemaDeleteClick();
  // Opens the input file with the layout saved as `section` of `schema`, with the messages of
  // a section without fields.
  void OpenSavedLayout(const ProfileFile& schema, const std::string& section);
  void WriteLastLayout();

  // The window's file dialog: Browse, and Print Structure To File with the same title and filter.
  static constexpr const char* kInputFileTitle = "Select your Input File";
  static constexpr const char* kInputFileFilter =
      "Text Files (*.asc *.txt *.csv *.dat *.log *.tab);;All Files (*)";
  // The desktop's own way of opening a text file, used while no editor is set.
  static constexpr const char* kDefaultEditor = "xdg-open";

  AppEnvironment env_;
  OpenFile file_;
  ModelRevisions shown_;  // the parts of file_ the controls show
  SeparatorKind shownSeparator_ = SeparatorKind::Comma;
  std::string programFolder_;
  std::string editorPath_;
  // The tree keeps the folder the program selected in sight until the user scrolls or clicks it.
  bool followChosenFolder_ = false;
  // The options the window shows in its menus and check boxes; the controls only show them.
  bool soundsEnabled_ = false;
  bool odbcOnly_ = true;
  bool schemaListShown_ = false;  // the "Schema" box: the folder's schema sections listed in place of its files
  bool openLastFile_ = false;
  bool useLastExport_ = false;
  std::string defaultLineLength_ = OptionSettings{}.fixedLength;  // what a rejected line length box returns to
  bool closingTunePlaying_ = false;  // Close waits for its tune before the window closes
  int quietSelection_ = 0;  // > 0 while the program itself moves the field list's selection

  FieldListModel* fieldModel_ = nullptr;
  PreviewGridModel* gridModel_ = nullptr;
  QFileSystemModel* folderModel_ = nullptr;
  QFileSystemWatcher* folderWatcher_ = nullptr;  // the folder whose files the list shows
  QTimer* filesChanged_ = nullptr;  // one refresh for a burst of changes, as while a file is written

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
  QComboBox* cboDateOrder = nullptr;
  QComboBox* cboDecimal = nullptr;
  QComboBox* cboCharacterSet = nullptr;
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
