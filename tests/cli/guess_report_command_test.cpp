#include <filesystem>
#include <regex>

#include "cli_run.h"

namespace quorlin::testing {
namespace {

// The tests run in the C locale: month-day-year dates, "." for decimals.
class GuessCommand : public CliFileTest {};

TEST_F(GuessCommand, DelimitedFileGetsTypesAndCharWidths) {
  UseData("people.csv",
          "Id,Name,Joined,Amount,Paid,Code\r\n"
          "1,Anna,01/15/2002,12.5,yes,007\r\n"
          "2,Bob Fischer,02/20/2003,-3,no,12\r\n"
          "3,Carla,03/25/2004,4,yes,042\r\n");
  const CliResult result = Run({"guess", Data(), "--header"});
  ASSERT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("Id\tByte\t0\nName\tChar\t11\nJoined\tDate\t0\nAmount\tFloat\t0\nPaid\tBit\t0\n"
            "Code\tChar\t3\n",
            result.out);
}

TEST_F(GuessCommand, FixedFileTakesNamesFromTheTitleLineAndTypesFromItsLines) {
  UseData("stock.dat",
          "Code,Text,Qty\r\n"
          "A-100     Hex bolt            1250\r\n"
          "A-101     Hex nut             48\r\n");
  const CliResult result =
      Run({"guess", Data(), "--sep", "fixed", "--header", "--breaks", "11,31", "--json"});
  ASSERT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(R"({"fields":[{"name":"Code","type":"Char","width":10},)"
            R"({"name":"Text","type":"Char","width":20},)"
            R"({"name":"Qty","type":"Long","width":4}]})" "\n",
            result.out);
}

constexpr const char* kOrdersSection =
    "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
    "Col1=OrderNo Long\r\nCol2=Customer Char WIDTH 30\r\nCol3=Placed Date FMT dd/MM/yyyy\r\n";

class ReportCommand : public CliFileTest {
 protected:
  void SetUp() override {
    UseData("orders.csv", "No,Customer,Placed\r\n1,Meyer,01/02/2003\r\n");
    WriteBytes(dir_.File("Schema.INI"), kOrdersSection);
  }
};

TEST_F(ReportCommand, WritesTheSavedLayoutToStandardOutputOrAFile) {
  const CliResult shown = Run({"report", Data()});
  ASSERT_EQ(0, shown.exitCode) << shown.err;
  EXPECT_NE(std::string::npos, shown.out.find("\r\n       File name : " + Data() + "\r\n"));
  EXPECT_TRUE(std::regex_search(shown.out, std::regex("\r\n           As at : \\d{4}/\\d{2}/\\d{2}\r\n"
                                                      "     File Format : Comma Delimited\r\n")))
      << shown.out;
  const std::string fieldsAndTotal =
      "     3     Placed                              Date           0 dd/MM/yyyy\r\n"
      "  ------------------------------------------------------------------------\r\n"
      "     3                                                       30\r\n";
  EXPECT_NE(std::string::npos, shown.out.find(fieldsAndTotal)) << shown.out;

  const std::string output = dir_.File("Structure.Txt");
  const CliResult written = Run({"report", Data(), "-o", output, "--count-from", "0"});
  ASSERT_EQ(0, written.exitCode) << written.err;
  EXPECT_EQ(Said("Output in " + output), written.err);
  EXPECT_NE(std::string::npos,
            ReadBytes(output).find("\r\n     0     OrderNo                             Long "))
      << ReadBytes(output);
}

TEST_F(ReportCommand, StopsWithAMessageAndWritesNothing) {
  std::filesystem::create_symlink(Data(), dir_.File("link.csv"));
  const std::string fixedWithBadWidth =
      "[orders.csv]\r\nFormat=FixedLength\r\nCol1=A Char WIDTH ten\r\n";
  const std::vector<std::tuple<std::string, std::vector<std::string>, int, std::string>> cases = {
      {kOrdersSection, {"-o", Data()}, 2, "the output is the input file"},
      {kOrdersSection, {"-o", dir_.File("link.csv")}, 2, "the output is the input file"},
      {"[other.csv]\r\nCol1=A Char\r\n", {}, 3, "orders.csvhas no associated fields"},
      {fixedWithBadWidth, {}, 3, "the width \"ten\" is not a whole number"}};
  for (const auto& [section, options, exitCode, message] : cases) {
    WriteBytes(dir_.File("Schema.INI"), section);
    std::vector<std::string> arguments = {"report", Data()};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const CliResult result = RunArguments(arguments);
    EXPECT_EQ(exitCode, result.exitCode) << message;
    EXPECT_NE(std::string::npos, result.err.find(message)) << result.err;
    EXPECT_EQ("", result.out) << message;
    EXPECT_EQ(dataBytes_, ReadBytes(Data())) << message;
  }
}

}  // namespace
}  // namespace quorlin::testing
