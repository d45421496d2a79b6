// The preview grid, the separator choice, the option items and the number boxes.
#include <QBrush>
#include <QHeaderView>

#include "app/display_text.h"
#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

const char kCsv[] = "Name,City,Age\r\nAnna,Hamburg,31\r\n\"Bob\",Bremen,42\r\n";

class OptionsTest : public WindowTest {
 protected:
  void SetUp() override { Start(); }

  // Sets the file's folder and opens the file from the list, answering Yes to reloading.
  void Open(const std::string& name, const std::string& bytes) {
    const std::string path = DataFile(name, bytes);
    window->findChild<QLineEdit*>("txtInputFile")->setText(QString::fromStdString(path));
    dialogs.ExpectFile(true, QString::fromStdString(path));
    dialogs.Expect(BoxKind::Ask, true);
    Click("cmdBrowse");
  }

  // Refresh after a change: No to saving first, Yes to reloading.
  void Reload() {
    dialogs.Expect(BoxKind::Ask, false);
    dialogs.Expect(BoxKind::Ask, true);
    Click("cmdRefresh");
  }

  QStringList Row(int row) {
    QStringList cells;
    for (int column = 0; column < GridColumns(); ++column) cells << Cell(row, column);
    return cells;
  }

  QColor Background(int row, int column) {
    QAbstractItemModel* model = Find<QTableView>("grdData")->model();
    return model->data(model->index(row, column), Qt::BackgroundRole).value<QBrush>().color();
  }
};

TEST_F(OptionsTest, GridWithoutHeaderNumbersAndNamesTheColumns) {
  Open("people.csv", kCsv);
  EXPECT_EQ(5, GridRows());
  EXPECT_EQ(QStringList({"1", "2", "3"}), Row(0));
  EXPECT_EQ(QStringList({"Field1", "Field2", "Field3"}), Row(1));
  EXPECT_EQ(QStringList({"Name", "City", "Age"}), Row(2));
  EXPECT_EQ(QStringList({"Bob", "Bremen", "42"}), Row(4));
  EXPECT_EQ(3, FieldRows());
  EXPECT_EQ("Field2", FieldCell(1, 0));
  EXPECT_EQ("Unknown", FieldCell(1, 1));
  EXPECT_EQ("0", FieldCell(1, 2));
  // The first field is selected: its data cells are yellow, the fixed rows grey.
  EXPECT_EQ(QColor(Qt::yellow), Background(2, 0));
  EXPECT_EQ(QColor(Qt::white), Background(2, 1));
  EXPECT_NE(Background(0, 0), Background(2, 1));
  EXPECT_EQ("Field1", Find<QLineEdit>("txtFieldName")->text());
  auto* grid = Find<QTableView>("grdData");
  EXPECT_EQ(grid->viewport()->width() / 3, grid->horizontalHeader()->sectionSize(0));
}

TEST_F(OptionsTest, GridWithHeaderTakesTheNamesFromLineOne) {
  Find<QCheckBox>("chkHeaderRow")->setChecked(true);
  const QString path = QString::fromStdString(DataFile("people.csv", kCsv));
  dialogs.ExpectFile(true, path);
  dialogs.Expect(BoxKind::Confirm, false);  // the folder changes
  dialogs.Expect(BoxKind::Ask, true);
  Click("cmdBrowse");
  EXPECT_EQ(4, GridRows());
  EXPECT_EQ(QStringList({"Name", "City", "Age"}), Row(1));
  EXPECT_EQ(QStringList({"Anna", "Hamburg", "31"}), Row(2));
  EXPECT_EQ("Name", FieldCell(0, 0));
}

TEST_F(OptionsTest, QualifierNoneShowsTheQuotes) {
  Open("people.csv", kCsv);
  Item("mnuQuoteNone")->trigger();
  EXPECT_EQ("{none}", Find<QComboBox>("cboTextChar")->currentText());
  Reload();
  EXPECT_EQ("\"Bob\"", Cell(4, 0));
}

TEST_F(OptionsTest, TabSeparatedFileAfterChoosingTab) {
  Open("orders.tab", "a\tb,c\r\n1\t2,3\r\n");
  EXPECT_EQ(QStringList({"a\tb", "c"}), Row(2));
  Find<QRadioButton>("optTab")->setChecked(true);
  EXPECT_EQ(0, FieldRows());
  Reload();
  EXPECT_EQ(QStringList({"1", "2,3"}), Row(3));
}

