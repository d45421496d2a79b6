#include <sys/stat.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "support/other_user.h"

namespace quorlin::testing {
namespace {

using nlohmann::json;

constexpr const char* kStock =
    "Code,Text,Qty\r\n"
    "A-100     Hex bolt            001250\r\n"
    "A-101     Hex nut             004800\r\n";

class SchemaRoundTrip : public CliFileTest {
 protected:
  std::string SchemaText() const { return ReadBytes(dir_.File("Schema.INI")); }
};

TEST_F(SchemaRoundTrip, GuessSavesBreaksThatShowListAndDeleteSeeAgain) {
  UseData("stock.dat", kStock);
  const CliResult guess = Run({"guess", Data(), "--sep", "fixed", "--breaks", "11,31", "--save"});
  ASSERT_EQ(0, guess.exitCode) << guess.err;
  EXPECT_EQ("Field1\tChar\t10\nField2\tChar\t20\nField3\tChar\t6\n", guess.out);
  EXPECT_EQ(Said(dir_.Path() + "Schema.INI\n Has been updated With \n---> stock.dat\nand in ODBC Format"),
            guess.err);

  const std::string section =
      "[stock.dat]\r\nColNameHeader=False\r\nFormat=FixedLength\r\nFixedLength=37\r\n"
      "MaxScanRows=25\r\nCharacterSet=OEM\r\nCol1=Field1 Char WIDTH 10\r\n"
      "Col2=Field2 Char WIDTH 20\r\nCol3=Field3 Char WIDTH 6\r\n";
  EXPECT_SAME_BYTES(section, SchemaText());

  const CliResult plain = Run({"schema", "show", Data()});
  EXPECT_EQ(0, plain.exitCode) << plain.err;
  std::string withoutCr = section;
  std::erase(withoutCr, '\r');
  EXPECT_EQ(withoutCr, plain.out);

  EXPECT_EQ(json::parse(R"({"separator":"fixed","customChar":"","header":false,
                            "lineLength":37,"rowsToScan":25,"fields":[
                            {"name":"Field1","type":"Char","width":10,"format":""},
                            {"name":"Field2","type":"Char","width":20,"format":""},
                            {"name":"Field3","type":"Char","width":6,"format":""}]})"),
            json::parse(Run({"schema", "show", Data(), "--json"}).out));

  // Reading the layout back gives the same breaks: the saved widths come out again.
  EXPECT_EQ(guess.out, Run({"guess", Data(), "--schema"}).out);

  const CliResult list = Run({"schema", "list", dir_.Path()});
  EXPECT_EQ(0, list.exitCode);
  EXPECT_EQ("stock.dat\n", list.out);

  const CliResult erase = Run({"schema", "delete", Data()});
  EXPECT_EQ(0, erase.exitCode);
  EXPECT_EQ(Said("File removed from the Schema"), erase.err);
  EXPECT_EQ("", Run({"schema", "list", dir_.Path()}).out);

  const CliResult again = Run({"schema", "delete", Data()});
  EXPECT_EQ(1, again.exitCode);
  EXPECT_EQ(Said("Could NOT remove this file from the Schema File"), again.err);

  const CliResult gone = Run({"schema", "show", Data()});
  EXPECT_EQ(3, gone.exitCode);
  EXPECT_NE(std::string::npos, gone.err.find("stock.dathas no associated fields")) << gone.err;
}

TEST_F(SchemaRoundTrip, ShowPrintsOnlyTheFilesSectionAsStored) {
  UseData("b.csv", "x,y\r\n");
  WriteBytes(dir_.File("schema.ini"),
             "[a.csv]\nFormat=TABDelimited\nCol1=A Char\n; note\n[B.CSV]\n  Format = CSVDelimited\n"
             "Col1=X Long\n\n[c.csv]\nCol1=C Bit\n");
  const CliResult result = Run({"schema", "show", Data()});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("[B.CSV]\n  Format = CSVDelimited\nCol1=X Long\n", result.out);
  EXPECT_EQ("a.csv\nB.CSV\nc.csv\n", Run({"schema", "list", dir_.Path()}).out);
}

TEST_F(SchemaRoundTrip, ExtendedSaveOfSavedDelimitedFieldsKeepsTypesAndFormats) {
  UseData("orders.csv", "No,Placed,Amount\r\n1,01/02/03,2.5\r\n");
  WriteBytes(dir_.File("Schema.INI"),
             "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
             "Col1=OrderNo Long\r\nCol2=Placed DateTime FMT dd/MM/yy\r\nCol3=Amount Float\r\n"
             "Col4=Extra Char WIDTH 3\r\n");
  const CliResult guess = Run({"guess", Data(), "--schema", "--save", "--extended", "--json"});
  ASSERT_EQ(0, guess.exitCode) << guess.err;
  // Only as many entries are read as line 1 has fields.
  EXPECT_EQ(json::parse(R"({"fields":[{"name":"OrderNo","type":"Long","width":0,"format":""},
                            {"name":"Placed","type":"DateTime","width":0,"format":"dd/MM/yy"},
                            {"name":"Amount","type":"Float","width":0,"format":""}]})"),
            json::parse(guess.out));
  EXPECT_NE(std::string::npos, guess.err.find("in Extended Format")) << guess.err;
  // Guess found "2.5", which tells the decimal symbol; 01/02/03 tells no date order.
  EXPECT_SAME_BYTES(
      "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
      "CharacterSet=OEM\r\nDecimalSymbol=.\r\nCol1=OrderNo Long\r\nCol2=Placed DateTime FMT dd/MM/yy\r\n"
      "Col3=Amount Float\r\n",
      ReadBytes(dir_.File("Schema.INI")));
}

