#include "app/export_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "app/display_text.h"
#include "app/sound_effects.h"
#include "app/user_dialogs.h"
#include "app/window_placement.h"
#include "app/window_settings.h"
#include "export/export_choices.h"
#include "export/export_paths.h"
#include "export/export_writers.h"
#include "platform/file_error.h"
#include "platform/profile_file.h"
#include "schema/schema_reader.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr int kToneMs = 600;
constexpr int kCheckTone = 350;
constexpr int kCloseTune = 9;
constexpr int kCloseDelayUnits = 20;  // 20 millionths of a day

const char* const kQualifierItems[] = {"\"", "'", "{none}"};

QComboBox* QualifierBox(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  for (const char* item : kQualifierItems) box->addItem(item);
  return box;
}

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

// "Comma Separated (*.CSV,*.DAT)|*.CSV;*.DAT" in the file dialog's syntax, whose patterns
// stand in the last pair of brackets: "Comma Separated (*.CSV *.DAT)". The description's own
// list of patterns goes, or the dialog would show them twice.
QString DialogFilter(ExportFormat format) {
  const QString filter = QString::fromUtf8(FormatInfo(format).filter.data(),
                                           static_cast<int>(FormatInfo(format).filter.size()));
  const int bar = filter.indexOf('|');
  QString description = filter.left(bar).trimmed();
  if (description.endsWith(')') && description.contains('(')) {
    description = description.left(description.lastIndexOf('(')).trimmed();
  }
  return description + " (" + filter.mid(bar + 1).replace(';', ' ') + ")";
}

// Keeps the space of a control that only some formats show, so the dialog does not re-flow.
void HiddenKeepingPlace(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

QString FromBytes(std::string_view bytes) { return DisplayText(std::string(bytes)); }

}  // namespace

TfrmExportData::TfrmExportData(ExportDialogInputs inputs, UserDialogs& dialogs,
                               SoundEffects& sounds, QWidget* parent)
    : QDialog(parent), inputs_(std::move(inputs)), dialogs_(dialogs), sounds_(sounds) {
  setObjectName("frmExportData");
  setWindowTitle("Export Text File From....");
  BuildControls();
  RestorePlacementOver(inputs_.settingsPath, *this, parent);
  FormCreate();
}

