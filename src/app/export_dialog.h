// The export dialog: how the input is cut, which format is written where, and the export itself.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <array>
#include <string>

#include "export/export_format.h"
#include "export/export_request.h"
#include "platform/locale_settings.h"
#include "schema/field_layout.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace quorlin {

class SoundEffects;
class UserDialogs;

// What the main window hands the dialog when it opens it.
struct ExportDialogInputs {
  std::string inputPath;   // full path of the file to export
  QString inputBoxText;    // the main window's input file box, as shown
  FileLayout layout;       // the main window's separator, qualifier and header row
  bool useLastExport = false;  // "Use  Last E&XPORT File" is checked
  std::string settingsPath;
  bool soundsEnabled = false;
  LocaleSettings locale;
};

class TfrmExportData : public QDialog {
  Q_OBJECT

 public:
  TfrmExportData(ExportDialogInputs inputs, UserDialogs& dialogs, SoundEffects& sounds,
                 QWidget* parent = nullptr);

  ExportFormat Format() const { return format_; }

 protected:
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void FormCreate();
  // Selects the format's radio item and runs its click.
  void SelectFormat(ExportFormat format);
  void rgExportClick(ExportFormat format);
  void cmdExportToClick();
  void cmdExportClick();
  void txtSchemaNameExit();
  void FormClose();
  void Tone(int hz);
  // The output box as a path; a name without a folder lies beside the input file.
  std::string OutputPath() const;
  std::string InputSeparator() const;
  void ShowProgress(std::int64_t position, std::int64_t maximum);
  void ShowColumnarOptions(bool visible);
  OutputCompression Compression() const;

  ExportDialogInputs inputs_;
  UserDialogs& dialogs_;
  SoundEffects& sounds_;
  ExportFormat format_ = ExportFormat::CommaDelimited;
  bool fixedInput_ = false;
  bool closed_ = false;
  QElapsedTimer sincePaint_;    // since the progress bar was last painted
  std::int64_t nextShown_ = 0;  // the position at which the bar moves again

  QLabel* lblFileToExport = nullptr;
  QCheckBox* chkHeaderRow = nullptr;
  QRadioButton* optComma = nullptr;
  QRadioButton* optSpace = nullptr;
  QRadioButton* optTab = nullptr;
  QRadioButton* optCustom = nullptr;
  QRadioButton* optFixed = nullptr;
  QLineEdit* txtChar = nullptr;
  QComboBox* cboTextChar = nullptr;
  QCheckBox* chkHeadInExport = nullptr;
  QCheckBox* chkFields = nullptr;
  QButtonGroup* rgExport = nullptr;
  std::array<QRadioButton*, kExportFormatCount> formatItems_{};
  QLineEdit* txtOther = nullptr;
  QComboBox* cboQuoteOut = nullptr;
  QLabel* lblSchemaName = nullptr;
  QLineEdit* txtSchemaName = nullptr;
  QCheckBox* chkSpecChars = nullptr;
  QLabel* lblCompression = nullptr;
  QComboBox* cboCompression = nullptr;
  QLabel* lblRowsPerFile = nullptr;
  QSpinBox* spnRowsPerFile = nullptr;
  QCheckBox* chkCurrencyDecimal = nullptr;
  QLineEdit* txtExportFile = nullptr;
  QPushButton* cmdExportTo = nullptr;
  QProgressBar* pgb = nullptr;
  QPushButton* cmdExport = nullptr;
  QPushButton* cmdClose = nullptr;
};

}  // namespace quorlin
