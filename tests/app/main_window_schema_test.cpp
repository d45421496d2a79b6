// Save To Schema, the schema list, opening and deleting its entries, and the last layout.
#include <sys/stat.h>

#include <QImage>
#include <filesystem>

#include "app/ruler_view.h"
#include "app/window_fixture.h"
#include "platform/profile_file.h"

namespace quorlin::testing {
namespace {

const char kCsv[] = "Name,Born,Amount\r\nAnna,1990/01/02,12.5\r\nBob,1985/07/30,7\r\n";
const char kSemicolons[] = "Name;Born;Amount\r\nAnna;1990/01/02;12.5\r\n";

class SchemaTest : public WindowTest {
 protected:
  // Starts on the data folder, the tree showing it.
  void StartInData() { Start(data.Path()); }

  std::string SchemaFile() { return data.File("Schema.INI"); }

  // Sets field `row` in the editor and stores it with Modify.
  void Edit(int row, const QString& name, const QString& type, const QString& width,
            const QString& format = QString()) {
    ClickField(row);
    Find<QLineEdit>("txtFieldName")->setText(name);
    auto* type_box = Find<QComboBox>("luFieldType");
    type_box->setCurrentText(type);
    Leave(type_box->lineEdit());
    Find<QLineEdit>("txtWidth")->setText(width);
    if (!format.isNull()) Find<QComboBox>("cboDateTime")->setCurrentText(format);
    Click("cmdModify");
  }

  void SetSchemaBox(bool on) { Find<QCheckBox>("chkDefined")->setChecked(on); }

  QStringList SchemaEntries() {
    QStringList entries;
    auto* list = Find<QListWidget>("lstSchema");
    for (int row = 0; row < list->count(); ++row) entries << list->item(row)->text();
    return entries;
  }

  void OpenEntry(const QString& entry) {
    auto* list = Find<QListWidget>("lstSchema");
    const QList<QListWidgetItem*> found = list->findItems(entry, Qt::MatchExactly);
    ASSERT_EQ(1, found.size()) << entry.toStdString();
    list->setCurrentItem(found.first());
    emit list->itemDoubleClicked(found.first());
  }

  QStringList Column(int column) {
    QStringList cells;
    for (int row = 0; row < FieldRows(); ++row) cells << FieldCell(row, column);
    return cells;
  }

  QStringList Breaks() {
    QStringList entries;
    auto* list = Find<QListWidget>("lstLines");
    for (int row = 0; row < list->count(); ++row) entries << list->item(row)->text();
    return entries;
  }

  QString Text(const char* box) { return Find<QLineEdit>(box)->text(); }
};

struct SaveCase {
  const char* name;
  bool odbcOnly;
  std::string entries;
  const char* formatWords;
};

void PrintTo(const SaveCase& saveCase, std::ostream* out) { *out << saveCase.name; }

class SaveTest : public SchemaTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveTest, WritesTheSectionAndSaysSoExactly) {
  Start(DataFile("orders.csv", kCsv));
  if (!GetParam().odbcOnly) Find<QCheckBox>("chkODBCOnly")->click();
  ASSERT_EQ(GetParam().odbcOnly, Item("mnuODBCOnly")->isChecked());
  Item("mnuSounds")->trigger();
  Edit(0, "Who", "Char", "20");
  Edit(1, "Born", "DateTime", "0", "yyyy/MM/dd");
  Edit(2, "Amount", "Long", "0");
  ASSERT_TRUE(window->LayoutChanged());

