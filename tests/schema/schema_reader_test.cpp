#include "schema/schema_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "support/case_names.h"

#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

class SchemaReaderTest : public ::testing::Test {
 protected:
  ProfileFile Schema(const std::string& bytes) {
    WriteBytes(dir_.File("Schema.INI"), bytes);
    return ProfileFile(dir_.File("Schema.INI"));
  }

  TempDir dir_;
};

struct FormatCase {
  const char* value;
  SeparatorKind kind;
  const char* custom;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << "Format " << c.value; }

class FormatParsingTest : public SchemaReaderTest,
                          public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatParsingTest, PicksTheSeparator) {
  const FormatCase& c = GetParam();
  const SavedLayout saved =
      ReadSavedLayout(Schema(std::string("[f]\nFormat=") + c.value + "\n"), "f");
  EXPECT_EQ(c.kind, saved.separator);
  EXPECT_EQ(c.custom, saved.customSeparator);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatParsingTest,
                         ::testing::Values(FormatCase{"CSVDelimited", SeparatorKind::Comma, ""},
                                           FormatCase{"csvdelimited", SeparatorKind::Comma, ""},
                                           FormatCase{"TABDelimited", SeparatorKind::Tab, ""},
                                           FormatCase{"Delimited(tab)", SeparatorKind::Tab, ""},
                                           FormatCase{"Delimited( )", SeparatorKind::Space, ""},
                                           FormatCase{"DELIMITED( )", SeparatorKind::Space, ""},
                                           FormatCase{"Delimited(;)", SeparatorKind::Custom, ";"},
                                           FormatCase{"Delimited(a)", SeparatorKind::Custom, "a"},
                                           FormatCase{"Delimited()", SeparatorKind::Custom, ")"},
                                           FormatCase{"Delimited(", SeparatorKind::Custom, ""},
                                           // The character as UTF-8, or as the Latin-1 byte that
                                           // sections of files read as bytes have always held.
                                           FormatCase{"Delimited(\xC2\xA7)", SeparatorKind::Custom, "\xC2\xA7"},
                                           FormatCase{"Delimited(\xA7)", SeparatorKind::Custom, "\xC2\xA7"},
                                           FormatCase{"Delimited(\xE2\x80\xA0)", SeparatorKind::Custom, "\xE2\x80\xA0"},
                                           FormatCase{"FixedLength", SeparatorKind::Fixed, ""},
                                           FormatCase{"anything", SeparatorKind::Fixed, ""},
                                           FormatCase{"", SeparatorKind::Fixed, ""}),
                         testing::PrintedCaseName{});

TEST_F(SchemaReaderTest, AnUnknownCharacterSetIsRefusedNamingTheSectionKeyAndValue) {
  try {
    ReadSavedLayout(Schema("[f.csv]\nCharacterSet=KOI9\nCol1=a Char\n"), "f.csv");
    FAIL() << "no SchemaError";
  } catch (const SchemaError& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("Schema.INI [f.csv] CharacterSet=KOI9 names no character set"))
        << error.what();
  }
}

TEST_F(SchemaReaderTest, MissingKeysTakeTheirDefaults) {
  const SavedLayout saved = ReadSavedLayout(Schema("[f]\nCol1=a Char\n"), "f");
  EXPECT_EQ(SeparatorKind::Comma, saved.separator);
  EXPECT_FALSE(saved.hasHeaderRow);
  EXPECT_EQ("80", saved.fixedLength);
  EXPECT_EQ("25", saved.rowsToScan);
}

TEST_F(SchemaReaderTest, HeaderRowOnlyForTrueAsWritten) {
  for (const auto& [value, expected] : {std::pair{"True", true},
                                        {"true", false},
                                        {"TRUE", false},
                                        {"1", false},
                                        {"False", false}}) {
    EXPECT_EQ(expected,
              ReadSavedLayout(Schema(std::string("[f]\nColNameHeader=") + value + "\n"), "f")
                  .hasHeaderRow)
        << value;
  }
}

TEST_F(SchemaReaderTest, NumbersAreCopiedAsText) {
  const SavedLayout saved =
      ReadSavedLayout(Schema("[f]\nFormat=FixedLength\nFixedLength=x12\nMaxScanRows=40\n"), "f");
  EXPECT_EQ("x12", saved.fixedLength);
  EXPECT_EQ("40", saved.rowsToScan);
}

TEST_F(SchemaReaderTest, SectionWithoutCol1HasNoFields) {
  const ProfileFile file =
      Schema("[a.csv]\nFormat=CSVDelimited\nCol2=b Char\n[b.csv]\nCol1=x Char\n");
  EXPECT_FALSE(SectionHasFields(file, "a.csv"));
  EXPECT_TRUE(SectionHasFields(file, "B.CSV"));
  EXPECT_FALSE(SectionHasFields(file, "c.csv"));
  EXPECT_EQ("a.csvhas no associated fields", NoFieldsMessage("a.csv"));
  EXPECT_TRUE(ReadDelimitedFields(file, "a.csv", 5).empty());
  EXPECT_TRUE(ReadFixedFields(file, "a.csv").empty());
}

