// The open-file model: Refresh, opening with a saved layout, the break marks and the field
// commands, as the window and the command line run them.
#include "schema/open_file.h"

#include <gtest/gtest.h>

#include "platform/file_error.h"
#include "schema/schema_reader.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

using Names = std::vector<std::string>;

const char kCsv[] = "Name,Born,Amount\r\nAnna,1990/01/02,12.5\r\nBob,1985/07/30,7\r\n";
// Fields of widths 10, 6 and 7: the longest line is 23, so the line length is 24.
const char kStock[] =
    "CODE,QTY,NAME\r\n"
    "A100      12    Bolts  \r\n"
    "B200      7     Nuts   \r\n"
    "C300      140   Washers\r\n";

Names WidthsText(const std::vector<long long>& widths) {
  Names texts;
  for (const long long width : widths) texts.push_back(std::to_string(width));
  return texts;
}

class OpenFileTest : public ::testing::Test {
 protected:
  // Chooses `name` in the data folder with `bytes` as its contents.
  void Choose(const std::string& name, const std::string& bytes) {
    WriteBytes(dir.File(name), bytes);
    file.SetFolder(dir.Path());
    file.ChooseFile(dir.File(name), dir.File(name));
  }

  void ChooseFixed(const std::string& name, const std::string& bytes) {
    Choose(name, bytes);
    file.ChooseSeparator(SeparatorKind::Fixed);
    file.Refresh();
  }

  ProfileFile Schema(const std::string& bytes) {
    WriteBytes(dir.File("Schema.INI"), bytes);
    return ProfileFile(dir.File("Schema.INI"));
  }

  Names Column(std::string FieldSpec::*member) {
    Names cells;
    for (const FieldSpec& field : file.Fields()) cells.push_back(field.*member);
    return cells;
  }

  void Add(const std::string& name, const std::string& type, const std::string& width) {
    ASSERT_EQ(std::nullopt, file.Add({name, type, width, std::nullopt}, LocaleSettings{}));
  }

  // Three fields A, B, C of widths 10, 6 and 7 with their breaks at 11 and 17.
  void ThreeFixedFields() {
    ChooseFixed("stock.dat", kStock);
    ASSERT_TRUE(file.ToggleBreak(11));
    ASSERT_TRUE(file.ToggleBreak(17));
    Add("A", "Char", "10");
    Add("B", "Long", "6");
    Add("C", "Char", "7");
  }

  TempDir dir;
  OpenFile file;
};

TEST_F(OpenFileTest, RefreshPreviewsWithOneUntypedFieldPerColumn) {
  Choose("orders.csv", kCsv);
  file.MarkLayoutChanged();
  file.Refresh();
  EXPECT_EQ(ViewKind::Delimited, file.View());
  EXPECT_EQ((Names{"1", "2", "3"}), file.Preview().numbers);
  EXPECT_EQ((Names{"Field1", "Field2", "Field3"}), file.Preview().names);
  ASSERT_EQ(3u, file.Preview().rows.size());
  EXPECT_EQ((Names{"Bob", "1985/07/30", "7"}), file.Preview().rows[2]);
  EXPECT_EQ((FieldList{{"Field1", "Unknown", "0", std::nullopt},
                       {"Field2", "Unknown", "0", std::nullopt},
                       {"Field3", "Unknown", "0", std::nullopt}}),
            file.Fields());
  EXPECT_EQ(0, file.Selected());
  EXPECT_EQ(0, file.MarkedColumn());
  EXPECT_FALSE(file.LayoutChanged());
}

TEST_F(OpenFileTest, ANumberThatIsNoWholeNumberStopsRefreshBeforeTheFileIsRead) {
  Choose("orders.csv", kCsv);
  file.Refresh();
  file.SetStartRow("1e3");
  EXPECT_THROW(file.Refresh(), ConversionError);
  EXPECT_TRUE(file.Fields().empty()) << "the view was switched, the file not read";
  EXPECT_EQ(1u, file.Preview().rows.size());
  file.SetStartRow("2");
  file.SetHeaderRow(true);
  EXPECT_EQ("1", file.Layout().startRow);
  EXPECT_TRUE(file.LayoutChanged());
  file.Refresh();
  EXPECT_EQ((Names{"Name", "Born", "Amount"}), file.Preview().names);
  EXPECT_EQ(2u, file.Preview().rows.size());
}