TEST_F(OptionsTest, UnreadableBytesShowAsLatin1) {
  Open("bytes.csv", std::string("caf\xe9,ok\r\n"));
  EXPECT_EQ(QString::fromUtf8("caf\xc3\xa9"), Cell(2, 0));
  EXPECT_EQ(QString::fromUtf8("\xc3\xa9"), DisplayText("\xc3\xa9"));
}

TEST_F(OptionsTest, HugeValuesShowCutWithoutSplittingACharacter) {
  std::string utf8 = "a";
  while (utf8.size() < kMaxCellBytes + 10) utf8 += "\xc3\xa9";  // é
  const QString shown = DisplayCellText(utf8);
  EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
  EXPECT_FALSE(shown.contains(QChar(0xc3))) << "a cut UTF-8 sequence fell back to Latin-1";
  EXPECT_EQ(QString::fromUtf8("caf\xc3\xa9"), DisplayCellText("caf\xc3\xa9"));

  Open("wide.csv", std::string(10'000'000, 'w') + ",b\r\n");
  EXPECT_EQ(static_cast<int>(kMaxCellBytes) + 1, Cell(2, 0).size());
  EXPECT_EQ("b", Cell(2, 1));
}

TEST_F(OptionsTest, ALineOfMillionsOfFieldsShowsTheFirstAndSaysSo) {
  std::string oneLine;
  for (std::size_t i = 0; i < kMaxPreviewColumns; ++i) oneLine += "x,y,";
  const std::string path = DataFile("unix.csv", oneLine + "\r\n");
  window->findChild<QLineEdit*>("txtInputFile")->setText(QString::fromStdString(path));
  dialogs.ExpectFile(true, QString::fromStdString(path));
  dialogs.Expect(BoxKind::Ask, true);
  dialogs.Expect(BoxKind::Inform);
  Click("cmdBrowse");
  ASSERT_FALSE(dialogs.Boxes().empty());
  EXPECT_EQ(ColumnsCutMessage(), dialogs.Boxes().back().text.toStdString());
  EXPECT_EQ(static_cast<int>(kMaxPreviewColumns), FieldRows());
}

TEST_F(OptionsTest, CountFromZeroRenumbersButKeepsTheNames) {
  Open("people.csv", kCsv);
  Item("mnuCountFrom0")->trigger();
  EXPECT_EQ(QStringList({"0", "1", "2"}), Row(0));
  EXPECT_EQ(QStringList({"Field1", "Field2", "Field3"}), Row(1));
  EXPECT_TRUE(window->LayoutChanged());
  Reload();
  EXPECT_EQ(QStringList({"Field0", "Field1", "Field2"}), Row(1));
}

TEST_F(OptionsTest, CommaAfterFixedLengthEmptiesTheFieldsAndTheDataRows) {
  Open("people.csv", kCsv);
  dialogs.Expect(BoxKind::Ask, true);
  Find<QRadioButton>("optFixed")->setChecked(true);
  EXPECT_EQ("RELOAD DATA FILE?", dialogs.Boxes().back().caption);
  EXPECT_FALSE(Find<QWidget>("pnlImg")->isHidden());
  EXPECT_FALSE(Find<QWidget>("txtLength")->isHidden());
  EXPECT_TRUE(Item("mnuFixedLength")->isVisible());
  Find<QRadioButton>("optComma")->setChecked(true);
  EXPECT_EQ(0, FieldRows());
  EXPECT_EQ(3, GridRows());
  EXPECT_FALSE(Find<QWidget>("grdData")->isHidden());
  EXPECT_TRUE(Find<QWidget>("pnlImg")->isHidden());
  EXPECT_TRUE(Find<QWidget>("lstLines")->isHidden());
  EXPECT_FALSE(Item("mnuFixedLength")->isVisible());
  EXPECT_TRUE(window->LayoutChanged());
}

TEST_F(OptionsTest, FixedLengthWithoutAFileOnlyGreysTheCustomBox) {
  Find<QRadioButton>("optFixed")->setChecked(true);
  EXPECT_TRUE(dialogs.Boxes().empty());
  EXPECT_EQ(QColor(128, 128, 128), Find<QLineEdit>("txtChar")->palette().color(QPalette::Base));
}

