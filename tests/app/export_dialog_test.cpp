// The export dialog driven through its controls, with every box and tone it gives.
#include <algorithm>

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <map>
#include <memory>

#include "app/export_dialog.h"
#include "app/scripted_dialogs.h"
#include "export/export_result.h"
#include "platform/profile_file.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

constexpr const char* kPeople = "Name,Born\r\nAnn,01/02/2000\r\nBo,x\r\n";
constexpr const char* kSchema =
    "[people.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=Name Char WIDTH 10\r\n"
    "Col2=Born Date\r\n";

class ExportDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(data.File("people.csv"), kPeople);
    WriteBytes(data.File("Schema.INI"), kSchema);
    inputs.inputPath = data.File("people.csv");
    inputs.inputBoxText = "people.csv";
    inputs.layout.hasHeaderRow = true;
    inputs.settingsPath = program.File("Quorlin.INI");
    inputs.soundsEnabled = true;
  }
  void TearDown() override {
    dialog.reset();
    EXPECT_EQ(0u, dialogs.Pending()) << "scripted boxes that never came";
  }

  void Open() { dialog = std::make_unique<TfrmExportData>(inputs, dialogs, sounds); }

  template <typename W>
  W* Find(const char* name) {
    W* widget = dialog->findChild<W*>(name);
    if (widget == nullptr) ADD_FAILURE() << "no " << name;
    return widget;
  }
  void ChooseFormat(int index) {
    Find<QRadioButton>(("rgExport" + std::to_string(index)).c_str())->click();
  }
  void Click(const char* button) { Find<QPushButton>(button)->click(); }
  bool Shown(QWidget* widget) { return widget->isVisibleTo(dialog.get()); }
  QLineEdit* Box(const char* name) { return Find<QLineEdit>(name); }
  QCheckBox* Check(const char* name) { return Find<QCheckBox>(name); }
  // Presses "&Export" and gives the texts of the boxes it showed.
  std::vector<QString> Export() {
    dialogs.Forget();
    sounds.tones.clear();
    Click("cmdExport");
    return dialogs.Texts();
  }

  TempDir data;
  TempDir program;
  ExportDialogInputs inputs;
  ScriptedDialogs dialogs;
  RecordedSounds sounds;
  std::unique_ptr<TfrmExportData> dialog;
};

TEST_F(ExportDialogTest, OpensWithTheMainWindowsInputSettingsAndACsvName) {
  inputs.layout.separator = SeparatorKind::Custom;
  inputs.layout.customSeparator = ";";
  inputs.layout.textQualifier = "'";
  Open();
  EXPECT_EQ("Export Text File From....", dialog->windowTitle());
  EXPECT_EQ("people.csv", Find<QLabel>("lblFileToExport")->text());
  EXPECT_TRUE(Check("chkHeaderRow")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("optCustom")->isChecked());
  EXPECT_EQ(";", Box("txtChar")->text());
  EXPECT_FALSE(Box("txtChar")->isEnabled());
  EXPECT_EQ("'", Find<QComboBox>("cboTextChar")->currentText());
  EXPECT_TRUE(Find<QRadioButton>("rgExport0")->isChecked());
  EXPECT_EQ("people.CSV", Box("txtExportFile")->text());
  EXPECT_FALSE(Check("chkHeadInExport")->isChecked());
  EXPECT_TRUE(Check("chkFields")->isChecked());
  EXPECT_EQ(100, Find<QProgressBar>("pgb")->maximum());
}