TEST_F(SchemaReaderTest, DelimitedEntriesExamineOnlyTheThirdToken) {
  const FieldList fields = ReadDelimitedFields(Schema("[f]\n"
                                                      "Col1=Amount Char WIDTH 10 FMT dd/MM/yy\n"
                                                      "Col2=Placed Date FMT dd/MM/yy\n"
                                                      "Col3=Code char width 5\n"
                                                      "Col4=Order No\n"
                                                      "Col5=Solo\n"
                                                      "Col6=Price Float WIDTH\n"
                                                      "Col7=\"Unit Price\" Currency\n"),
                                               "f", 10);
  const FieldList expected = {{"Amount", "Char", "10", ""},
                              {"Placed", "Date", "0", "dd/MM/yy"},
                              {"Code", "char", "5", ""},
                              {"Order", "No", "0", ""},
                              {"Solo", "", "0", ""},
                              {"Price", "Float", "0", ""},
                              {"Unit Price", "Currency", "0", ""}};
  EXPECT_EQ(expected, fields);
}

TEST_F(SchemaReaderTest, DelimitedEntriesStopAtTheColumnCountOrTheFirstGap) {
  const ProfileFile five =
      Schema("[f]\nCol1=a Char\nCol2=b Char\nCol3=c Char\nCol4=d Char\nCol5=e Char\n");
  EXPECT_EQ(3u, ReadDelimitedFields(five, "f", 3).size());
  EXPECT_EQ(5u, ReadDelimitedFields(five, "f", 9).size());
  EXPECT_EQ(0u, ReadDelimitedFields(five, "f", 0).size());
  const ProfileFile gap = Schema("[f]\nCol1=a Char\nCol2=b Char\nCol4=d Char\n");
  EXPECT_EQ(2u, ReadDelimitedFields(gap, "f", 3).size());
  EXPECT_EQ(2u, ReadFixedFields(Schema("[f]\nCol1=a Char W 1\nCol2=b Char W 2\nCol4=d Char W 3\n"),
                                "f")
                    .size());
}

TEST_F(SchemaReaderTest, FixedEntriesTakeWidthAtTheFourthAndFormatAtTheSixthToken) {
  const FieldList fields = ReadFixedFields(Schema("[stock.dat]\n"
                                                  "Col1=Field1 Char WIDTH 10\n"
                                                  "Col2=Placed Date any 8 FMT dd MMM yy\n"
                                                  "Col3=Stamp DateTime WIDTH 19 FMT\n"
                                                  "Col4=\"Unit Price\" Float WIDTH 0\n"),
                                           "stock.dat");
  const FieldList expected = {{"Field1", "Char", "10", ""},
                              {"Placed", "Date", "8", "dd"},
                              {"Stamp", "DateTime", "19", ""},
                              {"Unit Price", "Float", "0", ""}};
  EXPECT_EQ(expected, fields);
  EXPECT_EQ((std::vector<long long>{10, 8, 19, 0}), FieldWidths(fields));
}

TEST_F(SchemaReaderTest, FixedEntriesEndAfter1024) {
  std::string bytes = "[f]\n";
  for (int n = 1; n <= 1030; ++n) bytes += "Col" + std::to_string(n) + "=F Char WIDTH 1\n";
  EXPECT_EQ(1024u, ReadFixedFields(Schema(bytes), "f").size());
}

struct BadWidthCase {
  const char* entry;
  const char* message;
};

void PrintTo(const BadWidthCase& c, std::ostream* os) { *os << "Col2=" << c.entry; }

class BadFixedWidthTest : public SchemaReaderTest,
                          public ::testing::WithParamInterface<BadWidthCase> {};