void TfrmExportData::BuildControls() {
  auto* from = new QGroupBox("From....", this);
  lblFileToExport = Named(new QLabel(from), "lblFileToExport");
  chkHeaderRow = Named(new QCheckBox("Header Row?", from), "chkHeaderRow");
  optComma = Named(new QRadioButton("Comma", from), "optComma");
  optSpace = Named(new QRadioButton("Space", from), "optSpace");
  optTab = Named(new QRadioButton("Tab", from), "optTab");
  optCustom = Named(new QRadioButton("Custom", from), "optCustom");
  optFixed = Named(new QRadioButton("Fixed", from), "optFixed");
  optComma->setChecked(true);
  txtChar = Named(new QLineEdit(from), "txtChar");
  txtChar->setEnabled(false);
  txtChar->setMaxLength(1);
  cboTextChar = QualifierBox("cboTextChar", from);
  auto* fromLayout = new QGridLayout(from);
  fromLayout->addWidget(lblFileToExport, 0, 0, 1, 4);
  fromLayout->addWidget(chkHeaderRow, 1, 0);
  fromLayout->addWidget(optComma, 2, 0);
  fromLayout->addWidget(optSpace, 2, 1);
  fromLayout->addWidget(optTab, 2, 2);
  fromLayout->addWidget(optCustom, 3, 0);
  fromLayout->addWidget(txtChar, 3, 1);
  fromLayout->addWidget(optFixed, 3, 2);
  fromLayout->addWidget(new QLabel("Text Qualifier", from), 4, 0);
  fromLayout->addWidget(cboTextChar, 4, 1);
  for (QRadioButton* button : {optComma, optSpace, optTab, optCustom}) {
    connect(button, &QRadioButton::toggled, this, [this](bool on) {
      if (on) fixedInput_ = false;
    });
  }
  connect(optFixed, &QRadioButton::toggled, this, [this](bool on) {
    if (on) fixedInput_ = true;
  });

  auto* formats = Named(new QGroupBox("Other Formats", this), "gpExport");
  rgExport = new QButtonGroup(this);
  rgExport->setObjectName("rgExport");
  auto* formatLayout = new QVBoxLayout(formats);
  for (const ExportFormat format : kDialogFormatOrder) {
    const int index = FormatIndex(format);
    auto* item = new QRadioButton(FromBytes(FormatInfo(format).caption), formats);
    item->setObjectName(QString("rgExport%1").arg(index));
    rgExport->addButton(item, index);
    formatLayout->addWidget(item);
    formatItems_[static_cast<std::size_t>(index)] = item;
  }
  formatLayout->addStretch(1);
  connect(rgExport, &QButtonGroup::idClicked, this,
          [this](int index) { rgExportClick(FormatAtIndex(index)); });

  auto* to = new QGroupBox("Other Parameters", this);
  chkHeadInExport = Named(new QCheckBox("Include Header Row?", to), "chkHeadInExport");
  chkFields = Named(new QCheckBox("Include FIELD Names", to), "chkFields");
  chkFields->setChecked(true);
  txtOther = Named(new QLineEdit(to), "txtOther");
  txtOther->setMaxLength(1);
  cboQuoteOut = QualifierBox("cboQuoteOut", to);
  lblSchemaName = Named(new QLabel("Table / Schema Title", to), "lblSchemaName");
  txtSchemaName = Named(new QLineEdit(to), "txtSchemaName");
  chkSpecChars = Named(new QCheckBox("Translate Special Chars", to), "chkSpecChars");
  chkSpecChars->setChecked(true);
  txtSchemaName->installEventFilter(this);
  lblCompression = Named(new QLabel("Compression", to), "lblCompression");
  cboCompression = Named(new QComboBox(to), "cboCompression");
  cboCompression->addItems({"zstd", "snappy", "none"});
  lblRowsPerFile = Named(new QLabel("Rows per File", to), "lblRowsPerFile");
  spnRowsPerFile = Named(new QSpinBox(to), "spnRowsPerFile");
  spnRowsPerFile->setRange(0, INT_MAX);
  spnRowsPerFile->setSpecialValueText("One file");
  chkCurrencyDecimal = Named(new QCheckBox("Currency as DECIMAL(19,4)", to), "chkCurrencyDecimal");
  for (QWidget* control : std::initializer_list<QWidget*>{chkHeadInExport, chkFields, lblSchemaName, txtSchemaName,
                                                          chkSpecChars, lblCompression, cboCompression,
                                                          lblRowsPerFile, spnRowsPerFile, chkCurrencyDecimal}) {
    HiddenKeepingPlace(control);
  }
  // The label names the title of a page or a table: room for either caption.
  lblSchemaName->setMinimumWidth(std::max(lblSchemaName->fontMetrics().horizontalAdvance("Table / Schema Title"),
                                          lblSchemaName->fontMetrics().horizontalAdvance("Table Name")));
  auto* toLayout = new QGridLayout(to);
  toLayout->addWidget(chkHeadInExport, 0, 0);
  toLayout->addWidget(chkFields, 0, 1);
  toLayout->addWidget(new QLabel("Other Char", to), 1, 0);
  toLayout->addWidget(txtOther, 1, 1);
  toLayout->addWidget(new QLabel("Text Qualifier", to), 2, 0);
  toLayout->addWidget(cboQuoteOut, 2, 1);
  toLayout->addWidget(lblSchemaName, 3, 0);
  toLayout->addWidget(txtSchemaName, 3, 1);
  toLayout->addWidget(chkSpecChars, 4, 0, 1, 2);
  toLayout->addWidget(lblCompression, 5, 0);
  toLayout->addWidget(cboCompression, 5, 1);
  toLayout->addWidget(lblRowsPerFile, 6, 0);
  toLayout->addWidget(spnRowsPerFile, 6, 1);
  toLayout->addWidget(chkCurrencyDecimal, 7, 0, 1, 2);

  auto* target = new QGroupBox("To...", this);
  txtExportFile = Named(new QLineEdit(target), "txtExportFile");
  cmdExportTo = Named(new QPushButton("Browse....", target), "cmdExportTo");
  auto* targetLayout = new QHBoxLayout(target);
  targetLayout->addWidget(new QLabel("Export To...", target));
  targetLayout->addWidget(txtExportFile, 1);
  targetLayout->addWidget(cmdExportTo);

  pgb = Named(new QProgressBar(this), "pgb");
  pgb->setRange(0, 100);
  pgb->setValue(0);
  cmdExport = Named(new QPushButton("&Export", this), "cmdExport");
  cmdClose = Named(new QPushButton("&Close", this), "cmdClose");
  const auto command = [this](void (TfrmExportData::*method)()) {
    return [this, method] {
      try {
        (this->*method)();
      } catch (const std::exception& error) {
        // The general error report: the failure names itself, the dialog stays open.
        dialogs_.ShowError(DisplayText(error.what()));
      }
    };
  };
  connect(cmdExportTo, &QPushButton::clicked, this, command(&TfrmExportData::cmdExportToClick));
  connect(cmdExport, &QPushButton::clicked, this, command(&TfrmExportData::cmdExportClick));
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pgb, 1);
  buttons->addWidget(cmdExport);
  buttons->addWidget(cmdClose);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(from);
  left->addWidget(to);
  columns->addLayout(left, 1);
  columns->addWidget(formats);
  auto* layout = new QVBoxLayout(this);
  // Height the dialog gains goes to the option boxes, never to the file box below them.
  layout->addLayout(columns, 1);
  layout->addWidget(target);
  layout->addLayout(buttons);
}