TEST_F(ExportDialogTest, EachFormatSetsItsControlsAndTheExtension) {
  Open();
  const struct {
    int index;
    const char* file;
    bool headerShown, headerEnabled, fieldsShown, fieldsEnabled, fieldsChecked;
    bool otherEnabled;
    const char* title;  // empty: title hidden
    bool specChars;
  } cases[] = {
      {6, "people.XLS", true, true, true, true, true, false, "", false},
      {4, "people.DBF", false, false, false, false, false, false, "", false},
      {3, "people.TXT", false, false, false, false, false, true, "", false},
      {7, "people.HTM", true, true, true, true, false, false, "Table / Schema Title", true},
      {9, "people.SQL", false, false, true, false, true, false, "Table Name", false},
      {8, "people.XML", true, true, true, true, true, false, "Table / Schema Title", true},
      {2, "people.TAB", true, true, true, true, true, false, "", false},
  };
  for (const auto& c : cases) {
    ChooseFormat(c.index);
    SCOPED_TRACE(c.index);
    EXPECT_EQ(c.file, Box("txtExportFile")->text());
    EXPECT_EQ(c.headerShown, Shown(Check("chkHeadInExport")));
    EXPECT_EQ(c.headerEnabled, Check("chkHeadInExport")->isEnabled());
    EXPECT_EQ(c.fieldsShown, Shown(Check("chkFields")));
    EXPECT_EQ(c.fieldsEnabled, Check("chkFields")->isEnabled());
    EXPECT_EQ(c.fieldsChecked, Check("chkFields")->isChecked());
    EXPECT_EQ(c.otherEnabled, Box("txtOther")->isEnabled());
    EXPECT_EQ(std::string(c.title).empty(), !Shown(Box("txtSchemaName")));
    if (*c.title) {
      EXPECT_EQ(c.title, Find<QLabel>("lblSchemaName")->text());
    }
    EXPECT_EQ(c.specChars, Shown(Check("chkSpecChars")));
  }
  Box("txtExportFile")->setText("list");
  ChooseFormat(6);
  EXPECT_EQ("list.XLS", Box("txtExportFile")->text());
}

TEST_F(ExportDialogTest, BrowseAsksBeforeTakingAnExistingFile) {
  Open();
  ChooseFormat(9);
  const QString existing = QString::fromStdString(data.File("people.csv"));
  dialogs.ExpectSaveFile(true, existing);
  dialogs.Expect(BoxKind::Ask, false);
  Click("cmdExportTo");
  EXPECT_EQ("people.SQL", Box("txtExportFile")->text());
  const RecordedBox& save = dialogs.Boxes()[0];
  EXPECT_EQ("Enter / Select Destination File Name", save.request.title);
  EXPECT_EQ("SQL Script Files (*.SQL *.QRY)", save.request.filter);
  EXPECT_EQ("SQL", save.request.defaultSuffix);
  EXPECT_EQ(QString::fromStdString(data.File("people.SQL")), save.request.initialFile);
  const RecordedBox& ask = dialogs.Boxes()[1];
  EXPECT_EQ("File Exists.  Overwrite?", ask.text);
  EXPECT_EQ("OUTPUT FILE EXISTS", ask.caption);
  EXPECT_FALSE(ask.defaultYes);
  EXPECT_EQ((std::vector<Tone>{{500, 600}}), sounds.tones);

  dialogs.ExpectSaveFile(true, existing);
  dialogs.Expect(BoxKind::Ask, true);
  Click("cmdExportTo");
  EXPECT_EQ(existing, Box("txtExportFile")->text());

  const QString fresh = QString::fromStdString(data.File("new.SQL"));
  dialogs.ExpectSaveFile(true, fresh);
  Click("cmdExportTo");
  EXPECT_EQ(fresh, Box("txtExportFile")->text());
  dialogs.ExpectSaveFile(false);
  Click("cmdExportTo");
  EXPECT_EQ(fresh, Box("txtExportFile")->text());
}

TEST_F(ExportDialogTest, ChecksStopTheExportWithTheirMessageAndTone) {
  Open();
  Box("txtExportFile")->clear();
  dialogs.Expect(BoxKind::Inform);
  EXPECT_EQ(std::vector<QString>{"No Output File Specified"}, Export());
  EXPECT_EQ((std::vector<Tone>{{350, 600}}), sounds.tones);

  Box("txtExportFile")->setText("people.sql");
  ChooseFormat(9);
  dialogs.Expect(BoxKind::Inform);
  EXPECT_EQ(std::vector<QString>{"No Schema/Template Name Specified"}, Export());

  WriteBytes(data.File("Schema.INI"), "[other.csv]\r\nCol1=a Char\r\n");
  ChooseFormat(0);
  dialogs.Expect(BoxKind::Inform);
  EXPECT_EQ(std::vector<QString>{"Fields not found in Schema.INI\nmake sure you:\n  1.  Defined "
                                 "each field\n  2.  Saved the Structure\n\nThen try again"},
            Export());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(data.File("people.CSV"))));
}