TEST_F(OpenFileTest, ADelimitedSeparatorEmptiesTheGridAndTheFieldsAtOnce) {
  ChooseFixed("orders.csv", kCsv);
  ASSERT_EQ(ViewKind::Fixed, file.View());
  file.ChooseSeparator(SeparatorKind::Comma);
  EXPECT_EQ(ViewKind::Delimited, file.View());
  EXPECT_TRUE(file.Fields().empty());
  EXPECT_EQ(1u, file.Preview().rows.size());
  EXPECT_TRUE(file.LayoutChanged());
  file.ClearLayoutChanged();
  file.ChooseSeparator(SeparatorKind::Fixed);
  EXPECT_EQ(ViewKind::Delimited, file.View()) << "Fixed Length waits for Refresh";
  EXPECT_FALSE(file.LayoutChanged());
}

TEST_F(OpenFileTest, TheRulerTakesLineTwoWidenedByTheLongestScannedLine) {
  ChooseFixed("stock.dat", kStock);
  EXPECT_EQ(ViewKind::Fixed, file.View());
  EXPECT_EQ(24, file.LineLength());
  EXPECT_EQ("24", file.Layout().fixedLength);
  EXPECT_EQ("CODE,QTY,NAME", file.Ruler().title);
  EXPECT_EQ(3u, file.Ruler().lines.size());
  EXPECT_EQ(1, file.FixedFieldCount());
  EXPECT_TRUE(file.Fields().empty());
  EXPECT_FALSE(file.LayoutChanged());

  // Lines of 10, 20 and 15 characters from the start row on make 21.
  Choose("short.dat", "title\r\n" + std::string(10, 'a') + "\r\n" + std::string(20, 'b') + "\r\n" +
                          std::string(15, 'c') + "\r\n" + std::string(40, 'd') + "\r\n");
  file.SetStartRow("2");
  file.SetRowsToScan("3");
  file.Refresh();
  EXPECT_EQ(21, file.LineLength());

  file.SetLineLength("30");
  file.Refresh(RulerLength::FromLayout);
  EXPECT_EQ(30, file.LineLength());
  file.SetLineLength("2");
  file.Refresh(RulerLength::FromLayout);
  EXPECT_EQ(21, file.LineLength());
}

TEST_F(OpenFileTest, BreaksAreListedUpToTheLineAndCountedBeyondIt) {
  ChooseFixed("stock.dat", kStock);
  EXPECT_TRUE(file.ToggleBreak(11));
  EXPECT_TRUE(file.LayoutChanged());
  EXPECT_TRUE(file.ToggleBreak(1));
  EXPECT_EQ((std::vector<int>{1, 11}), file.ListedBreaks());
  EXPECT_EQ(3, file.FixedFieldCount());
  EXPECT_TRUE(file.ToggleBreak(11));
  EXPECT_EQ(std::vector<int>{1}, file.ListedBreaks());
  EXPECT_EQ(2, file.FixedFieldCount());

  EXPECT_TRUE(file.ToggleBreak(26));
  EXPECT_EQ(std::vector<int>{1}, file.ListedBreaks());
  EXPECT_EQ(3, file.FixedFieldCount());
  EXPECT_EQ("Field Count (2) and LineBreaks (3) do not agree", file.Guess(LocaleSettings{}));
  EXPECT_TRUE(file.Fields().empty());
  EXPECT_FALSE(file.ToggleBreak(kMaxBreakPosition + 1));
  EXPECT_EQ(3, file.FixedFieldCount());
}

TEST_F(OpenFileTest, GuessingBuildsTheFixedFieldsFromTheBreaksOrTypesTheGridsFields) {
  ChooseFixed("stock.dat", kStock);
  file.SetNumberingBase(0);
  file.ToggleBreak(17);
  file.ToggleBreak(11);
  file.ClearLayoutChanged();
  EXPECT_EQ(std::nullopt, file.Guess(LocaleSettings{}));
  EXPECT_EQ((Names{"Field0", "Field1", "Field2"}), Column(&FieldSpec::name));
  EXPECT_EQ((Names{"10", "6", "7"}), Column(&FieldSpec::width));
  EXPECT_EQ(0, file.Selected());
  EXPECT_TRUE(file.LayoutChanged());

  Choose("counts.csv", "Name,Count,Ok\r\nAnna,300,Yes\r\nBob,7,No\r\n");
  file.ChooseSeparator(SeparatorKind::Comma);
  file.SetHeaderRow(true);
  file.Refresh();
  file.Select(1);
  EXPECT_EQ(std::nullopt, file.Guess(LocaleSettings{}));
  EXPECT_EQ((Names{"Char", "Long", "Bit"}), Column(&FieldSpec::typeName));
  EXPECT_EQ(0, file.Selected());
}