TEST_F(SchemaRoundTrip, SchemaPreviewAppliesTheSavedLayoutAndNamesUnlessOverridden) {
  UseData("rows.txt", "h1;h2;h3\r\n1;2;3\r\n4;5;6\r\n7;8;9\r\n");
  WriteBytes(dir_.File("Schema.INI"),
             "[rows.txt]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\nMaxScanRows=2\r\n"
             "Col1=First Byte\r\nCol2=Second Char WIDTH 4\r\n");
  const json saved = json::parse(Run({"preview", Data(), "--schema", "--json"}).out);
  EXPECT_EQ(json({"First", "Second", "h3"}), saved["names"]);
  EXPECT_EQ(json::parse(R"([["1","2","3"],["4","5","6"]])"), saved["rows"]);
  EXPECT_EQ(json::parse(R"([{"name":"First","type":"Byte","width":0,"format":""},
                            {"name":"Second","type":"Char","width":4,"format":""}])"),
            saved["fields"]);

  const json overridden =
      json::parse(Run({"preview", Data(), "--schema", "--json", "--rows", "5", "--start", "2"}).out);
  EXPECT_EQ(json::parse(R"([["4","5","6"],["7","8","9"]])"), overridden["rows"]);
}

TEST_F(SchemaRoundTrip, SchemaPreviewOfFixedLayoutUsesTheSavedLineLength) {
  UseData("stock.dat", kStock);
  WriteBytes(dir_.File("Schema.INI"),
             "[stock.dat]\r\nFormat=FixedLength\r\nFixedLength=60\r\nCol1=A Char WIDTH 10\r\n");
  EXPECT_EQ(60, json::parse(Run({"preview", Data(), "--schema", "--json"}).out)["lineLength"]);
  EXPECT_EQ(70, json::parse(Run({"preview", Data(), "--schema", "--json", "--line-length", "70"})
                                .out)["lineLength"]);
}

struct StoppedCase {
  const char* label;
  std::string section;
  std::vector<std::string> arguments;  // after the data file
  int exitCode;
  std::string message;
};

void PrintTo(const StoppedCase& stoppedCase, std::ostream* out) { *out << stoppedCase.label; }

class SchemaFailure : public CliFileTest, public ::testing::WithParamInterface<StoppedCase> {};