TEST_F(ExportDialogTest, OffersTheXlsxWorkbookBesideExcel97AndWritesIt) {
  Open();
  QList<QRadioButton*> items = Find<QGroupBox>("gpExport")->findChildren<QRadioButton*>();
  const auto excel97 = std::find_if(items.begin(), items.end(),
                                    [](QRadioButton* item) { return item->objectName() == "rgExport6"; });
  ASSERT_NE(items.end(), excel97);
  ASSERT_NE(items.end(), excel97 + 1);
  EXPECT_EQ("rgExport11", (*(excel97 + 1))->objectName());
  ChooseFormat(11);
  EXPECT_EQ("people.xlsx", Box("txtExportFile")->text());
  EXPECT_TRUE(Shown(Check("chkFields")));
  dialogs.Expect(BoxKind::Inform);
  EXPECT_EQ(std::vector<QString>{"File  Successfully Exported"}, Export());
  EXPECT_TRUE(ReadBytes(data.File("people.xlsx")).starts_with("PK"));
}

TEST_F(ExportDialogTest, ExportsBesideTheInputAndReportsTheResult) {
  Open();
  dialogs.Expect(BoxKind::Inform);
  EXPECT_EQ(std::vector<QString>{"File  Successfully Exported"}, Export());
  EXPECT_EQ((std::vector<Tone>{{600, 600}}), sounds.tones);
  EXPECT_SAME_BYTES("Name,Born\r\nAnn,01/02/2000\r\nBo,x\r\n", ReadBytes(data.File("people.CSV")));
  EXPECT_EQ(2, Find<QProgressBar>("pgb")->value());
  EXPECT_EQ(2, Find<QProgressBar>("pgb")->maximum());

  ChooseFormat(8);
  dialogs.Expect(BoxKind::Inform);
  dialogs.Expect(BoxKind::Warn);
  EXPECT_EQ((std::vector<QString>{"File  Successfully Exported", kExportWarningMessage}), Export());
  EXPECT_EQ((std::vector<Tone>{{600, 600}, {700, 600}}), sounds.tones);

  ChooseFormat(9);
  Box("txtSchemaName")->setText("my people");
  QFocusEvent leaving(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(Box("txtSchemaName"), &leaving);
  EXPECT_EQ("my_people", Box("txtSchemaName")->text());
  dialogs.Expect(BoxKind::Inform);
  dialogs.Expect(BoxKind::Inform);
  EXPECT_EQ((std::vector<QString>{"Errors found whilst creating \"INPUT\" statements\nSee " +
                                      QString::fromStdString(data.Path()) +
                                      "SQLogErr.txt\nfor rejected Data (replaced with NULL)",
                                  "File  - Process Failed"}),
            Export());
  EXPECT_EQ((std::vector<Tone>{{400, 600}}), sounds.tones);
  EXPECT_TRUE(ReadBytes(data.File("people.SQL")).starts_with("CREATE TABLE my_people\r\n"));
}

TEST_F(ExportDialogTest, AfterAnExportEnterClosesInsteadOfExportingAgain) {
  Open();
  dialog->show();
  Find<QPushButton>("cmdExport")->setFocus();
  dialogs.Expect(BoxKind::Inform);
  Export();
  EXPECT_EQ(Find<QPushButton>("cmdClose"), dialog->focusWidget());
}

TEST_F(ExportDialogTest, FilterPatternsAreNamedOnce) {
  Open();
  for (const auto& [format, filter] : {std::pair{0, "Comma Separated (*.CSV *.DAT)"},
                                       std::pair{7, "HTML Files (*.htm *.html)"},
                                       std::pair{3, "Custom Formatted (*.TXT)"}}) {
    ChooseFormat(format);
    dialogs.ExpectSaveFile(false);
    Click("cmdExportTo");
    EXPECT_EQ(filter, dialogs.Boxes().back().request.filter);
  }
}

TEST_F(ExportDialogTest, TheLayoutStaysStillWhenTheFormatChanges) {
  Open();
  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  const auto places = [this] {
    std::map<QString, QRect> rects;
    for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
      // Qt's own parts of a control lay themselves out when the control is first shown.
      if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_")) continue;
      rects[widget->objectName()] = QRect(widget->mapTo(dialog.get(), QPoint(0, 0)), widget->size());
    }
    return rects;
  };
  const std::map<QString, QRect> first = places();
  for (QAbstractButton* item : Find<QButtonGroup>("rgExport")->buttons()) {
    item->click();
    QApplication::processEvents();
    for (const auto& [name, rect] : places()) {
      EXPECT_EQ(first.at(name), rect) << name.toStdString() << " with " << item->text().toStdString();
    }
  }
}

