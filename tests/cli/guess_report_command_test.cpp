#include <filesystem>
#include <regex>

#include "cli_run.h"

namespace quorlin::testing {
namespace {

// The tests run in the C locale: month-day-year dates, "." for decimals.
class GuessCommand : public CliFileTest {};

TEST_F(GuessCommand, DelimitedFileGetsTypesAndCharWidthsAndSavesThem) {
  UseData("people.csv",
          "Id,Name,Joined,Amount,Paid,Code\r\n"
          "1,Anna,01/15/2002,12.5,yes,007\r\n"
          "2,Bob Fischer,02/20/2003,-3,no,12\r\n"
          "3,Carla,03/25/2004,4,yes,042\r\n");
  const CliResult result = Run({"guess", Data(), "--header", "--save"});
  ASSERT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("Id\tByte\t0\nName\tChar\t11\nJoined\tDate\t0\nAmount\tFloat\t0\nPaid\tBit\t0\n"
            "Code\tChar\t3\n",
            result.out);
  EXPECT_NE(std::string::npos,
            ReadBytes(dir_.File("Schema.INI"))
                .find("Col1=Id Byte\r\nCol2=Name Char WIDTH 11\r\nCol3=Joined Date\r\n"
                      "Col4=Amount Float\r\nCol5=Paid Bit\r\nCol6=Code Char WIDTH 3\r\n"));
}

TEST_F(GuessCommand, FixedFileTakesNamesFromTheTitleLineAndTypesFromItsLines) {
  UseData("stock.dat",
          "Code,Text,Qty\r\n"
          "A-100     Hex bolt            1250\r\n"
          "A-101     Hex nut             48\r\n");
  const CliResult result =
      Run({"guess", Data(), "--sep", "fixed", "--header", "--breaks", "11,31", "--json"});
  ASSERT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(R"({"fields":[{"name":"Code","type":"Char","width":"10"},)"
            R"({"name":"Text","type":"Char","width":"20"},)"
            R"({"name":"Qty","type":"Long","width":"4"}]})" "\n",
            result.out);
}

TEST_F(GuessCommand, TitlesThatDoNotMatchTheMarkedFieldsAreRefused) {
  UseData("stock.dat", "Code,Text\r\nA-100     Hex bolt  12\r\n");
  const CliResult result = Run({"guess", Data(), "--sep", "fixed", "--header", "--breaks", "11,21"});
  EXPECT_EQ(2, result.exitCode);
  EXPECT_EQ("Number of Fields defined\ndoes NOT MATCH number marked in Grid\n", result.err);
  EXPECT_EQ("", result.out);
}

constexpr const char* kOrders = "No,Customer,Placed\r\n1,Meyer,01/02/2003\r\n";
constexpr const char* kOrdersSection =
    "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
    "Col1=OrderNo Long\r\nCol2=Customer Char WIDTH 30\r\nCol3=Placed Date FMT dd/MM/yyyy\r\n";

class ReportCommand : public CliFileTest {
 protected:
  void SetUp() override {
    UseData("orders.csv", kOrders);
    WriteBytes(dir_.File("Schema.INI"), kOrdersSection);
  }

  // The report with today's date put aside, which the golden texts cannot know.
  static std::string Dateless(const std::string& report) {
    return std::regex_replace(report, std::regex("As at : \\d{4}/\\d{2}/\\d{2}\r\n"),
                              "As at : DATE\r\n");
  }

  std::string Expected(const char* firstNumber, const char* lastNumber) const {
    return "    Text File Structure \r\n\r\n"
           "       File name : " + Data() + "\r\n"
           "           As at : DATE\r\n"
           "     File Format : Comma Delimited\r\n"
           "  Field No Field Name                          Type       Width Format    \r\n"
           "  ------------------------------------------------------------------------\r\n"
           "     " + firstNumber + "     OrderNo                             Long           0\r\n"
           "     X     Customer                            Char          30\r\n"
           "     " + lastNumber + "     Placed                              Date           0 dd/MM/yyyy\r\n"
           "  ------------------------------------------------------------------------\r\n"
           "     3                                                       30\r\n"
           "\r\n"
           "  Structure listed by Quorlin, the layout tool for flat text data files\r\n"
           "  https://quorlin.org/\r\n"
           "\r\n";
  }
};

TEST_F(ReportCommand, WritesTheSavedLayoutToStandardOutput) {
  const CliResult result = Run({"report", Data()});
  ASSERT_EQ(0, result.exitCode) << result.err;
  std::string expected = Expected("1", "3");
  expected.replace(expected.find("     X"), 6, "     2");
  EXPECT_SAME_BYTES(expected, Dateless(result.out));
}

TEST_F(ReportCommand, WritesToAFileCountingFromZero) {
  const std::string output = dir_.File("Structure.Txt");
  const CliResult result = Run({"report", Data(), "-o", output, "--count-from", "0"});
  ASSERT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("", result.out);
  EXPECT_EQ("Output in " + output + "\n", result.err);
  std::string expected = Expected("0", "2");
  expected.replace(expected.find("     X"), 6, "     1");
  EXPECT_SAME_BYTES(expected, Dateless(ReadBytes(output)));
}

TEST_F(ReportCommand, NeverWritesOverTheInputFile) {
  std::filesystem::create_symlink(Data(), dir_.File("link.csv"));
  for (const std::string& output : {Data(), dir_.File("link.csv")}) {
    const CliResult result = Run({"report", Data(), "-o", output});
    EXPECT_EQ(2, result.exitCode) << output;
    EXPECT_NE(std::string::npos, result.err.find("the output is the input file")) << result.err;
  }
}

struct StopCase {
  const char* label;
  std::string section;
  std::vector<std::string> options;
  int exitCode;
  std::string message;
};

TEST_F(ReportCommand, StopsWithAMessageWhenThereIsNoUsableLayout) {
  const std::vector<StopCase> cases = {
      {"no section", "[other.csv]\r\nCol1=A Char\r\n", {}, 3, "orders.csvhas no associated fields"},
      {"malformed fixed width", "[orders.csv]\r\nFormat=FixedLength\r\nCol1=A Char WIDTH ten\r\n",
       {}, 3, "ten"},
      {"counting base", kOrdersSection, {"--count-from", "2"}, 2, "--count-from: must be 0 or 1"},
  };
  for (const StopCase& c : cases) {
    WriteBytes(dir_.File("Schema.INI"), c.section);
    std::vector<std::string> arguments = {"report", Data(), "-o", dir_.File("out.txt")};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const CliResult result = RunArguments(arguments);
    EXPECT_EQ(c.exitCode, result.exitCode) << c.label;
    EXPECT_NE(std::string::npos, result.err.find(c.message)) << c.label << ": " << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("out.txt"))) << c.label;
  }
}

}  // namespace
}  // namespace quorlin::testing