  dialogs.Expect(BoxKind::Inform);
  Click("cmdSave");
  EXPECT_EQ(QString::fromStdString(data.Path()) + "Schema.INI\n Has been updated With \n---> orders.csv\nand " +
                GetParam().formatWords,
            dialogs.Boxes().back().text);
  EXPECT_EQ(std::vector<int>{2}, sounds.presets);
  EXPECT_FALSE(window->LayoutChanged());
  EXPECT_SAME_BYTES(
      "[orders.csv]\r\nColNameHeader=False\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
      "CharacterSet=UTF-8\r\n" + GetParam().entries,
      ReadBytes(SchemaFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SaveTest,
    ::testing::Values(
        SaveCase{"Odbc", true, "Col1=Who Char WIDTH 20\r\nCol2=Born Date\r\nCol3=Amount Integer\r\n",
                 "in ODBC Format"},
        SaveCase{"Extended", false,
                 "Col1=Who Char WIDTH 20\r\nCol2=Born DateTime FMT yyyy/MM/dd\r\nCol3=Amount Long\r\n",
                 "in Extended Format"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SchemaTest, SaveStructureItemSavesTheFixedLayoutWithItsLength) {
  Start(DataFile("stock.dat", kStockFile));
  SwitchToFixedLength();
  dialogs.Expect(BoxKind::Inform);
  Item("mnuSaveStructure")->trigger();
  EXPECT_SAME_BYTES(
      "[stock.dat]\r\nColNameHeader=False\r\nFormat=FixedLength\r\nFixedLength=24\r\n"
      "MaxScanRows=25\r\nCharacterSet=UTF-8\r\n",
      ReadBytes(SchemaFile()));
}

TEST_F(SchemaTest, SaveRefusesACharFieldWithoutWidth) {
  Start(DataFile("orders.csv", kCsv));
  Item("mnuSounds")->trigger();
  Edit(1, "Born", "Char", "0");
  ASSERT_EQ("0", FieldCell(1, 2));
  dialogs.Expect(BoxKind::Inform);
  Click("cmdSave");
  EXPECT_EQ("Width for Born has not been set", dialogs.Boxes().back().text);
  EXPECT_EQ((std::vector<Tone>{{440, 600}}), sounds.tones);
  EXPECT_FALSE(std::filesystem::exists(SchemaFile()));
  EXPECT_TRUE(window->LayoutChanged());
}

// Schema.INI opened as the data file is never written, as the command line refuses it too.
TEST_F(SchemaTest, SaveRefusesTheSchemaFileThatIsTheInputFile) {
  const std::string schema = "[a.csv]\r\nCol1=x Char\r\n";
  Start(DataFile("Schema.INI", schema));
  dialogs.Expect(BoxKind::Inform);
  Click("cmdSave");
  EXPECT_EQ(QString::fromStdString(SchemaFile() + ": the data file is the folder's schema file and is never written"),
            dialogs.Boxes().back().text);
  EXPECT_SAME_BYTES(schema, ReadBytes(SchemaFile()));
}

TEST_F(SchemaTest, Utf16FileIsShownAndSavedWithItsSet) {
  Start(DataFile("wide.csv", std::string("\xFF\xFEi\0d\0\r\0\n\0", 10)));
  EXPECT_TRUE(dialogs.Boxes().empty());
  EXPECT_EQ("UTF-16LE", Find<QComboBox>("cboCharacterSet")->currentText());
  EXPECT_EQ("id", Cell(2, 0));
  dialogs.Expect(BoxKind::Inform);
  Click("cmdSave");
  EXPECT_NE(std::string::npos, ReadBytes(SchemaFile()).find("\r\nCharacterSet=UTF-16LE\r\n"));
}

// A schema file that cannot be read is an error with its cause, not a folder without layouts.
TEST_F(SchemaTest, UnreadableSchemaFileShowsWhy) {
  std::filesystem::create_directory(SchemaFile());
  StartInData();
  dialogs.Expect(BoxKind::Error);
  SetSchemaBox(true);
  EXPECT_EQ(QString::fromStdString("Cannot read " + SchemaFile() + ": it is a folder"),
            dialogs.Boxes().back().text);
}

TEST_F(SchemaTest, AReadOnlySchemaFileIsReportedAndLeftAlone) {
  Start(DataFile("orders.csv", kCsv));
  const std::string before = "[orders.csv]\r\nCol1=old Char WIDTH 9\r\n";
  WriteBytes(SchemaFile(), before);
  ASSERT_EQ(0, ::chmod(SchemaFile().c_str(), 0444));
  Item("mnuSounds")->trigger();
  dialogs.Expect(BoxKind::Inform);
  Click("cmdSave");
  EXPECT_EQ(QString::fromStdString(data.Path()) + "Schema.INI\n Has NOT been updated with \n---> orders.csv",
            dialogs.Boxes().back().text);
  EXPECT_EQ(std::vector<int>{4}, sounds.presets);
  EXPECT_SAME_BYTES(before, ReadBytes(SchemaFile()));
  EXPECT_FALSE(window->LayoutChanged());
}

TEST_F(SchemaTest, RefreshAnsweredYesToSavingFirstSaves) {
  Start(DataFile("orders.csv", kCsv));
  Edit(0, "Who", "Char", "20");
  dialogs.Expect(BoxKind::Ask, true);
  dialogs.Expect(BoxKind::Inform);
  dialogs.Expect(BoxKind::Ask, false);
  Click("cmdRefresh");
  EXPECT_EQ("Who Char WIDTH 20", ProfileFile(SchemaFile()).ReadString("orders.csv", "Col1", "?"));
}

TEST_F(SchemaTest, SavingWithTheSchemaBoxOnReadsTheListAnew) {
  WriteBytes(SchemaFile(), "[a.csv]\r\nCol1=x Char\r\n");
  Start(DataFile("orders.csv", kCsv));
  SetSchemaBox(true);
  ASSERT_EQ(QStringList{"a.csv"}, SchemaEntries());
  Edit(0, "Who", "Char", "20");
  dialogs.Expect(BoxKind::Inform);
  Click("cmdSave");
  EXPECT_EQ((QStringList{"a.csv", "orders.csv"}), SchemaEntries());
  EXPECT_EQ(1u, dialogs.Boxes().size());
}

TEST_F(SchemaTest, TheListIsSortedWithoutRegardToCaseAndTakesTheFilesPlace) {
  WriteBytes(SchemaFile(), "[b.csv]\r\nCol1=x Char\r\n[A.dat]\r\nCol1=y Char\r\n[c.txt]\r\nCol1=z Char\r\n");
  StartInData();
  SetSchemaBox(true);
  EXPECT_EQ((QStringList{"A.dat", "b.csv", "c.txt"}), SchemaEntries());
  EXPECT_FALSE(Find<QListWidget>("lstSchema")->isHidden());
  EXPECT_TRUE(Find<QListWidget>("lstFiles")->isHidden());
  EXPECT_TRUE(Find<QPushButton>("cmdSchemaDelete")->isEnabled());

  SetSchemaBox(false);
  EXPECT_TRUE(Find<QListWidget>("lstSchema")->isHidden());
  EXPECT_FALSE(Find<QListWidget>("lstFiles")->isHidden());
  EXPECT_FALSE(Find<QPushButton>("cmdSchemaDelete")->isEnabled());
}

TEST_F(SchemaTest, WithoutASchemaFileTheFilesStay) {
  DataFile("orders.csv", kCsv);
  StartInData();
  SetSchemaBox(true);
  EXPECT_TRUE(SchemaEntries().isEmpty());
  EXPECT_TRUE(Find<QListWidget>("lstSchema")->isHidden());
  EXPECT_FALSE(Find<QListWidget>("lstFiles")->isHidden());
  EXPECT_TRUE(Find<QPushButton>("cmdSchemaDelete")->isEnabled());
}

TEST_F(SchemaTest, TheSchemaBoxAsksToSaveChangesFirst) {
  WriteBytes(SchemaFile(), "[a.csv]\r\nCol1=x Char\r\n");
  Start(DataFile("orders.csv", kCsv));
  Find<QCheckBox>("chkHeaderRow")->setChecked(true);
  dialogs.Expect(BoxKind::Confirm, true);
  dialogs.Expect(BoxKind::Inform);
  SetSchemaBox(true);
  EXPECT_EQ("Save Changes?", dialogs.Boxes()[0].text);
  EXPECT_EQ((QStringList{"a.csv", "orders.csv"}), SchemaEntries());
  EXPECT_FALSE(Find<QListWidget>("lstSchema")->isHidden());
  EXPECT_EQ("True", ProfileFile(SchemaFile()).ReadString("orders.csv", "ColNameHeader", "?"));
  EXPECT_FALSE(window->LayoutChanged());
}

TEST_F(SchemaTest, UseSchemaFileAndTheSchemaBoxFollowEachOtherAndTheMenuMarksTheLayout) {
  WriteBytes(SchemaFile(), "[a.csv]\r\nCol1=x Char\r\n");
  StartInData();
  Item("mnuDefined")->trigger();
  EXPECT_TRUE(Find<QCheckBox>("chkDefined")->isChecked());
  EXPECT_TRUE(Item("mnuDefined")->isChecked());
  EXPECT_EQ(QStringList{"a.csv"}, SchemaEntries());
  EXPECT_TRUE(window->LayoutChanged());
  dialogs.Expect(BoxKind::Confirm, false);
  Item("mnuDefined")->trigger();
  EXPECT_FALSE(Find<QCheckBox>("chkDefined")->isChecked());
  EXPECT_FALSE(Item("mnuDefined")->isChecked());
  dialogs.Expect(BoxKind::Confirm, false);
  SetSchemaBox(true);
  EXPECT_TRUE(Item("mnuDefined")->isChecked());
  EXPECT_EQ(QStringList{"a.csv"}, SchemaEntries());
}

TEST_F(SchemaTest, OpeningADelimitedEntryReadsItsLayout) {
  DataFile("p.txt", kSemicolons);
  WriteBytes(SchemaFile(),
             "[p.txt]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\nMaxScanRows=15\r\n"
             "CharacterSet=OEM\r\nCol1=Who Char WIDTH 20\r\nCol2=Born Date FMT yyyy/MM/dd\r\n"
             "Col3=Amount Float\r\n");
  StartInData();
  Find<QLineEdit>("txtStart")->setText("3");
  SetSchemaBox(true);
  OpenEntry("p.txt");

  EXPECT_EQ("p.txt", Text("txtInputFile"));
  EXPECT_EQ(data.File("p.txt"), window->InputPath());
  EXPECT_TRUE(Find<QRadioButton>("optCustom")->isChecked());
  EXPECT_EQ(";", Text("txtChar"));
  EXPECT_TRUE(Find<QCheckBox>("chkHeaderRow")->isChecked());
  EXPECT_EQ("1", Text("txtStart"));
  EXPECT_EQ("15", Text("txtRows"));
  EXPECT_EQ((QStringList{"Who", "Born", "Amount"}), Column(0));
  EXPECT_EQ((QStringList{"Char", "Date", "Float"}), Column(1));
  EXPECT_EQ((QStringList{"20", "0", "0"}), Column(2));
  EXPECT_EQ((QStringList{"", "yyyy/MM/dd", ""}), Column(3));
  EXPECT_EQ("Who", Cell(1, 0));
  EXPECT_EQ("Born", Cell(1, 1));
  EXPECT_EQ("Amount", Cell(1, 2));
  EXPECT_EQ("Anna", Cell(2, 0));
  EXPECT_EQ("Who", Text("txtFieldName"));
  EXPECT_FALSE(window->LayoutChanged());
  EXPECT_TRUE(dialogs.Boxes().empty());
}

// The bundled customers file writes day-first dates and decimal points, whatever the locale.
TEST_F(SchemaTest, TheSampleCustomersOpenWithTheirOwnDateOrderAndDecimalSymbol) {
  DataFile("customers.csv", ReadBytes(QUORLIN_SAMPLES "/customers.csv"));
  WriteBytes(SchemaFile(), ReadBytes(QUORLIN_SAMPLES "/Schema.INI"));
  StartInData();
  SetSchemaBox(true);
  OpenEntry("customers.csv");
  EXPECT_EQ("dd/mm/yyyy", Find<QComboBox>("cboDateOrder")->currentText());
  EXPECT_EQ(".", Find<QComboBox>("cboDecimal")->currentText());
  EXPECT_EQ("Meyer & Sons, Ltd.", Cell(2, 1));
  EXPECT_EQ("15/01/2002", Cell(2, 4));
  EXPECT_EQ("1250.75", Cell(2, 5));
  EXPECT_FALSE(window->LayoutChanged());

  // A choice in the box is the layout's and is saved with it.
  Find<QComboBox>("cboDecimal")->setCurrentText(",");
  EXPECT_TRUE(window->LayoutChanged());
  dialogs.Expect(BoxKind::Inform);
  Click("cmdSave");
  EXPECT_NE(std::string::npos, ReadBytes(SchemaFile()).find("DateTimeFormat=dd/mm/yyyy\r\nDecimalSymbol=,\r\n"));
}

class FixedEntryTest : public SchemaTest {
 protected:
  void SetUp() override {
    DataFile("stock.dat", kStockFile);
    WriteBytes(SchemaFile(),
               "[stock.dat]\r\nColNameHeader=False\r\nFormat=FixedLength\r\nFixedLength=24\r\n"
               "MaxScanRows=25\r\nCharacterSet=OEM\r\nCol1=Code Char WIDTH 10\r\n"
               "Col2=Qty Integer WIDTH 6\r\nCol3=Name Char WIDTH 7\r\n");
    StartInData();
    SetSchemaBox(true);
  }

  void ExpectTheSavedLayout() {
    EXPECT_TRUE(Find<QRadioButton>("optFixed")->isChecked());
    EXPECT_FALSE(Find<QWidget>("pnlImg")->isHidden());
    EXPECT_TRUE(Find<QTableView>("grdData")->isHidden());
    EXPECT_EQ((QStringList{"Code", "Qty", "Name"}), Column(0));
    EXPECT_EQ((QStringList{"10", "6", "7"}), Column(2));
    EXPECT_EQ((QStringList{"Brk: 11", "Brk: 17"}), Breaks());
    EXPECT_EQ("3", Text("txtFieldCount"));
    EXPECT_EQ("24", Text("txtLength"));
    EXPECT_EQ("Code", Text("txtFieldName"));
    EXPECT_FALSE(window->LayoutChanged());
    auto* ruler = Find<RulerView>("pnlImg");
    const QImage shot = ruler->findChild<QWidget*>("imgGrid")->grab().toImage();
    const int y = 2 * ruler->RowHeight() + ruler->RowHeight() / 2;
    for (int position : {11, 17}) {
      EXPECT_EQ(QColor(255, 0, 0), shot.pixelColor((position - 1) * ruler->CharWidth() + 1, y)) << position;
    }
    EXPECT_NE(QColor(255, 0, 0), shot.pixelColor(23 * ruler->CharWidth() + 1, y));
  }
};

TEST_F(FixedEntryTest, WhileFixedLengthIsChosenOpensWithoutQuestions) {
  Find<QRadioButton>("optFixed")->click();
  OpenEntry("stock.dat");
  ExpectTheSavedLayout();
  EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(FixedEntryTest, FromCommaTheFixedLengthChoiceAsksOnlyToReload) {
  dialogs.Expect(BoxKind::Ask, true);
  OpenEntry("stock.dat");
  ASSERT_EQ(1u, dialogs.Boxes().size());
  EXPECT_EQ("RELOAD DATA FILE?", dialogs.Boxes()[0].caption);
  ExpectTheSavedLayout();
}

TEST_F(FixedEntryTest, DecliningTheReloadStillShowsTheSavedLayout) {
  dialogs.Expect(BoxKind::Ask, false);
  OpenEntry("stock.dat");
  ExpectTheSavedLayout();
}

TEST_F(FixedEntryTest, TheReadLayoutSavesBackUnchanged) {
  Find<QRadioButton>("optFixed")->click();
  const std::string before = ReadBytes(SchemaFile());
  OpenEntry("stock.dat");
  dialogs.Expect(BoxKind::Inform);
  Click("cmdSave");
  EXPECT_SAME_BYTES(before, ReadBytes(SchemaFile()));
}

TEST_F(SchemaTest, AFixedEntryListsBreaksPastTheLineLength) {
  DataFile("stock.dat", kStockFile);
  WriteBytes(SchemaFile(),
             "[stock.dat]\r\nFormat=FixedLength\r\nFixedLength=24\r\nCol1=Code Char WIDTH 10\r\n"
             "Col2=Qty Integer WIDTH 20\r\nCol3=Name Char WIDTH 7\r\n");
  StartInData();
  SetSchemaBox(true);
  Find<QRadioButton>("optFixed")->click();
  OpenEntry("stock.dat");
  EXPECT_EQ("24", Text("txtLength"));
  EXPECT_EQ((QStringList{"Brk: 11", "Brk: 31"}), Breaks());
  EXPECT_EQ("3", Text("txtFieldCount"));
}

TEST_F(SchemaTest, AMissingListedFileIsReported) {
  WriteBytes(SchemaFile(), "[gone.dat]\r\nCol1=x Char WIDTH 3\r\n");
  StartInData();
  Item("mnuSounds")->trigger();
  SetSchemaBox(true);
  dialogs.Expect(BoxKind::Inform);
  OpenEntry("gone.dat");
  EXPECT_EQ("Cannot find file\n" + QString::fromStdString(data.File("gone.dat")), dialogs.Boxes().back().text);
  EXPECT_EQ((std::vector<Tone>{{440, 600}}), sounds.tones);
  EXPECT_EQ("gone.dat", Text("txtInputFile"));
  EXPECT_EQ(data.File("gone.dat"), window->InputPath());
}

TEST_F(SchemaTest, ASectionWithoutFieldsIsReportedAndNotApplied) {
  DataFile("empty.csv", kCsv);
  WriteBytes(SchemaFile(), "[empty.csv]\r\nColNameHeader=True\r\nFormat=TABDelimited\r\n");
  StartInData();
  Item("mnuSounds")->trigger();
  SetSchemaBox(true);
  dialogs.Expect(BoxKind::Inform);
  OpenEntry("empty.csv");
  EXPECT_EQ("empty.csvhas no associated fields", dialogs.Boxes().back().text);
  EXPECT_EQ((std::vector<Tone>{{550, 600}}), sounds.tones);
  EXPECT_TRUE(Find<QRadioButton>("optComma")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("chkHeaderRow")->isChecked());
}

TEST_F(SchemaTest, AMalformedFixedWidthNamesTheEntry) {
  DataFile("stock.dat", kStockFile);
  WriteBytes(SchemaFile(),
             "[stock.dat]\r\nFormat=FixedLength\r\nFixedLength=30\r\nCol1=Code Char WIDTH 10\r\n"
             "Col2=Qty Integer WIDTH 6x\r\n");
  StartInData();
  SetSchemaBox(true);
  Find<QRadioButton>("optFixed")->click();
  dialogs.Expect(BoxKind::Error);
  OpenEntry("stock.dat");
  const QString message = dialogs.Boxes().back().text;
  EXPECT_TRUE(message.contains("[stock.dat] Col2")) << message.toStdString();
  EXPECT_TRUE(message.contains("\"6x\"")) << message.toStdString();
  EXPECT_EQ(0, FieldRows());
  EXPECT_TRUE(Breaks().isEmpty());
  EXPECT_EQ("30", Text("txtLength"));
}

TEST_F(SchemaTest, DeleteFromSchemaAsksAndRemovesOnlyTheSection) {
  DataFile("b.csv", kCsv);
  const std::string schema = "[a.csv]\r\nCol1=x Char\r\n[b.csv]\r\nCol1=y Char\r\n";
  WriteBytes(SchemaFile(), schema);
  StartInData();
  SetSchemaBox(true);
  auto* list = Find<QListWidget>("lstSchema");
  list->setCurrentRow(1);

  dialogs.Expect(BoxKind::Ask, false);
  Click("cmdSchemaDelete");
  EXPECT_EQ("Delete b.csv From Schema?", dialogs.Boxes().back().text);
  EXPECT_EQ("DELETE FROM SCHEMA", dialogs.Boxes().back().caption);
  EXPECT_FALSE(dialogs.Boxes().back().defaultYes);
  EXPECT_SAME_BYTES(schema, ReadBytes(SchemaFile()));

  dialogs.Expect(BoxKind::Ask, true);
  dialogs.Expect(BoxKind::Inform);
  Click("cmdSchemaDelete");
  EXPECT_EQ("File removed from the Schema", dialogs.Boxes().back().text);
  EXPECT_EQ(QStringList{"a.csv"}, SchemaEntries());
  EXPECT_SAME_BYTES("[a.csv]\r\nCol1=x Char\r\n", ReadBytes(SchemaFile()));
  EXPECT_SAME_BYTES(kCsv, ReadBytes(data.File("b.csv")));
}

TEST_F(SchemaTest, DeleteFromAReadOnlySchemaFileSaysSo) {
  const std::string schema = "[a.csv]\r\nCol1=x Char\r\n";
  WriteBytes(SchemaFile(), schema);
  StartInData();
  SetSchemaBox(true);
  ASSERT_EQ(0, ::chmod(SchemaFile().c_str(), 0444));
  Find<QListWidget>("lstSchema")->setCurrentRow(0);
  dialogs.Expect(BoxKind::Ask, true);
  dialogs.Expect(BoxKind::Inform);
  Click("cmdSchemaDelete");
  EXPECT_EQ("Could NOT remove this file from the Schema File", dialogs.Boxes().back().text);
  EXPECT_EQ(QStringList{"a.csv"}, SchemaEntries());
}

TEST_F(SchemaTest, DeleteFromSchemaNeedsTheBoxAndAnEntry) {
  WriteBytes(SchemaFile(), "[a.csv]\r\nCol1=x Char\r\n");
  StartInData();
  Click("cmdSchemaDelete");
  SetSchemaBox(true);
  Click("cmdSchemaDelete");
  EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(SchemaTest, ShutDownKeepsTheLayoutAsLastFileInTheExtendedForm) {
  Start(DataFile("orders.csv", kCsv));
  Edit(0, "Who", "Char", "20");
  Edit(2, "Amount", "Long", "0");
  ASSERT_TRUE(window->close());
  const std::string settings = ReadBytes(program.File("Quorlin.INI"));
  const std::string section =
      "[LastFile]\r\nColNameHeader=False\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
      "CharacterSet=UTF-8\r\nCol1=Who Char WIDTH 20\r\nCol2=Field2 Unknown\r\nCol3=Amount Long\r\n";
  ASSERT_NE(std::string::npos, settings.find("[LastFile]"));
  const std::size_t from = settings.find("[LastFile]");
  EXPECT_SAME_BYTES(section, settings.substr(from, settings.find("[GUI]") - from));
}

TEST_F(SchemaTest, StartUpReadsTheLastFileSection) {
  const std::string path = DataFile("p.txt", kSemicolons);
  WriteSettings("[Options]\r\nOpenLastFile=Yes\r\nLast=" + path +
                "\r\n[LastFile]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\nMaxScanRows=8\r\n"
                "Col1=Who Char WIDTH 20\r\nCol2=Born Date\r\n");
  Start();
  EXPECT_TRUE(Find<QRadioButton>("optCustom")->isChecked());
  EXPECT_EQ("8", Text("txtRows"));
  EXPECT_EQ((QStringList{"Who", "Born"}), Column(0));
  EXPECT_EQ("Who", Cell(1, 0));
  EXPECT_EQ("Amount", Cell(1, 2));
  EXPECT_EQ("Anna", Cell(2, 0));
  EXPECT_FALSE(window->LayoutChanged());
}

TEST_F(SchemaTest, StartUpWithSchemaOpensTheListedEntry) {
  const std::string path = DataFile("p.txt", kSemicolons);
  WriteBytes(SchemaFile(), "[P.TXT]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\nCol1=Who Char WIDTH 20\r\n");
  WriteSettings("[Options]\r\nOpenLastFile=Yes\r\nSchema=Yes\r\nLast=" + path +
                "\r\n[LastFile]\r\nFormat=TABDelimited\r\nCol1=Other Char WIDTH 1\r\n");
  Start();
  EXPECT_TRUE(Find<QCheckBox>("chkDefined")->isChecked());
  EXPECT_EQ("P.TXT", Find<QListWidget>("lstSchema")->currentItem()->text());
  EXPECT_TRUE(Find<QRadioButton>("optCustom")->isChecked());
  EXPECT_EQ((QStringList{"Who"}), Column(0));
  EXPECT_EQ("p.txt", Text("txtInputFile"));
  EXPECT_EQ(data.File("p.txt"), window->InputPath());
}

}  // namespace
}  // namespace quorlin::testing