TEST_F(ExportDialogTest, TableFormatsNameTheirLogsAndWarn) {
  Open();
  const QString folder = QString::fromStdString(data.Path());
  const struct {
    int format;
    QString rejected;  // the message naming the log, before the result
    bool warns;
  } cases[] = {
      {4, "Errors found whilst creating xBASE Statements\nSee " + folder + "ErrorLog.Txt\nfor rejected Data", true},
      {5, "Errors found whilst creating Paradox Statements\nSee " + folder + "ErrorLog.txt\nfor rejected Data", true},
      {6, "", false},
  };
  for (const auto& c : cases) {
    ChooseFormat(c.format);
    std::vector<QString> expected;
    if (!c.rejected.isEmpty()) {
      dialogs.Expect(BoxKind::Inform);
      expected.push_back(c.rejected);
    }
    dialogs.Expect(BoxKind::Inform);
    expected.push_back("File  Successfully Exported");
    if (c.warns) {
      dialogs.Expect(BoxKind::Warn);
      expected.push_back(kExportWarningMessage);
    }
    EXPECT_EQ(expected, Export()) << c.format;
  }
  EXPECT_TRUE(ReadBytes(data.File("people.DBF")).starts_with("\x03"));
  EXPECT_TRUE(ReadBytes(data.File("people.XLS")).starts_with("\xD0\xCF\x11\xE0"));
  EXPECT_EQ("Row: 2 Col: 2 (Field Born) : x\r\n", ReadBytes(data.File("ErrorLog.txt")));
}

TEST_F(ExportDialogTest, ParquetOffersItsOwnOptionsAndWritesAFolderOfParts) {
  Open();
  EXPECT_FALSE(Shown(Find<QComboBox>("cboCompression")));
  ChooseFormat(10);
  EXPECT_EQ("people.parquet", Box("txtExportFile")->text());
  for (QWidget* control : std::initializer_list<QWidget*>{Find<QComboBox>("cboCompression"), Find<QSpinBox>("spnRowsPerFile"),
                                                          Check("chkCurrencyDecimal")}) {
    EXPECT_TRUE(Shown(control));
  }
  EXPECT_FALSE(Shown(Check("chkHeadInExport")));
  EXPECT_FALSE(Shown(Check("chkFields")));
  dialogs.Expect(BoxKind::Inform);
  dialogs.Expect(BoxKind::Inform);
  EXPECT_EQ((std::vector<QString>{"1 value was rejected and written as nulls\nSee " + QString::fromStdString(data.Path()) +
                                      "ParquetLog.txt\nfor rejected Data",
                                  "File  Successfully Exported"}),
            Export());
  EXPECT_TRUE(ReadBytes(data.File("people.parquet")).starts_with("PAR1"));

  Find<QComboBox>("cboCompression")->setCurrentText("snappy");
  Find<QSpinBox>("spnRowsPerFile")->setValue(1);
  Box("txtExportFile")->setText("people-parts");
  dialogs.Expect(BoxKind::Inform);
  dialogs.Expect(BoxKind::Inform);
  Export();
  EXPECT_TRUE(ReadBytes(data.File("people-parts/part-00001.parquet")).starts_with("PAR1"));
  ChooseFormat(0);
  EXPECT_FALSE(Shown(Find<QSpinBox>("spnRowsPerFile")));
}