TEST_P(BadFixedWidthTest, RaisesWithTheEntryNamed) {
  const ProfileFile file = Schema(std::string("[stock.dat]\nCol1=Field1 Char WIDTH 10\nCol2=") +
                                  GetParam().entry + "\n");
  try {
    ReadFixedFields(file, "stock.dat");
    FAIL() << "no SchemaError for " << GetParam().entry;
  } catch (const SchemaError& error) {
    EXPECT_STREQ(GetParam().message, error.what());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, BadFixedWidthTest,
    ::testing::Values(
        BadWidthCase{"Field2 Char WIDTH 12abc",
                     "Schema.INI [stock.dat] Col2: the width \"12abc\" is not a whole number"},
        BadWidthCase{"Field2 Char WIDTH 1.5",
                     "Schema.INI [stock.dat] Col2: the width \"1.5\" is not a whole number"},
        BadWidthCase{"Field2 Char WIDTH -5",
                     "Schema.INI [stock.dat] Col2: the width \"-5\" is negative"},
        BadWidthCase{"Field2 Char WIDTH 99999999999",
                     "Schema.INI [stock.dat] Col2: the width \"99999999999\" is too large"},
        BadWidthCase{"Field2 Char WIDTH 2147483648",
                     "Schema.INI [stock.dat] Col2: the width \"2147483648\" is too large"},
        BadWidthCase{"Field2 Char",
                     "Schema.INI [stock.dat] Col2: the entry \"Field2 Char\" has no width"},
        BadWidthCase{"Field2 Char WIDTH",
                     "Schema.INI [stock.dat] Col2: the entry \"Field2 Char WIDTH\" has no width"},
        BadWidthCase{"", "Schema.INI [stock.dat] Col2: the entry \"\" has no width"},
        BadWidthCase{"Field2 Char WIDTH  10",
                     "Schema.INI [stock.dat] Col2: the width \"\" is not a whole number"}),
    testing::PrintedCaseName{});

TEST_F(SchemaReaderTest, LargestWidthIsAccepted) {
  EXPECT_EQ((std::vector<long long>{2147483647}),
            FieldWidths(ReadFixedFields(Schema("[f]\nCol1=a Char WIDTH 2147483647\n"), "f")));
  EXPECT_EQ((std::vector<long long>{0, 0, 0, 7}), FieldWidths({{"a", "Char", "x", {}},
                                                               {"b", "Char", "-1", {}},
                                                               {"c", "Char", "", {}},
                                                               {"d", "Char", "007", {}}}));
}

TEST_F(SchemaReaderTest, DuplicateSectionsAndKeysReadTheFirst) {
  const ProfileFile file = Schema(
      "[f]\nFormat=TABDelimited\nCol1=a Char\nCol1=z Char\nCol2=b "
      "Long\n[F]\nFormat=FixedLength\nCol3=c Char\n");
  EXPECT_EQ(SeparatorKind::Tab, ReadSavedLayout(file, "f").separator);
  const FieldList fields = ReadDelimitedFields(file, "f", 5);
  ASSERT_EQ(2u, fields.size());
  EXPECT_EQ("a", fields[0].name);
}

void ReadEverything(const ProfileFile& file, const std::string& section) {
  SectionHasFields(file, section);
  ReadSavedLayout(file, section);
  try {
    ReadDelimitedFields(file, section, 1024);
  } catch (const SchemaError&) {
  }
  try {
    FieldWidths(ReadFixedFields(file, section));
  } catch (const SchemaError&) {
  }
}

TEST_F(SchemaReaderTest, GarbageFilesReadWithoutHarm) {
  std::mt19937 random(7);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) c = static_cast<char>(random() % 256);
  const std::string endless(3 * 1024 * 1024, 'x');
  const std::string inputs[] = {
      noise,
      "[f]\n" + noise,
      std::string("[f]\nCol1=a\0b Char WIDTH 4\nFormat=Delim\0ited(;)\nCol2=\0\n", 46),
      "[f]\nCol1=" + endless,
      "[f]\nCol1=a Char WIDTH " + endless + "\n",
      "[f\nCol1=a Char WIDTH 3\n=\n[]\n[f]]\nCol1\n=Col2\n",
      "[f]\r\rCol1=\"a Char WIDTH 3\r\n",
      "[f]\nCol1=\" \" \" \"\nCol2='\nCol3=\"\"\"\"\"\"\n",
      std::string("\0\0\0\0", 4),
      "",
  };
  for (const std::string& bytes : inputs) {
    const ProfileFile file = Schema(bytes);
    EXPECT_NO_FATAL_FAILURE(ReadEverything(file, "f"));
    EXPECT_NO_FATAL_FAILURE(ReadEverything(file, ""));
  }
}

}  // namespace
}  // namespace quorlin

namespace quorlin {
namespace {

TEST(WithSavedLayout, AppliesTheKeysAndAHeaderRowStartsAtRowOne) {
  FileLayout current;
  current.startRow = "7";
  current.textQualifier = "'";
  SavedLayout saved;
  saved.separator = SeparatorKind::Custom;
  saved.customSeparator = ";";
  saved.hasHeaderRow = true;
  saved.fixedLength = "41";
  saved.rowsToScan = "40";
  const FileLayout layout = WithSavedLayout(current, saved);
  EXPECT_EQ(SeparatorKind::Custom, layout.separator);
  EXPECT_EQ(";", layout.customSeparator);
  EXPECT_TRUE(layout.hasHeaderRow);
  EXPECT_EQ("1", layout.startRow);
  EXPECT_EQ("41", layout.fixedLength);
  EXPECT_EQ("40", layout.rowsToScan);
  EXPECT_EQ("'", layout.textQualifier) << "the qualifier is not a saved key";

  saved.hasHeaderRow = false;
  EXPECT_EQ("7", WithSavedLayout(current, saved).startRow);
}

}  // namespace
}  // namespace quorlin
