#include <filesystem>
#include <unistd.h>

#include "cli_run.h"
#include "export/export_result.h"
#include "text/record_reader.h"

namespace quorlin::testing {
namespace {

using quorlin::kExportWarningMessage;

constexpr const char* kPeople = "Name,Born,Size\r\nAnn,01/02/2000,3\r\n\"Lee, Bo\",x,4\r\n";
constexpr const char* kSchema =
    "[people.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
    "CharacterSet=OEM\r\nCol1=Name Char WIDTH 10\r\nCol2=Born Date\r\nCol3=Size Integer\r\n";

class ExportCommandTest : public CliFileTest {
 protected:
  void SetUp() override {
    UseData("people.csv", kPeople);
    WriteBytes(dir_.File("Schema.INI"), kSchema);
  }
  std::string Out(const std::string& name) const { return dir_.File(name); }
};

TEST_F(ExportCommandTest, WritesTheFormatWithTheSavedLayoutAndSaysSo) {
  const struct {
    std::vector<std::string> options;
    const char* output;
    int exitCode;
    std::string err;
  } cases[] = {
      {{"--to", "csv"}, "Name,Born,Size\r\nAnn,01/02/2000,3\r\n\"Lee, Bo\",x,4\r\n", 0,
       Said("File  Successfully Exported")},
      {{"--to", "tab", "--no-field-names", "--include-header-row"},
       "Name\tBorn\tSize\r\nAnn\t01/02/2000\t3\r\nLee, Bo\tx\t4\r\n", 0,
       Said("File  Successfully Exported")},
      {{"--to", "other", "--out-char", ";", "--out-qualifier", "{none}", "--sep", "fixed"},
       "", 3, Said("Schema.INI [people.csv] Col2: the entry \"Born Date\" has no width")},
      {{"--to", "other", "--out-char", " ", "--out-qualifier", "'", "--no-field-names"},
       "Ann 01/02/2000 3\r\n'Lee, Bo' x 4\r\n", 0, Said("File  Successfully Exported")},
      {{"--to", "other", "--no-field-names", "--qualifier", "{none}"},
       // Before values holding the qualifier were quoted, this gave "LeeBo"x4.
       "Ann01/02/20003\r\n\"\"\"Lee\"\"Bo\"\"\"x4\r\n", 0, Said("File  Successfully Exported")},
      {{"--to", "csv", "--out-qualifier", "{none}"}, "Name,Born,Size\r\nAnn,01/02/2000,3\r\nLee, Bo,x,4\r\n", 1,
       Said("1 values contain the separator and were written bare") + Said("File  Successfully Exported")},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(Out("out.txt"));
    std::vector<std::string> arguments = {"export", Data(), "-o", Out("out.txt")};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const CliResult result = RunArguments(arguments);
    EXPECT_EQ(c.exitCode, result.exitCode) << c.options[1];
    EXPECT_EQ(c.err, result.err) << c.options[1];
    if (c.exitCode != 3) {
      EXPECT_SAME_BYTES(c.output, ReadBytes(Out("out.txt")));
    }
  }
  EXPECT_SAME_BYTES(kPeople, ReadBytes(Data()));
}

TEST_F(ExportCommandTest, LineEndLfChangesEveryLineEndOfTheTextFormatsAndNothingElse) {
  const std::vector<std::vector<std::string>> formats = {
      {"--to", "csv"},  {"--to", "space"}, {"--to", "tab"},  {"--to", "other", "--out-char", ";"},
      {"--to", "html"}, {"--to", "xml"},   {"--to", "jsonl"}, {"--to", "sql", "--title", "t"},
      {"--to", "sql", "--title", "t", "--dialect", "sqlite"}, {"--to", "sql", "--title", "t", "--dialect", "ansi"},
      {"--to", "sql", "--title", "t", "--dialect", "postgresql"}};
  for (const std::vector<std::string>& format : formats) {
    const std::string described = format[1] + (format.size() > 4 ? " " + format.back() : "");
    std::string outputs[2];
    for (const bool lf : {false, true}) {
      const std::string output = Out(lf ? "lf.txt" : "crlf.txt");
      std::vector<std::string> arguments = {"export", Data(), "-o", output};
      arguments.insert(arguments.end(), format.begin(), format.end());
      if (lf) arguments.insert(arguments.end(), {"--line-end", "lf"});
      RunArguments(arguments);
      outputs[lf] = ReadBytes(output);
    }
    ASSERT_NE(std::string::npos, outputs[0].find("\r\n")) << described;
    EXPECT_EQ(std::string::npos, outputs[1].find('\r')) << described;
    std::string expected = outputs[0];
    for (std::size_t at = 0; (at = expected.find("\r\n", at)) != std::string::npos;) expected.erase(at, 1);
    EXPECT_SAME_BYTES(expected, outputs[1]) << described;
  }
}

TEST_F(ExportCommandTest, SqlNeedsATitleAndReportsRejectedValuesWithItsLog) {
  const CliResult untitled = Run({"export", Data(), "--to", "sql", "-o", Out("p.sql")});
  EXPECT_EQ(2, untitled.exitCode);
  EXPECT_EQ(Said("No Schema/Template Name Specified"), untitled.err);
  EXPECT_FALSE(std::filesystem::exists(Out("p.sql")));

  const CliResult result =
      Run({"export", Data(), "--to", "sql", "-o", Out("p.sql"), "--title", "My People"});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ(Said("Errors found whilst creating \"INPUT\" statements\nSee " + dir_.Path() +
                 "SQLogErr.txt\nfor rejected Data (replaced with NULL)") +
                Said("File  - Process Failed"),
            result.err);
  EXPECT_TRUE(ReadBytes(Out("p.sql")).starts_with("CREATE TABLE My_People\r\n("));
  EXPECT_EQ("     2 :  Col : 1 (Born) : x\r\n", ReadBytes(Out("SQLogErr.txt")));
}

// The saved layout names no date order; the option gives it, whatever the locale says.
TEST_F(ExportCommandTest, DateFormatAndDecimalOptionsSayHowTheFileWritesThem) {
  const CliResult monthFirst = Run({"export", Data(), "--to", "sql", "-o", Out("m.sql"), "--title", "t"});
  const CliResult dayFirst = Run({"export", Data(), "--to", "sql", "-o", Out("d.sql"), "--title", "t",
                                  "--date-format", "dd/mm/yyyy", "--decimal", ","});
  EXPECT_EQ(monthFirst.exitCode, dayFirst.exitCode);
  EXPECT_NE(std::string::npos, ReadBytes(Out("m.sql")).find("#01/02/2000 00:00:00#")) << ReadBytes(Out("m.sql"));
  EXPECT_NE(std::string::npos, ReadBytes(Out("d.sql")).find("#02/01/2000 00:00:00#")) << ReadBytes(Out("d.sql"));

  const CliResult bad = Run({"export", Data(), "--to", "csv", "-o", Out("b.csv"), "--date-format", "dd.mm.yy"});
  EXPECT_EQ(2, bad.exitCode);
  EXPECT_EQ(Said("--date-format: 'dd.mm.yy' is not one of dd/mm/yyyy, mm/dd/yyyy, yyyy-mm-dd"), bad.err);
  EXPECT_EQ(2, Run({"preview", Data(), "--decimal", ";"}).exitCode);

  // Guess finds "01/02/2000" ambiguous; the options go into the saved section.
  const CliResult saved = Run({"guess", Data(), "--header", "--date-format", "dd/mm/yyyy", "--decimal", ",", "--save"});
  EXPECT_EQ(0, saved.exitCode) << saved.err;
  const CliResult shown = Run({"schema", "show", Data(), "--json"});
  EXPECT_NE(std::string::npos, shown.out.find("\"dateFormat\":\"dd/mm/yyyy\",\"decimal\":\",\"")) << shown.out;
}

TEST_F(ExportCommandTest, AnUnclosedQuotedValueIsNamedByItsLine) {
  UseData("people.csv", "Name,Born,Size\r\nAnn,01/02/2000,3\r\n\"Lee,x,4\r\n");
  const CliResult result = Run({"export", Data(), "--to", "csv", "-o", Out("u.csv")});
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ(Said(Data() + ": " + UnclosedValueMessage(3)) + Said("File  Successfully Exported"), result.err);
  const CliResult preview = Run({"preview", Data(), "--header"});
  EXPECT_EQ(Said(Data() + ": " + UnclosedValueMessage(3)), preview.err);
}

TEST_F(ExportCommandTest, HtmlAndXmlSucceedWithTheWarning) {
  const CliResult result = Run({"export", Data(), "--to", "xml", "-o", Out("p.xml")});
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ(Said("File  Successfully Exported") + Said(kExportWarningMessage), result.err);
  EXPECT_NE(std::string::npos, ReadBytes(Out("p.xml")).find("<Name>Lee, Bo</Name>"));
}

TEST_F(ExportCommandTest, RefusalsAndErrorsHaveTheirStatus) {
  ASSERT_EQ(0, ::symlink(Data().c_str(), Out("link.csv").c_str()));
  WriteBytes(Out("unsaved.csv"), "a,b\r\n");
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string err;
  } cases[] = {
      {{"export", Data(), "--to", "csv", "-o", Out("link.csv")}, 2,
       Said("Cannot export into " + Out("link.csv") + ": it is the input file " + Data())},
      {{"export", Data(), "--to", "sql", "--title", "t", "-o", Out("x.sql")}, 1, ""},
      {{"export", Data(), "--to", "xls", "-o", Out("x.xls")}, 0, Said("File  Successfully Exported")},
      {{"export", Data(), "--to", "pdf", "-o", Out("x.pdf")}, 2,
       Said("--to: 'pdf' is not one of csv, space, tab, other, dbf, paradox, xls, html, xml, sql, parquet, xlsx, jsonl")},
      {{"export", Data(), "--to", "csv", "-o", " "}, 2, Said("No Output File Specified")},
      {{"export", Out("none.csv"), "--to", "csv", "-o", Out("x.csv")}, 3,
       Said("File not found: " + Out("none.csv"))},
      {{"export", Out("unsaved.csv"), "--to", "csv", "-o", Out("y.csv")}, 2,
       Said("Fields not found in Schema.INI\nmake sure you:\n  1.  Defined each field\n"
            "  2.  Saved the Structure\n\nThen try again")},
  };
  for (const auto& c : cases) {
    const CliResult result = RunArguments(c.arguments);
    EXPECT_EQ(c.exitCode, result.exitCode) << c.arguments[3];
    if (!c.err.empty()) {
      EXPECT_EQ(c.err, result.err) << c.arguments[3];
    }
  }
  EXPECT_SAME_BYTES(kPeople, ReadBytes(Data()));
}

}  // namespace
}  // namespace quorlin::testing