// Values that tell the file's conventions are read with them, whatever the locale says.
TEST_F(OpenFileTest, GuessTakesTheDateOrderAndDecimalSymbolTheValuesTell) {
  Choose("customers.csv", "Name,Born,Amount\r\nAnna,15/01/2002,12.5\r\nBob,03/11/1998,7.25\r\n");
  file.SetHeaderRow(true);
  file.Refresh();
  LocaleSettings german;
  german.shortDateFormat = "dd.MM.yyyy";
  german.dateSeparator = '.';
  german.decimalSeparator = ',';
  EXPECT_EQ(std::nullopt, file.Guess(german));
  EXPECT_EQ((FileConventions{"dd/mm/yyyy", "."}), file.Layout().conventions);
  EXPECT_EQ((Names{"Char", "Date", "Float"}), Column(&FieldSpec::typeName));

  // A choice made by the user stays.
  Choose("plain.csv", "When,Value\r\n15/01/2002,1\r\n");
  file.SetHeaderRow(true);
  file.Refresh();
  file.SetConventions({"mm/dd/yyyy", ""});
  EXPECT_EQ(std::nullopt, file.Guess(LocaleSettings{}));
  EXPECT_EQ((FileConventions{"mm/dd/yyyy", ""}), file.Layout().conventions);
}

struct DeleteCase {
  const char* name;
  int deleted;
  Names names;
  Names widths;
  int keptBreak;
};

void PrintTo(const DeleteCase& deleteCase, std::ostream* out) { *out << deleteCase.name; }

class FixedDeleteTest : public OpenFileTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(FixedDeleteTest, MergesTheWidthAndRemovesTheBreakBetween) {
  const DeleteCase& deleteCase = GetParam();
  ThreeFixedFields();
  ASSERT_EQ(3, file.FixedFieldCount());
  file.Select(deleteCase.deleted);
  EXPECT_EQ(std::nullopt, file.Delete());

  EXPECT_EQ(deleteCase.names, Column(&FieldSpec::name));
  EXPECT_EQ(deleteCase.widths, Column(&FieldSpec::width));
  EXPECT_EQ(std::vector<int>{deleteCase.keptBreak}, file.ListedBreaks());
  EXPECT_EQ(2, file.FixedFieldCount());
  EXPECT_EQ(std::max(deleteCase.deleted - 1, 0), file.Selected());
  // The widths the breaks make are the widths the list holds.
  EXPECT_EQ(deleteCase.widths, WidthsText(WidthsFromBreaks(file.ListedBreaks(), file.LineLength())));

  // A second delete leaves one field of the whole record and no break.
  file.Select(0);
  file.Delete();
  EXPECT_EQ(Names{"23"}, Column(&FieldSpec::width));
  EXPECT_TRUE(file.ListedBreaks().empty());
  EXPECT_EQ(1, file.FixedFieldCount());
}