void TfrmExportData::FormCreate() {
  fixedInput_ = false;
  lblFileToExport->setText(inputs_.inputBoxText);
  chkHeaderRow->setChecked(inputs_.layout.hasHeaderRow);
  switch (inputs_.layout.separator) {
    case SeparatorKind::Space: optSpace->setChecked(true); break;
    case SeparatorKind::Tab: optTab->setChecked(true); break;
    case SeparatorKind::Comma: optComma->setChecked(true); break;
    case SeparatorKind::Fixed:
      fixedInput_ = true;
      optFixed->setChecked(true);
      break;
    case SeparatorKind::Custom:
      optCustom->setChecked(true);
      txtChar->setText(DisplayText(inputs_.layout.customSeparator));
      break;
  }
  cboTextChar->setEditText(DisplayText(inputs_.layout.textQualifier));

  if (!inputs_.useLastExport) {
    txtExportFile->setText(inputs_.inputBoxText);
    SelectFormat(ExportFormat::CommaDelimited);
    return;
  }
  const ExportSettings saved = LoadSettings(ProfileFile(inputs_.settingsPath)).exports;
  SelectFormat(FormatAtIndex(saved.formatIndex));
  rgExportClick(format_);
  chkHeadInExport->setChecked(saved.includeHeaderRow);
  chkFields->setChecked(saved.includeFieldNames);
  txtSchemaName->setText(DisplayText(saved.title));
  txtExportFile->setText(DisplayText(saved.fileName));
  txtOther->setText(DisplayText(saved.customChar));
  cboQuoteOut->setEditText(DisplayText(saved.quoteChar));
  // A codec the box does not offer leaves its first, as a garbled key should.
  const int codec = cboCompression->findText(QString::fromStdString(saved.compression));
  if (codec >= 0) cboCompression->setCurrentIndex(codec);
  spnRowsPerFile->setValue(saved.rowsPerFile);
  chkCurrencyDecimal->setChecked(saved.currencyAsDecimal);
}

void TfrmExportData::SelectFormat(ExportFormat format) {
  formatItems_[static_cast<std::size_t>(FormatIndex(format))]->setChecked(true);
  rgExportClick(format);
}