TEST_F(ExportDialogTest, RefusalsAndErrorsStopWithoutAResult) {
  Open();
  ChooseFormat(0);
  Box("txtExportFile")->setText("people.csv");
  dialogs.Expect(BoxKind::Inform);
  const QString input = QString::fromStdString(data.File("people.csv"));
  EXPECT_EQ(std::vector<QString>{"Cannot export into " + input + ": it is the input file " + input},
            Export());
  EXPECT_SAME_BYTES(kPeople, ReadBytes(data.File("people.csv")));

  Find<QRadioButton>("optFixed")->click();
  Box("txtExportFile")->setText("fixed.csv");
  dialogs.Expect(BoxKind::Error);
  EXPECT_EQ(std::vector<QString>{"Schema.INI [people.csv] Col2: the entry \"Born Date\" has no width"},
            Export());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(data.File("fixed.csv"))));
}

TEST_F(ExportDialogTest, ClosingKeepsTheChoicesThatTheNextOpenRestores) {
  Open();
  ChooseFormat(4);  // xBase clears and hides both check boxes
  ChooseFormat(3);
  Check("chkHeadInExport")->setChecked(true);
  Box("txtOther")->setText("|");
  Find<QComboBox>("cboQuoteOut")->setEditText("{none}");
  Box("txtSchemaName")->setText("T");
  Box("txtExportFile")->setText("/tmp/out.TXT");
  Click("cmdClose");
  EXPECT_EQ(std::vector<int>{9}, sounds.presets);
  EXPECT_EQ(std::vector<int>{20}, sounds.delays);
  const ProfileFile settings(inputs.settingsPath);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"ExportAs", "4"},       {"HeaderRow", "Yes"},          {"IncludeFields", "No"},
      {"Title", "T"},          {"FileName", "/tmp/out.TXT"}, {"CustomChar", "|"},
      {"QuoteChar", "{none}"}, {"Compression", "zstd"},      {"RowsPerFile", "0"},
      {"CurrencyAsDecimal", "No"}};
  EXPECT_EQ(expected, settings.ReadSection("Export"));
  EXPECT_NE("missing", settings.ReadString("GUI", "frmExportDataWidth", "missing"));

  inputs.useLastExport = true;
  Open();
  EXPECT_TRUE(Find<QRadioButton>("rgExport3")->isChecked());
  EXPECT_TRUE(Check("chkHeadInExport")->isChecked());
  EXPECT_FALSE(Check("chkFields")->isChecked());
  EXPECT_EQ("/tmp/out.TXT", Box("txtExportFile")->text());
  EXPECT_EQ("|", Box("txtOther")->text());
  EXPECT_EQ("{none}", Find<QComboBox>("cboQuoteOut")->currentText());
  EXPECT_EQ("T", Box("txtSchemaName")->text());
}

TEST_F(ExportDialogTest, ClosingKeepsTheParquetOptionsThatTheNextOpenRestoresOnlyWhenAsked) {
  const auto closeWithParquetOptions = [this](const char* codec, int rowsPerFile) {
    Open();
    ChooseFormat(10);
    Find<QComboBox>("cboCompression")->setCurrentText(codec);
    Find<QSpinBox>("spnRowsPerFile")->setValue(rowsPerFile);
    Check("chkCurrencyDecimal")->setChecked(true);
    Click("cmdClose");
  };
  closeWithParquetOptions("snappy", 250000);
  const ProfileFile settings(inputs.settingsPath);
  EXPECT_EQ("snappy", settings.ReadString("Export", "Compression", "?"));
  EXPECT_EQ("250000", settings.ReadString("Export", "RowsPerFile", "?"));
  EXPECT_EQ("Yes", settings.ReadString("Export", "CurrencyAsDecimal", "?"));

  Open();
  EXPECT_EQ("zstd", Find<QComboBox>("cboCompression")->currentText());
  EXPECT_EQ(0, Find<QSpinBox>("spnRowsPerFile")->value());
  EXPECT_FALSE(Check("chkCurrencyDecimal")->isChecked());
  Click("cmdClose");

  closeWithParquetOptions("none", 3);
  inputs.useLastExport = true;
  Open();
  EXPECT_TRUE(Find<QRadioButton>("rgExport10")->isChecked());
  EXPECT_TRUE(Shown(Find<QSpinBox>("spnRowsPerFile")));
  EXPECT_EQ("none", Find<QComboBox>("cboCompression")->currentText());
  EXPECT_EQ(3, Find<QSpinBox>("spnRowsPerFile")->value());
  EXPECT_TRUE(Check("chkCurrencyDecimal")->isChecked());
}

}  // namespace
}  // namespace quorlin::testing