TEST_P(SchemaFailure, ExitsWithAMessageAndWritesNothing) {
  UseData("stock.dat", kStock);
  WriteBytes(dir_.File("Schema.INI"), GetParam().section);
  // The command words come first, then the data file, then the options.
  std::vector<std::string> arguments = GetParam().arguments;
  const auto firstOption = std::find_if(arguments.begin(), arguments.end(),
                                        [](const std::string& a) { return a.starts_with("--"); });
  arguments.insert(firstOption, Data());
  const CliResult result = RunArguments(arguments);
  EXPECT_EQ(GetParam().exitCode, result.exitCode) << result.out;
  EXPECT_NE(std::string::npos, result.err.find(GetParam().message)) << result.err;
  EXPECT_SAME_BYTES(GetParam().section, ReadBytes(dir_.File("Schema.INI")));
  EXPECT_SAME_BYTES(kStock, ReadBytes(Data()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SchemaFailure,
    ::testing::Values(
        StoppedCase{"malformed_width",
                    "[stock.dat]\r\nFormat=FixedLength\r\nCol1=A Char WIDTH ten\r\n",
                    {"preview", "--schema"}, 3, "ten"},
        StoppedCase{"malformed_width_show",
                    "[stock.dat]\r\nFormat=FixedLength\r\nCol1=A Char WIDTH ten\r\n",
                    {"schema", "show", "--json"}, 3, "ten"},
        StoppedCase{"no_fields",
                    "[stock.dat]\r\nFormat=FixedLength\r\n",
                    {"preview", "--schema"}, 3, "stock.dathas no associated fields"},
        StoppedCase{"saved_rows_not_whole",
                    "[stock.dat]\r\nFormat=CSVDelimited\r\nMaxScanRows=lots\r\nCol1=A Char\r\n",
                    {"preview", "--schema"}, 3, "'lots' is not a valid integer value"},
        StoppedCase{"character_field_without_width",
                    "[stock.dat]\r\nFormat=CSVDelimited\r\nCol1=Code Char\r\n",
                    {"guess", "--schema", "--save"}, 2, "Width for Code has not been set"},
        StoppedCase{"breaks_beyond_the_line",
                    "[other]\r\nCol1=A Char\r\n",
                    {"guess", "--sep", "fixed", "--breaks", "5,500"}, 2,
                    "Field Count (2) and LineBreaks (3) do not agree"},
        StoppedCase{"breaks_not_whole",
                    "[other]\r\nCol1=A Char\r\n",
                    {"guess", "--sep", "fixed", "--breaks", "5,x"}, 2,
                    "'x' is not a valid integer value"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SchemaRoundTrip, ClicksOnTheSameBreakTwiceLeaveNoBreak) {
  UseData("stock.dat", kStock);
  EXPECT_EQ("Field0\tChar\t10\nField1\tChar\t26\n",
            Run({"guess", Data(), "--sep", "fixed", "--breaks", "11,20,20", "--count-from", "0"}).out);
}

TEST_F(SchemaRoundTrip, DelimitedGuessTypesTheFieldsNamedByTheHeader) {
  UseData("p.csv", "Name,City\r\nA,B\r\n");
  EXPECT_EQ("Name\tChar\t1\nCity\tChar\t1\n", Run({"guess", Data(), "--header"}).out);
}

TEST_F(SchemaRoundTrip, ASchemaFileAsDataFileIsNeverWritten) {
  UseData("Schema.INI", "[Schema.INI]\r\nCol1=A Char\r\n");
  EXPECT_EQ(2, Run({"guess", Data(), "--save"}).exitCode);
  EXPECT_EQ(2, Run({"schema", "delete", Data()}).exitCode);
}

TEST_F(SchemaRoundTrip, BlanksAroundTheFileNameAreNotPartOfItsSectionAnywhere) {
  UseData(" spaced.csv ", "a,b\r\n");
  ASSERT_EQ(0, Run({"guess", Data(), "--save"}).exitCode);
  const CliResult shown = Run({"schema", "show", Data()});
  EXPECT_EQ(0, shown.exitCode) << shown.err;
  EXPECT_EQ(0u, shown.out.find("[spaced.csv]\n")) << shown.out;
  EXPECT_EQ(0, Run({"preview", Data(), "--schema"}).exitCode);
  EXPECT_EQ(0, Run({"schema", "delete", Data()}).exitCode);
}

TEST_F(SchemaRoundTrip, DeleteFindsASectionBeyondTheNamesTheListReads) {
  UseData("data.csv", "a\r\n");
  std::string others;
  for (int i = 0; i < 200; ++i) others += "[" + std::string(96, 'n') + std::to_string(100 + i) + "]\r\n";
  WriteBytes(dir_.File("Schema.INI"), others + "[data.csv]\r\nCol1=a Char\r\n");
  const CliResult erase = Run({"schema", "delete", Data()});
  EXPECT_EQ(0, erase.exitCode) << erase.err;
  EXPECT_SAME_BYTES(others, ReadBytes(dir_.File("Schema.INI")));
}

// A schema file or folder that cannot be read stops the work with the cause, instead of
// passing for one without layouts.
TEST_F(SchemaRoundTrip, UnreadableSchemaFileOrFolderStops) {
  UseData("data.csv", "a\r\n");
  WriteBytes(dir_.File("Schema.INI"), "[data.csv]\r\nCol1=a Char\r\n");
  const std::string locked = dir_.File("locked");
  std::filesystem::create_directory(locked);
  ASSERT_EQ(0, chmod(dir_.Path().c_str(), 0755));
  ASSERT_EQ(0, chmod(dir_.File("Schema.INI").c_str(), 0));
  ASSERT_EQ(0, chmod(locked.c_str(), 0));
  const std::string outcomes = RunWithoutPrivileges([&] {
    std::string seen;
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"schema", "list", dir_.Path()}, {"schema", "show", Data()},
          {"preview", Data(), "--schema"}, {"schema", "delete", Data()}, {"schema", "list", locked}}) {
      const CliResult result = RunArguments(command);
      seen += std::to_string(result.exitCode) + " " + result.err;
    }
    return seen;
  });
  const std::string unreadable = "3 " + Said("Cannot read " + dir_.File("Schema.INI") + ": Permission denied");
  EXPECT_EQ(unreadable + unreadable + unreadable + unreadable + "3 " +
                Said("Cannot open the folder " + locked + "/: Permission denied"),
            outcomes);
  chmod(locked.c_str(), 0755);
}

TEST(SchemaList, MissingFolderStops) {
  TempDir dir;
  const CliResult result = RunArguments({"schema", "list", dir.File("nowhere")});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find("nowhere"));
}

}  // namespace
}  // namespace quorlin::testing
