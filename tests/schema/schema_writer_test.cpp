#include "schema/schema_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

FieldSpec Field(std::string name, std::string type, std::string width = "0",
                std::optional<std::string> format = std::nullopt) {
  return {std::move(name), std::move(type), std::move(width), std::move(format)};
}

FileLayout CommaWithHeader() {
  FileLayout layout;
  layout.separator = SeparatorKind::Comma;
  layout.hasHeaderRow = true;
  return layout;
}

FieldList OrderFields() {
  return {Field("OrderNo", "Long"), Field("Customer", "Char", "30"),
          Field("Placed", "Date", "0", "dd/MM/yyyy"), Field("Amount", "Float", "0", "")};
}

FileLayout FixedStock() {
  FileLayout layout;
  layout.separator = SeparatorKind::Fixed;
  layout.fixedLength = "41";
  return layout;
}

FieldList StockFields() {
  return {Field("Field1", "Char", "10"), Field("Field2", "Long", "6"),
          Field("Field3", "Char", "24")};
}

TEST(SchemaWriter, ExtendedFormOfACommaFile) {
  TempDir dir;
  const SaveOutcome outcome =
      SaveToSchema(dir.Path(), "orders.csv", CommaWithHeader(), OrderFields(), false, "");
  EXPECT_TRUE(outcome.written);
  EXPECT_SAME_BYTES(
      "[orders.csv]\r\n"
      "ColNameHeader=True\r\n"
      "Format=CSVDelimited\r\n"
      "MaxScanRows=25\r\n"
      "CharacterSet=OEM\r\n"
      "Col1=OrderNo Long\r\n"
      "Col2=Customer Char WIDTH 30\r\n"
      "Col3=Placed Date FMT dd/MM/yyyy\r\n"
      "Col4=Amount Float\r\n",
      ReadBytes(dir.File("Schema.INI")));
}

TEST(SchemaWriter, OdbcFormOfACommaFile) {
  TempDir dir;
  EXPECT_TRUE(
      SaveToSchema(dir.Path(), "orders.csv", CommaWithHeader(), OrderFields(), true, "").written);
  EXPECT_SAME_BYTES(
      "[orders.csv]\r\n"
      "ColNameHeader=True\r\n"
      "Format=CSVDelimited\r\n"
      "MaxScanRows=25\r\n"
      "CharacterSet=OEM\r\n"
      "Col1=OrderNo Integer\r\n"
      "Col2=Customer Char WIDTH 30\r\n"
      "Col3=Placed Date\r\n"
      "Col4=Amount Float\r\n",
      ReadBytes(dir.File("Schema.INI")));
}

TEST(SchemaWriter, FixedLengthFile) {
  TempDir dir;
  EXPECT_TRUE(SaveToSchema(dir.Path(), "stock.dat", FixedStock(), StockFields(), false, "").written);
  EXPECT_SAME_BYTES(
      "[stock.dat]\r\n"
      "ColNameHeader=False\r\n"
      "Format=FixedLength\r\n"
      "FixedLength=41\r\n"
      "MaxScanRows=25\r\n"
      "CharacterSet=OEM\r\n"
      "Col1=Field1 Char WIDTH 10\r\n"
      "Col2=Field2 Long WIDTH 6\r\n"
      "Col3=Field3 Char WIDTH 24\r\n",
      ReadBytes(dir.File("Schema.INI")));
}

TEST(SchemaWriter, EmptyFieldListWritesOnlyTheFileKeys) {
  TempDir dir;
  FileLayout layout = FixedStock();
  layout.rowsToScan = "8";
  EXPECT_TRUE(SaveToSchema(dir.Path(), "empty.dat", layout, {}, true, "").written);
  EXPECT_SAME_BYTES(
      "[empty.dat]\r\nColNameHeader=False\r\nFormat=FixedLength\r\nFixedLength=41\r\n"
      "MaxScanRows=8\r\nCharacterSet=OEM\r\n",
      ReadBytes(dir.File("Schema.INI")));
}

TEST(SchemaWriter, FormatValueByKind) {
  FileLayout layout;
  layout.customSeparator = ";";
  const std::pair<SeparatorKind, std::string> cases[] = {{SeparatorKind::Comma, "CSVDelimited"},
                                                         {SeparatorKind::Tab, "TABDelimited"},
                                                         {SeparatorKind::Space, "Delimited( )"},
                                                         {SeparatorKind::Custom, "Delimited(;)"},
                                                         {SeparatorKind::Fixed, "FixedLength"}};
  for (const auto& [kind, expected] : cases) {
    layout.separator = kind;
    EXPECT_EQ(expected, FormatValue(layout));
  }
  layout.separator = SeparatorKind::Custom;
  layout.customSeparator = "";
  EXPECT_EQ("Delimited()", FormatValue(layout));
}