void TfrmExportData::rgExportClick(ExportFormat format) {
  lblSchemaName->setVisible(false);
  txtSchemaName->setVisible(false);
  chkSpecChars->setVisible(false);
  ShowColumnarOptions(false);
  txtOther->setEnabled(false);
  cboQuoteOut->setEnabled(true);
  format_ = format;

  const auto show = [](QCheckBox* box, bool visible, bool enabled) {
    box->setVisible(visible);
    box->setEnabled(enabled);
  };
  switch (format) {
    case ExportFormat::CommaDelimited:
    case ExportFormat::SpaceDelimited:
    case ExportFormat::TabDelimited:
    case ExportFormat::Excel:
    case ExportFormat::Xlsx:
      show(chkHeadInExport, true, true);
      show(chkFields, true, true);
      chkFields->setChecked(true);
      break;
    case ExportFormat::OtherDelimiter:
      txtOther->setEnabled(true);
      break;
    case ExportFormat::XBase:
    case ExportFormat::Paradox:
    case ExportFormat::JsonLines:
      for (QCheckBox* box : {chkHeadInExport, chkFields}) {
        show(box, false, false);
        box->setChecked(false);
      }
      break;
    case ExportFormat::Parquet:
      // Columns are always named and the header line never becomes a row.
      for (QCheckBox* box : {chkHeadInExport, chkFields}) {
        show(box, false, false);
        box->setChecked(false);
      }
      cboQuoteOut->setEnabled(false);
      ShowColumnarOptions(true);
      break;
    case ExportFormat::HtmlTable:
    case ExportFormat::Xml:
      show(chkHeadInExport, true, true);
      show(chkFields, true, true);
      lblSchemaName->setText("Table / Schema Title");
      lblSchemaName->setVisible(true);
      txtSchemaName->setVisible(true);
      chkSpecChars->setVisible(true);
      break;
    case ExportFormat::SqlSchema:
      show(chkHeadInExport, false, false);
      show(chkFields, true, false);
      chkFields->setChecked(true);
      lblSchemaName->setText("Table Name");
      lblSchemaName->setVisible(true);
      txtSchemaName->setVisible(true);
      break;
  }
  if (!txtExportFile->text().isEmpty()) {
    txtExportFile->setText(
        DisplayText(WithFormatExtension(PathBytes(txtExportFile->text()), format)));
  }
}

bool TfrmExportData::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtSchemaName && event->type() == QEvent::FocusOut) txtSchemaNameExit();
  return QDialog::eventFilter(watched, event);
}

void TfrmExportData::txtSchemaNameExit() {
  txtSchemaName->setText(txtSchemaName->text().replace(' ', '_'));
}

void TfrmExportData::cmdExportToClick() {
  const ExportFormatInfo& info = FormatInfo(format_);
  FileDialogRequest request;
  request.title = "Enter / Select Destination File Name";
  request.filter = DialogFilter(format_);
  request.initialFile = DisplayText(OutputPath());
  request.mustExist = false;
  request.defaultSuffix = FromBytes(info.defaultExtension);
  const FileChoice choice = dialogs_.ChooseSaveFile(request);
  if (!choice.accepted) return;
  if (QFileInfo::exists(choice.fileName)) {
    Tone(500);
    if (!dialogs_.Ask("File Exists.  Overwrite?", "OUTPUT FILE EXISTS", false)) return;
  }
  txtExportFile->setText(choice.fileName);
}

std::string TfrmExportData::OutputPath() const {
  const std::string typed = PathBytes(txtExportFile->text());
  if (typed.empty() || typed.front() == '/') return typed;
  return FolderOf(AbsoluteFilePath(inputs_.inputPath)) + typed;
}

std::string TfrmExportData::InputSeparator() const {
  if (optSpace->isChecked()) return " ";
  if (optTab->isChecked()) return "\t";
  if (optComma->isChecked()) return ",";
  if (optFixed->isChecked()) return "";
  return InputCharacterText(txtChar->text());
}

