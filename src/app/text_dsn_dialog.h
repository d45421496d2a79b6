// The "Test Text DSN" window: adds, reconfigures and removes the folder's text data source and
// opens one of its tables through it.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "odbc/data_source_files.h"
#include "odbc/text_dsn_commands.h"
#include "odbc/text_dsn_creator.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace quorlin {

class Launcher;
class SoundEffects;
class TableRowsModel;
class UserDialogs;

inline constexpr const char* kNoFolderMessage = "No Folder Selected.  Cannot Continue";
inline constexpr const char* kTableOpenedMessage = "Table Opened";
inline constexpr const char* kOpenFailedMessage = "OLE Error - Opening Help File..";

struct TextDsnDialogSettings {
  bool soundsEnabled = false;
  std::string homeFolder;  // where the component's data folder starts, ends with "/"
  DsnScope scope = DsnScope::System;  // which odbc.ini the data sources go to
};

class TfrmTestTextDSN : public QDialog {
  Q_OBJECT

 public:
  // `folder` is the main window's selected folder; empty when none is selected.
  TfrmTestTextDSN(const std::string& folder, TextDsnDialogSettings settings, UserDialogs& dialogs,
                  SoundEffects& sounds, Launcher& launcher, QWidget* parent = nullptr);
  ~TfrmTestTextDSN() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void BuildControls();
  void FormShow();
  void dsnNameBoxExit();
  void btnAddClick();
  void btnConfigureClick();
  void btnRemoveClick();
  void btnOpenTableClick();
  // Shows the component's refusals; after a success runs `refresh` under the hourglass; then
  // the tone and the message of the outcome.
  void Report(const TextDsnOutcome& outcome, const std::function<void()>& refresh);
  // The boxes as the DSN commands take them; the name box's blanks become "_" first.
  TextDsnRequest Request();
  void RebuildTableList();
  // Opens the table through the data source; false when that failed.
  bool OpenTable();
  void CloseTable();
  // A 600 Hz tone after success, 400 Hz after failure, when sounds are on.
  void Tone(bool success);

  std::string folder_;
  TextDsnDialogSettings settings_;
  UserDialogs& dialogs_;
  SoundEffects& sounds_;
  Launcher& launcher_;
  TextDsnCreator dsnCreator_;
  std::string tableConnection_;  // the data source the table opens through
  std::string tableName_;
  QString databaseName_;  // this window's Qt database connection
  TableRowsModel* rows_ = nullptr;

  QLineEdit* dsnNameBox = nullptr;
  QLineEdit* descriptionBox = nullptr;
  QLineEdit* extensionsBox = nullptr;
  QListWidget* lstSchema = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnConfigure = nullptr;
  QPushButton* btnRemove = nullptr;
  QPushButton* btnOpenTable = nullptr;
  QPushButton* cmdClose = nullptr;
  QTableView* tableGrid = nullptr;
};

}  // namespace quorlin