// A section of a file read in a named set holds the character; one read as bytes (the legacy
// default) the Latin-1 byte its sections always held, so saving it again changes nothing.
TEST(SchemaWriter, ANonAsciiSeparatorIsSavedAsItsFileReadsIt) {
  FileLayout layout;
  layout.separator = SeparatorKind::Custom;
  layout.customSeparator = "\xC2\xA7";
  EXPECT_EQ("Delimited(\xA7)", FormatValue(layout));
  for (const char* set : {"UTF-8", "Windows-1252", "UTF-16LE"}) {
    layout.characterSet = *CharacterSet::Named(set);
    EXPECT_EQ("Delimited(\xC2\xA7)", FormatValue(layout)) << set;
  }
  layout.customSeparator = "\xE2\x80\xA0";
  EXPECT_EQ("Delimited(\xE2\x80\xA0)", FormatValue(layout));
}

TEST(SchemaWriter, OdbcTypeWordMapping) {
  const std::pair<std::string, std::string> cases[] = {
      {"Long", "Integer"},        {"long", "Integer"},
      {"LONG", "Integer"},        {"DateTime", "Date"},
      {"datetime", "Date"},       {"Time", "Date"},
      {"Timestamp", "Datestamp"}, {"LongTime", "IntegerDate"},
      {"LongChar", "LongChar"},   {"TimeChar", "TimeChar"},
      {"Char", "Char"},           {"Date", "Date"},
      {"Integer", "Integer"},     {"Currency", "Currency"},
      {"Unknown", "Unknown"},     {"", ""}};
  for (const auto& [word, expected] : cases) EXPECT_EQ(expected, OdbcTypeWord(word)) << word;
}

TEST(SchemaWriter, FieldEntryWidthIsComparedByteByByte) {
  const std::pair<std::string, std::string> cases[] = {{"0", "A Char"},
                                                       {"", "A Char"},
                                                       {"-1", "A Char"},
                                                       {" 5", "A Char"},
                                                       {"00", "A Char WIDTH 00"},
                                                       {"7", "A Char WIDTH 7"},
                                                       {"255", "A Char WIDTH 255"}};
  for (const auto& [width, expected] : cases) {
    EXPECT_EQ(expected, FieldEntry(Field("A", "Char", width), 1, true)) << width;
    EXPECT_EQ(expected, FieldEntry(Field("A", "Char", width), 1, false)) << width;
  }
}

TEST(SchemaWriter, FieldEntryFormatOnlyInTheExtendedForm) {
  EXPECT_EQ("D Date FMT dd MMM yy", FieldEntry(Field("D", "Date", "0", "dd MMM yy"), 1, false));
  EXPECT_EQ("D Date FMT  HH:mm ", FieldEntry(Field("D", "Date", "0", " HH:mm "), 1, false));
  EXPECT_EQ("D Date", FieldEntry(Field("D", "Date", "0", " \t"), 1, false));
  EXPECT_EQ("D Date", FieldEntry(Field("D", "Date", "0", ""), 1, false));
  EXPECT_EQ("D Date", FieldEntry(Field("D", "DateTime", "0", "HH:mm"), 1, true));
  EXPECT_EQ("D DateTime WIDTH 8 FMT HH:mm",
            FieldEntry(Field("D", "DateTime", "8", "HH:mm"), 1, false));
}

TEST(SchemaWriter, NamesNeedingNoQuotesAreWrittenAsBefore) {
  EXPECT_EQ("Amount Float", FieldEntry(Field("Amount", "Float"), 1, false));
  EXPECT_EQ("a\"b Char", FieldEntry(Field("a\"b", "Char"), 1, false));
  EXPECT_EQ("\"Price ($)\" Byte", FieldEntry(Field("Price ($)", "Byte"), 1, true));
  EXPECT_EQ("\"\"\"Q\"\" x\" Byte", FieldEntry(Field("\"Q\" x", "Byte"), 1, true));
  EXPECT_EQ("Field2 Byte", FieldEntry(Field(" ", "Byte"), 2, true));
}

TEST(SchemaWriter, MissingWidthIsCaseSensitiveAndExact) {
  EXPECT_EQ(std::nullopt, MissingWidthMessage({}));
  EXPECT_EQ(std::nullopt, MissingWidthMessage({Field("a", "char"), Field("b", "Char", "00"),
                                               Field("c", "Char", "-1"), Field("d", "Long")}));
  EXPECT_EQ(
      "Width for b has not been set",
      MissingWidthMessage({Field("a", "Char", "5"), Field("b", "LongChar"), Field("c", "Char")}));
}

TEST(SchemaWriter, SectionNameDropsTheFolder) {
  EXPECT_EQ("orders.csv", SectionNameFor("orders.csv"));
  EXPECT_EQ("orders.csv", SectionNameFor("/data/sales/orders.csv"));
  EXPECT_EQ("", SectionNameFor("/data/"));
}