TEST_F(OptionsTest, LatinOneBytesSurviveTheBoxesTheyAreShownIn) {
  Open("latin.txt", "caf\xe9\xa7x\r\n1\xa7" "2\r\n");
  // The set of layouts saved before sets had names: the bytes as they are.
  emit Find<QComboBox>("cboCharacterSet")->textActivated("OEM");
  Find<QRadioButton>("optCustom")->setChecked(true);
  Find<QLineEdit>("txtChar")->setText(QString(QChar(0xa7)));  // the section sign, typed
  Find<QCheckBox>("chkHeaderRow")->setChecked(true);
  Reload();
  // The layout keeps the character; the file read as bytes is cut at its Latin-1 byte.
  EXPECT_EQ("\xc2\xa7", window->File().Layout().customSeparator);
  EXPECT_EQ(QStringList({"1", "2"}), Row(2));
  // Read in its code page, the same character cuts the decoded text.
  emit Find<QComboBox>("cboCharacterSet")->textActivated("ANSI");
  Reload();
  EXPECT_EQ(QStringList({"1", "2"}), Row(2));
  emit Find<QComboBox>("cboCharacterSet")->textActivated("OEM");
  Reload();

  Click("cmdModify");
  EXPECT_EQ("caf\xe9", window->Fields()[0].name);
  Click("cmdAdd");
  EXPECT_EQ("caf\xe9", window->Fields().back().name);
  Find<QLineEdit>("txtFieldName")->setText(QString::fromUtf8("Caf\xc3\xa9"));
  Click("cmdModify");
  EXPECT_EQ("Caf\xc3\xa9", window->Fields()[0].name) << "what the user types is stored as UTF-8";
}

TEST_F(OptionsTest, CustomEnablesAndWhitensItsBoxForGood) {
  auto* custom = Find<QLineEdit>("txtChar");
  Find<QRadioButton>("optCustom")->setChecked(true);
  EXPECT_TRUE(custom->isEnabled());
  EXPECT_EQ(QColor(Qt::white), custom->palette().color(QPalette::Base));
  Find<QRadioButton>("optSpace")->setChecked(true);
  EXPECT_TRUE(custom->isEnabled());
  EXPECT_EQ(QColor(128, 128, 128), custom->palette().color(QPalette::Base));
}

TEST_F(OptionsTest, FieldIdentifierItemsMoveTheMenuCheck) {
  Item("mnuSepTab")->trigger();
  EXPECT_TRUE(Find<QRadioButton>("optTab")->isChecked());
  EXPECT_TRUE(Item("mnuSepTab")->isChecked());
  EXPECT_FALSE(Item("mnuSepComma")->isChecked());
  Item("mnuSepTab")->trigger();
  EXPECT_TRUE(Item("mnuSepTab")->isChecked());
  Find<QRadioButton>("optSpace")->setChecked(true);
  EXPECT_TRUE(Item("mnuSepTab")->isChecked());
  Item("mnuSepCustom")->trigger();
  EXPECT_TRUE(Find<QRadioButton>("optCustom")->isChecked());
  EXPECT_TRUE(Find<QLineEdit>("txtChar")->isEnabled());
  EXPECT_FALSE(Item("mnuSepTab")->isChecked());
  EXPECT_TRUE(window->LayoutChanged());
}

TEST_F(OptionsTest, RowsItemsSetTheBoxAndTheirCheck) {
  const std::pair<const char*, const char*> items[] = {
      {"mnuRows8", "8"}, {"mnuRows15", "15"}, {"mnuRows25", "25"}, {"mnuRows25", "25"}};
  for (const auto& [name, rows] : items) {
    Item(name)->trigger();
    EXPECT_EQ(rows, Find<QLineEdit>("txtRows")->text());
    for (const char* other : {"mnuRows8", "mnuRows15", "mnuRows25"}) {
      EXPECT_EQ(std::string(other) == name, Item(other)->isChecked()) << other;
    }
  }
  EXPECT_TRUE(window->LayoutChanged());
}

TEST_F(OptionsTest, QualifierItemsSetTheBoxButNeverTheirChecks) {
  Item("mnuQuoteSingle")->trigger();
  EXPECT_EQ("'", Find<QComboBox>("cboTextChar")->currentText());
  Item("mnuQuoteDouble")->trigger();
  EXPECT_EQ("\"", Find<QComboBox>("cboTextChar")->currentText());
  EXPECT_TRUE(Item("mnuQuoteDouble")->isChecked());
  EXPECT_FALSE(Item("mnuQuoteSingle")->isChecked());
  EXPECT_FALSE(Item("mnuQuoteNone")->isChecked());
  EXPECT_TRUE(window->LayoutChanged());
}