INSTANTIATE_TEST_SUITE_P(Fields, FixedDeleteTest,
                         ::testing::Values(DeleteCase{"First", 0, {"B", "C"}, {"16", "7"}, 17},
                                           DeleteCase{"Middle", 1, {"A", "C"}, {"16", "7"}, 17},
                                           DeleteCase{"Last", 2, {"A", "B"}, {"10", "13"}, 11}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OpenFileTest, TheFieldCommandsFollowTheirRules) {
  Choose("people.csv", "Anna,Hamburg,,31\r\nBob,Bremen,,42\r\nCarla Koch,Munich, ,7\r\n");
  file.Refresh();
  EXPECT_EQ("10", file.WidthForType("Char", "0")) << "Carla Koch";
  EXPECT_TRUE(file.LayoutChanged());
  EXPECT_EQ("0", file.WidthForType("Integer", "12"));
  file.Select(2);
  EXPECT_EQ("-1", file.WidthForType("Char", "0")) << "every cell blank";
  EXPECT_EQ(2, file.MarkedColumn());

  EXPECT_EQ("Need: Name, Type[, Width]", file.Add({"Extra", "Char", "x", std::nullopt}, LocaleSettings{}));
  file.SetRowsToScan(" ");
  EXPECT_EQ("Need: Name, Type[, Width]", file.Add({"Extra", "Char", "5", std::nullopt}, LocaleSettings{}));
  file.SetRowsToScan("25");
  Add("Extra", "Date", "2.5");
  EXPECT_EQ((FieldSpec{"Extra", "Date", "2.5", std::nullopt}), file.Fields().back());
  EXPECT_EQ(2, file.Selected()) << "ADD keeps the selection";

  EXPECT_EQ(std::nullopt, file.Modify({"", "Whatever", "3", "dd/MM/yy"}));
  EXPECT_EQ((FieldSpec{"", "Whatever", "3", "dd/MM/yy"}), file.Fields()[2]);
  EXPECT_EQ("", file.Preview().names[2]);

  file.Delete();
  EXPECT_EQ((Names{"Field1", "Field2", "Field4", "Extra"}), Column(&FieldSpec::name));
  EXPECT_EQ(1, file.Selected());
  while (!file.Fields().empty()) file.Delete();
  EXPECT_EQ(-1, file.Selected());
  EXPECT_EQ("No Field Selected", file.Delete());
  EXPECT_EQ("No Field Selected", file.Modify({"a", "b", "c", std::nullopt}));
}

TEST_F(OpenFileTest, ADelimitedSectionOpensWithItsLayoutAndNames) {
  Choose("p.txt", "Name;Born;Amount\r\nAnna;1990/01/02;12.5\r\n");
  file.SetStartRow("3");
  file.MarkLayoutChanged();
  const ProfileFile schema =
      Schema("[p.txt]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\nMaxScanRows=15\r\n"
             "CharacterSet=OEM\r\nCol1=Who Char WIDTH 20\r\nCol2=Born Date FMT yyyy/MM/dd\r\n"
             "Col3=Amount Float\r\nCol4=Extra Char\r\n");
  EXPECT_EQ(SavedLayoutRead::Read, file.OpenWithSavedLayout(schema, "p.txt"));
  EXPECT_EQ(SeparatorKind::Custom, file.Layout().separator);
  EXPECT_EQ(";", file.Layout().customSeparator);
  EXPECT_TRUE(file.Layout().hasHeaderRow);
  EXPECT_EQ("1", file.Layout().startRow);
  EXPECT_EQ("15", file.Layout().rowsToScan);
  EXPECT_EQ((FieldList{{"Who", "Char", "20", ""}, {"Born", "Date", "0", "yyyy/MM/dd"}, {"Amount", "Float", "0", ""}}),
            file.Fields())
      << "entries past the file's columns are not read";
  EXPECT_EQ((Names{"Who", "Born", "Amount"}), file.Preview().names);
  EXPECT_EQ((Names{"Anna", "1990/01/02", "12.5"}), file.Preview().rows[0]);
  EXPECT_EQ(0, file.Selected());
  EXPECT_FALSE(file.LayoutChanged());
}

TEST_F(OpenFileTest, AFixedSectionSetsItsBreaksAndListsThosePastTheLine) {
  Choose("stock.dat", kStock);
  const ProfileFile schema =
      Schema("[stock.dat]\r\nFormat=FixedLength\r\nFixedLength=24\r\nCol1=Code Char WIDTH 10\r\n"
             "Col2=Qty Integer WIDTH 20\r\nCol3=Name Char WIDTH 7\r\n");
  EXPECT_EQ(SavedLayoutRead::Read, file.OpenWithSavedLayout(schema, "stock.dat"));
  EXPECT_EQ(ViewKind::Fixed, file.View());
  EXPECT_EQ(24, file.LineLength());
  EXPECT_EQ((std::vector<int>{11, 31}), file.ListedBreaks());
  EXPECT_TRUE(file.Breaks().IsSet(31));
  EXPECT_EQ(3, file.FixedFieldCount());
  EXPECT_EQ((Names{"10", "20", "7"}), Column(&FieldSpec::width));
  EXPECT_FALSE(file.LayoutChanged());

  // A saved layout brings its own record length, widened by the file's longest line.
  Schema("[stock.dat]\r\nFormat=FixedLength\r\nFixedLength=41\r\nCol1=Code Char WIDTH 41\r\n");
  file.OpenWithSavedLayout(schema, "stock.dat");
  EXPECT_EQ(41, file.LineLength());
  Schema("[stock.dat]\r\nFormat=FixedLength\r\nFixedLength=5\r\nCol1=Code Char WIDTH 5\r\n");
  file.OpenWithSavedLayout(schema, "stock.dat");
  EXPECT_EQ(24, file.LineLength());
}

TEST_F(OpenFileTest, ASectionWithoutFieldsChangesNothing) {
  Choose("orders.csv", kCsv);
  file.Refresh();
  file.MarkLayoutChanged();
  const OpenFile before = file;
  EXPECT_EQ(SavedLayoutRead::NoFields,
            file.OpenWithSavedLayout(Schema("[orders.csv]\r\nColNameHeader=True\r\nFormat=TABDelimited\r\n"),
                                     "orders.csv"));
  EXPECT_EQ(before.Layout(), file.Layout());
  EXPECT_EQ(before.Fields(), file.Fields());
  EXPECT_TRUE(file.LayoutChanged());
  EXPECT_EQ(SavedLayoutRead::NoFields, file.OpenWithSavedLayout(ProfileFile(dir.File("none.ini")), "x"));
}

TEST_F(OpenFileTest, AMalformedFixedWidthLeavesTheKeysAppliedWithoutFields) {
  Choose("stock.dat", kStock);
  file.Refresh();
  const ProfileFile schema =
      Schema("[stock.dat]\r\nFormat=FixedLength\r\nFixedLength=30\r\nCol1=Code Char WIDTH 10\r\n"
             "Col2=Qty Integer WIDTH 6x\r\n");
  EXPECT_THROW(file.OpenWithSavedLayout(schema, "stock.dat"), SchemaError);
  EXPECT_EQ(ViewKind::Fixed, file.View());
  EXPECT_EQ("30", file.Layout().fixedLength);
  EXPECT_TRUE(file.Fields().empty());
  EXPECT_TRUE(file.ListedBreaks().empty());
  EXPECT_FALSE(file.LayoutChanged()) << "nothing may offer to save over the entry";

  Schema("[stock.dat]\r\nFormat=CSVDelimited\r\nMaxScanRows=abc\r\nCol1=a Char\r\n");
  EXPECT_THROW(file.OpenWithSavedLayout(schema, "stock.dat"), ConversionError);
  EXPECT_FALSE(file.LayoutChanged());
}

TEST_F(OpenFileTest, AdjustingTheSavedLayoutComesBeforeTheFileIsRead) {
  Choose("stock.dat", kStock);
  const ProfileFile schema = Schema("[stock.dat]\r\nFormat=FixedLength\r\nFixedLength=24\r\nCol1=Code Char WIDTH 24\r\n");
  file.OpenWithSavedLayout(schema, "stock.dat", [](FileLayout& layout) { layout.fixedLength = "70"; });
  EXPECT_EQ(70, file.LineLength());
}

TEST_F(OpenFileTest, SaveWritesTheInputBoxSectionIntoTheListedFolder) {
  Choose("orders.csv", kCsv);
  file.Refresh();
  file.Select(0);
  file.Modify({"Who", "Char", "0", std::nullopt});
  EXPECT_EQ("Width for Who has not been set", file.CheckWidthsSet());
  file.Modify({"Who", "Char", "20", std::nullopt});
  EXPECT_EQ(std::nullopt, file.CheckWidthsSet());
  const SaveOutcome outcome = file.Save(true);
  EXPECT_TRUE(outcome.written);
  EXPECT_FALSE(file.LayoutChanged());
  EXPECT_SAME_BYTES(
      "[orders.csv]\r\nColNameHeader=False\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\nCharacterSet=OEM\r\n"
      "Col1=Who Char WIDTH 20\r\nCol2=Field2 Unknown\r\nCol3=Field3 Unknown\r\n",
      ReadBytes(dir.File("Schema.INI")));
}

TEST_F(OpenFileTest, TheInputBoxIsAFullPathOrANameInTheFolder) {
  file.SetFolder(dir.Path());
  file.SetInputText("a.csv");
  EXPECT_EQ(dir.File("a.csv"), file.InputBoxPath());
  EXPECT_EQ("a.csv", file.SectionName());
  file.SetInputText("/elsewhere/b.csv");
  EXPECT_EQ("/elsewhere/b.csv", file.InputBoxPath());
  EXPECT_EQ("b.csv", file.SectionName());
  EXPECT_EQ("", file.InputPath()) << "typing in the box does not choose a file";
}

TEST_F(OpenFileTest, AMissingFileStopsRefreshWithTheFileNamed) {
  file.ChooseFile(dir.File("absent.csv"), "absent.csv");
  EXPECT_THROW(file.Refresh(), FileError);
  file.ChooseSeparator(SeparatorKind::Fixed);
  EXPECT_THROW(file.Refresh(), FileError);
}

}  // namespace
}  // namespace quorlin