TEST(SchemaWriter, SuccessMessagesNameTheFolderSectionAndForm) {
  TempDir dir;
  const std::string folder = dir.Path().substr(0, dir.Path().size() - 1);
  EXPECT_EQ(dir.Path() + "Schema.INI\n Has been updated With \n---> orders.csv\nand in ODBC Format",
            SaveToSchema(folder, "orders.csv", CommaWithHeader(), OrderFields(), true, "").message);
  EXPECT_EQ(
      dir.Path() + "Schema.INI\n Has been updated With \n---> orders.csv\nand in Extended Format",
      SaveToSchema(dir.Path(), "orders.csv", CommaWithHeader(), OrderFields(), false, "").message);
}

TEST(SchemaWriter, SavingAgainTouchesNoOtherSectionOrComment) {
  TempDir dir;
  const std::string before =
      "; written by hand\r\n"
      "[a.csv]\r\n"
      "ColNameHeader=False\r\n"
      "Format=TABDelimited\r\n"
      "Col1=x Char WIDTH 3\r\n"
      "\r\n"
      "[orders.csv]\r\n"
      "Format=CSVDelimited\r\n"
      "Extra=kept by another tool\r\n"
      "Col1=old Char WIDTH 9\r\n"
      "[z.txt]\r\n"
      "Col1=y Integer\r\n";
  WriteBytes(dir.File("Schema.INI"), before);
  ASSERT_TRUE(
      SaveToSchema(dir.Path(), "orders.csv", CommaWithHeader(), OrderFields(), true, "").written);
  const std::string section =
      "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
      "CharacterSet=OEM\r\nCol1=OrderNo Integer\r\nCol2=Customer Char WIDTH 30\r\n"
      "Col3=Placed Date\r\nCol4=Amount Float\r\n";
  const std::string others =
      "; written by hand\r\n[a.csv]\r\nColNameHeader=False\r\nFormat=TABDelimited\r\n"
      "Col1=x Char WIDTH 3\r\n\r\n[z.txt]\r\nCol1=y Integer\r\n";
  EXPECT_SAME_BYTES(others + section, ReadBytes(dir.File("Schema.INI")));

  ASSERT_TRUE(
      SaveToSchema(dir.Path(), "orders.csv", CommaWithHeader(), {Field("Only", "Char", "4")}, true, "")
          .written);
  EXPECT_SAME_BYTES(others +
                        "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\n"
                        "MaxScanRows=25\r\nCharacterSet=OEM\r\nCol1=Only Char WIDTH 4\r\n",
                    ReadBytes(dir.File("Schema.INI")));
}

TEST(SchemaWriter, WritesIntoASchemaFileOfAnyLetterCase) {
  TempDir dir;
  WriteBytes(dir.File("schema.ini"), "[a.csv]\nCol1=x Char\n");
  const SaveOutcome outcome = SaveToSchema(dir.Path(), "b.csv", CommaWithHeader(), {}, true, "");
  EXPECT_TRUE(outcome.written);
  EXPECT_EQ(0u, outcome.message.find(dir.Path() + "Schema.INI\n"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("Schema.INI")));
  EXPECT_SAME_BYTES(
      "[a.csv]\nCol1=x Char\n[b.csv]\nColNameHeader=True\nFormat=CSVDelimited\nMaxScanRows=25\n"
      "CharacterSet=OEM\n",
      ReadBytes(dir.File("schema.ini")));
}

TEST(SchemaWriter, ReadOnlySchemaFileIsReportedAndLeftAlone) {
  TempDir dir;
  const std::string before = "[orders.csv]\r\nCol1=old Char WIDTH 9\r\n";
  WriteBytes(dir.File("Schema.INI"), before);
  ASSERT_EQ(0, ::chmod(dir.File("Schema.INI").c_str(), 0444));
  const SaveOutcome outcome =
      SaveToSchema(dir.Path(), "orders.csv", CommaWithHeader(), OrderFields(), true, "");
  EXPECT_FALSE(outcome.written);
  EXPECT_EQ(dir.Path() + "Schema.INI\n Has NOT been updated with \n---> orders.csv",
            outcome.message);
  EXPECT_SAME_BYTES(before, ReadBytes(dir.File("Schema.INI")));
}

TEST(SchemaWriter, AnEntryWithALineBreakFailsBeforeTheOldSectionIsErased) {
  TempDir dir;
  const std::string before = "[orders.csv]\r\nCol1=old Char WIDTH 9\r\n";
  WriteBytes(dir.File("Schema.INI"), before);
  const SaveOutcome outcome =
      SaveToSchema(dir.Path(), "orders.csv", CommaWithHeader(),
                   {Field("ok", "Char", "3"), Field("a\nb", "Char", "3")}, true, "");
  EXPECT_FALSE(outcome.written);
  EXPECT_SAME_BYTES(before, ReadBytes(dir.File("Schema.INI")));
  EXPECT_FALSE(SaveToSchema(dir.Path(), "new\r.csv", CommaWithHeader(), {}, true, "").written);
  EXPECT_SAME_BYTES(before, ReadBytes(dir.File("Schema.INI")));
}

}  // namespace
}  // namespace quorlin