TEST_F(OptionsTest, HeaderRowItemTogglesTheBoxAndResetsTheStartRow) {
  Find<QLineEdit>("txtStart")->setText("7");
  Item("mnuHeaderRow")->trigger();
  EXPECT_TRUE(Find<QCheckBox>("chkHeaderRow")->isChecked());
  EXPECT_EQ("1", Find<QLineEdit>("txtStart")->text());
  EXPECT_FALSE(Item("mnuHeaderRow")->isChecked());
  Find<QLineEdit>("txtStart")->setText("7");
  Item("mnuHeaderRow")->trigger();
  EXPECT_FALSE(Find<QCheckBox>("chkHeaderRow")->isChecked());
  EXPECT_EQ("7", Find<QLineEdit>("txtStart")->text());
  EXPECT_TRUE(window->LayoutChanged());
}

TEST_F(OptionsTest, OdbcOnlyItemAndBoxAgree) {
  Item("mnuODBCOnly")->trigger();
  EXPECT_FALSE(Find<QCheckBox>("chkODBCOnly")->isChecked());
  EXPECT_FALSE(Item("mnuODBCOnly")->isChecked());
  Find<QCheckBox>("chkODBCOnly")->click();
  EXPECT_TRUE(Item("mnuODBCOnly")->isChecked());
  EXPECT_FALSE(window->LayoutChanged());
}

struct BoxCase {
  const char* name;
  const char* box;
  const char* typed;
  std::vector<QString> messages;
  const char* after;
  bool changed;
};

void PrintTo(const BoxCase& boxCase, std::ostream* out) { *out << boxCase.name; }

class NumberBoxTest : public WindowTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(NumberBoxTest, LeavingTheBoxChecksIt) {
  Start();
  for (std::size_t i = 0; i < GetParam().messages.size(); ++i) dialogs.Expect(BoxKind::Inform);
  Enter(GetParam().box, GetParam().typed);
  EXPECT_EQ(GetParam().messages, dialogs.Texts());
  EXPECT_EQ(GetParam().after, Find<QLineEdit>(GetParam().box)->text());
  EXPECT_EQ(GetParam().changed, window->LayoutChanged());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, NumberBoxTest,
    ::testing::Values(
        BoxCase{"RowsTooMany", "txtRows", "30", {"Maximum of 25 rows for checking"}, "25", false},
        BoxCase{"RowsLetters", "txtRows", "abc", {"Must be a Number"}, "25", true},
        BoxCase{"RowsBlank", "txtRows", " ", {"Must be a Number"}, "25", true},
        BoxCase{"RowsAtMost", "txtRows", "25", {}, "25", true},
        BoxCase{"RowsNegative", "txtRows", "-3", {}, "-3", true},
        BoxCase{"StartDecimal", "txtStart", "1.5", {"Must be a Number"}, "1", false},
        BoxCase{"StartWhole", "txtStart", " 12 ", {}, " 12 ", true},
        BoxCase{"WidthLetter", "txtWidth", "x", {"Must be a Number"}, "255", false},
        BoxCase{"WidthWhole", "txtWidth", "40", {}, "40", true},
        BoxCase{"LengthLetter", "txtLength", "x", {"Must be a Number"}, "80", false}),
    [](const auto& info) { return std::string(info.param.name); });

// The settings are read once, at start: what the file says later is not the window's value.
TEST_F(OptionsTest, RejectedLineLengthTakesTheValueTheWindowStartedWith) {
  window.reset();
  WriteSettings("[Options]\r\nFixedLength=120\r\n");
  Start();
  WriteSettings("[Options]\r\nFixedLength=60\r\n");
  dialogs.Expect(BoxKind::Inform);
  Enter("txtLength", "8o");
  EXPECT_EQ("120", Find<QLineEdit>("txtLength")->text());
}

TEST_F(OptionsTest, AWholeNumberTheConverterRejectsStopsTheRowsCheck) {
  dialogs.Expect(BoxKind::Error);
  Enter("txtRows", "1e3");
  EXPECT_EQ("1e3", Find<QLineEdit>("txtRows")->text());
  EXPECT_FALSE(window->LayoutChanged());
}

}  // namespace
}  // namespace quorlin::testing