void TfrmExportData::cmdExportClick() {
  ExportChoices choices;
  choices.format = format_;
  choices.inputPath = inputs_.inputPath;
  choices.outputPath = Trim(PathBytes(txtExportFile->text())).empty() ? "" : OutputPath();
  choices.inputSeparator = InputSeparator();
  choices.fixedInput = fixedInput_;
  choices.characterSet = inputs_.layout.characterSet;
  choices.inputQualifierBox = InputCharacterText(cboTextChar->currentText());
  choices.hasHeaderRow = chkHeaderRow->isChecked();
  choices.includeHeaderRow = chkHeadInExport->isChecked();
  choices.includeFieldNames = chkFields->isChecked();
  choices.title = TitleFromBox(txtSchemaName->text().toStdString());
  choices.translateSpecialChars = chkSpecChars->isChecked();
  choices.otherChar = CharacterBoxBytes(txtOther->text());
  choices.outputQualifierBox = CharacterBoxBytes(cboQuoteOut->currentText());
  choices.rowsPerFile = spnRowsPerFile->value();
  choices.compression = Compression();
  choices.currencyAsDecimal = chkCurrencyDecimal->isChecked();

  ExportContext context{CurrentDateTime(), inputs_.locale, SystemMonthNames()};
  auto prepared = PrepareExport(choices, context);
  if (const auto* failure = std::get_if<ExportCheckFailure>(&prepared)) {
    Tone(kCheckTone);
    dialogs_.Inform(DisplayText(failure->message));
    return;
  }
  ExportRequest& request = std::get<ExportRequest>(prepared);
  request.progress = [this](std::int64_t position, std::int64_t maximum) {
    ShowProgress(position, maximum);
  };
  const ExportResult result = ExportFile(request);
  // Enter after the result boxes must not write the same file again.
  cmdClose->setFocus(Qt::OtherFocusReason);
  for (const std::string& message : result.messages) dialogs_.Inform(DisplayText(message));
  if (result.outcome == ExportOutcome::Refused) return;
  Tone(result.Exported() ? 600 : 400);
  dialogs_.Inform(ResultMessage(result));
  if (WarnsAfter(format_, result)) {
    Tone(700);
    dialogs_.Warn(kExportWarningMessage);
  }
}

void TfrmExportData::ShowColumnarOptions(bool visible) {
  for (QWidget* control : std::initializer_list<QWidget*>{lblCompression, cboCompression, lblRowsPerFile,
                                                          spnRowsPerFile, chkCurrencyDecimal}) {
    control->setVisible(visible);
  }
}

OutputCompression TfrmExportData::Compression() const {
  const QString chosen = cboCompression->currentText();
  if (chosen == "none") return OutputCompression::None;
  return chosen == "snappy" ? OutputCompression::Snappy : OutputCompression::Zstd;
}

void TfrmExportData::ShowProgress(std::int64_t position, std::int64_t maximum) {
  // Moving the bar costs far more than a record does, so it moves in steps of a thousandth.
  if (position != 0 && position < maximum && position < nextShown_) return;
  nextShown_ = position + std::max<std::int64_t>(1, maximum / 1000);
  // The bar holds ints; a count beyond them is shown in proportion.
  const std::int64_t scale = maximum / INT_MAX + 1;
  pgb->setRange(0, static_cast<int>(maximum / scale));
  pgb->setValue(static_cast<int>(position / scale));
  // The bar is painted now and then without handling input, so no click can start another
  // command in the middle of this one.
  if (!sincePaint_.isValid() || sincePaint_.elapsed() >= 100 || position == maximum) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sincePaint_.start();
  }
}

void TfrmExportData::Tone(int hz) {
  if (inputs_.soundsEnabled) sounds_.PlayTone(hz, kToneMs);
}

void TfrmExportData::done(int result) {
  if (!closed_) {
    closed_ = true;
    try {
      FormClose();
    } catch (const std::exception& error) {
      dialogs_.ShowError(DisplayText(error.what()));
    }
  }
  QDialog::done(result);
}

void TfrmExportData::FormClose() {
  if (inputs_.soundsEnabled) {
    sounds_.PlayPreset(kCloseTune);
    sounds_.Delay(kCloseDelayUnits);
  }
  ExportSettings settings;
  settings.formatIndex = FormatIndex(format_);
  settings.includeHeaderRow = chkHeadInExport->isChecked();
  settings.includeFieldNames = chkFields->isChecked();
  settings.title = txtSchemaName->text().toStdString();
  settings.fileName = PathBytes(txtExportFile->text());
  settings.customChar = CharacterBoxBytes(txtOther->text());
  settings.quoteChar = CharacterBoxBytes(cboQuoteOut->currentText());
  settings.compression = cboCompression->currentText().toStdString();
  settings.rowsPerFile = spnRowsPerFile->value();
  settings.currencyAsDecimal = chkCurrencyDecimal->isChecked();
  ProfileFile file(inputs_.settingsPath);
  SaveExportSettings(file, settings);
  SavePlacement(inputs_.settingsPath, *this);
}

}  // namespace quorlin
