#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "text/preview_limits.h"

namespace quorlin::testing {
namespace {

using nlohmann::json;

class PreviewCommand : public CliFileTest {};

TEST_F(PreviewCommand, PlainTableAlignsNumbersNamesAndRows) {
  UseData("people.csv", "Name,City\r\n\"Lange, Eva\",Bremen\r\nBo,Ulm\r\n");
  const CliResult result = Run({"preview", Data(), "--header"});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ(
      "1           2\n"
      "Name        City\n"
      "Lange, Eva  Bremen\n"
      "Bo          Ulm\n",
      result.out);
}

struct DelimitedCase {
  const char* label;
  std::string bytes;
  std::vector<std::string> options;
  json expected;
};

void PrintTo(const DelimitedCase& delimitedCase, std::ostream* out) { *out << delimitedCase.label; }

class PreviewJson : public CliFileTest, public ::testing::WithParamInterface<DelimitedCase> {};

TEST_P(PreviewJson, PrintsTheGridAndDefaultFields) {
  UseData("data.txt", GetParam().bytes);
  std::vector<std::string> arguments = {"preview", Data(), "--json"};
  arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
  const CliResult result = RunArguments(arguments);
  EXPECT_SAME_BYTES(GetParam().bytes, ReadBytes(Data()));
  ASSERT_EQ(0, result.exitCode) << result.err;
  json expected = GetParam().expected;
  expected["cut"] = json::array();
  EXPECT_EQ(expected, json::parse(result.out));
}

// Rows spelled out as arrays, so that two-cell rows do not read as object members.
json Rows(std::initializer_list<std::vector<std::string>> rows) {
  json array = json::array();
  for (const auto& row : rows) array.push_back(row);
  return array;
}

json Fields(std::initializer_list<const char*> names) {
  json fields = json::array();
  for (const char* name : names) fields.push_back({{"name", name}, {"type", "Unknown"}, {"width", 0}});
  return fields;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PreviewJson,
    ::testing::Values(
        DelimitedCase{"header_and_start",
                      "id,name\r\n1,a\r\n2,b\r\n3,c\r\n",
                      {"--header", "--start", "2"},
                      {{"numbers", {"1", "2"}},
                       {"names", {"id", "name"}},
                       {"rows", Rows({{"2", "b"}, {"3", "c"}})},
                       {"fields", Fields({"id", "name"})}}},
        DelimitedCase{"single_quote_qualifier",
                      "a, 'b', c\r\n",
                      {"--qualifier", "'", "--count-from", "0"},
                      {{"numbers", {"0", "1", "2"}},
                       {"names", {"Field0", "Field1", "Field2"}},
                       {"rows", Rows({{"a", "b", " c"}})},
                       {"fields", Fields({"Field0", "Field1", "Field2"})}}},
        DelimitedCase{"no_qualifier",
                      "\"x\",y\r\n",
                      {"--qualifier", "{none}"},
                      {{"numbers", {"1", "2"}},
                       {"names", {"Field1", "Field2"}},
                       {"rows", Rows({{"\"x\"", "y"}})},
                       {"fields", Fields({"Field1", "Field2"})}}},
        DelimitedCase{"tab_rows_cut_to_line_one",
                      "a\tb\r\n1\t2\t3\r\n4\r\n",
                      {"--sep", "tab"},
                      {{"numbers", {"1", "2"}},
                       {"names", {"Field1", "Field2"}},
                       {"rows", Rows({{"a", "b"}, {"1", "2"}, {"4", ""}})},
                       {"fields", Fields({"Field1", "Field2"})}}},
        DelimitedCase{"custom_character",
                      "p;q,r\r\n",
                      {"--sep", ";"},
                      {{"numbers", {"1", "2"}},
                       {"names", {"Field1", "Field2"}},
                       {"rows", Rows({{"p", "q,r"}})},
                       {"fields", Fields({"Field1", "Field2"})}}},
        DelimitedCase{"empty_custom_box_splits_nothing",
                      "p;q,r\r\n",
                      {"--sep", ""},
                      {{"numbers", {"1"}},
                       {"names", {"Field1"}},
                       {"rows", Rows({{"p;q,r"}})},
                       {"fields", Fields({"Field1"})}}},
        DelimitedCase{"latin1_bytes",
                      "caf\xe9,ok\r\n",
                      {},
                      {{"numbers", {"1", "2"}},
                       {"names", {"Field1", "Field2"}},
                       {"rows", Rows({{"caf\xc3\xa9", "ok"}})},
                       {"fields", Fields({"Field1", "Field2"})}}},
        DelimitedCase{"utf8_kept",
                      "\xc3\xa5r,\xe2\x82\xac\r\n",
                      {},
                      {{"numbers", {"1", "2"}},
                       {"names", {"Field1", "Field2"}},
                       {"rows", Rows({{"\xc3\xa5r", "\xe2\x82\xac"}})},
                       {"fields", Fields({"Field1", "Field2"})}}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(PreviewCommand, RowsZeroShowsTwentyFiveRowsAndMoreThanTwentyFiveAreAllowed) {
  std::string bytes;
  for (int i = 1; i <= 40; ++i) bytes += std::to_string(i) + "\r\n";
  UseData("many.csv", bytes);
  EXPECT_EQ(25u, json::parse(Run({"preview", Data(), "--json", "--rows", "0"}).out)["rows"].size());
  const json thirty = json::parse(Run({"preview", Data(), "--json", "--rows", "30"}).out);
  ASSERT_EQ(30u, thirty["rows"].size());
  EXPECT_EQ("30", thirty["rows"][29][0]);
}

TEST_F(PreviewCommand, JsonOfAPreviewPastItsBoundsSaysWhatWasLeftOut) {
  UseData("long.csv", "a,b\r\n" + std::string(kMaxShownLineBytes + 10, 'x') + ",1\r\nc,2\r\n");
  const json preview = json::parse(Run({"preview", Data(), "--json", "--header", "--rows", "all"}).out);
  EXPECT_EQ(json::array({LineCutMessage(2)}), preview["cut"]);
  ASSERT_EQ(2u, preview["rows"].size());
  EXPECT_EQ(kMaxShownLineBytes, preview["rows"][0][0].get<std::string>().size());
  EXPECT_EQ(json::array({"c", "2"}), preview["rows"][1]);
}

TEST_F(PreviewCommand, FixedLengthTakesLineTwoWidenedByTheLongestScannedLine) {
  UseData("stock.dat", "A,B\r\n12345\r\n1234567890\r\n123\r\n");
  EXPECT_EQ(json({{"lineLength", 11},
                  {"title", "A,B"},
                  {"lines", {"12345", "1234567890", "123"}},
                  {"cut", json::array()}}),
            json::parse(Run({"preview", Data(), "--sep", "fixed", "--json"}).out));
  // Only the line 2 scanned: line 2 is 5 long, the longest scanned line is line 1 with 3.
  EXPECT_EQ(5, json::parse(Run({"preview", Data(), "--sep", "fixed", "--json", "--rows", "1"}).out)
                   ["lineLength"]);
  EXPECT_EQ(40, json::parse(Run({"preview", Data(), "--sep", "fixed", "--json", "--line-length",
                                 "40"}).out)["lineLength"]);
  EXPECT_EQ(11, json::parse(Run({"preview", Data(), "--sep", "fixed", "--json", "--line-length",
                                 "2"}).out)["lineLength"]);
}

TEST_F(PreviewCommand, FixedLengthPlainShowsLengthTitleAndLines) {
  UseData("stock.dat", "A,B\r\nabc   12\r\nxyz   34\r\n");
  const CliResult result = Run({"preview", Data(), "--sep", "fixed"});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("Line length: 9\nA,B\nabc   12\nxyz   34\n", result.out);
}

struct RefusalCase {
  const char* label;
  std::vector<std::string> options;
  int exitCode;
  std::string message;
};

void PrintTo(const RefusalCase& refusalCase, std::ostream* out) { *out << refusalCase.label; }

class PreviewRefusal : public CliFileTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(PreviewRefusal, ExitsWithTheMessage) {
  UseData("data.csv", "a,b\r\n");
  std::vector<std::string> arguments = {"preview", Data()};
  arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
  const CliResult result = RunArguments(arguments);
  EXPECT_EQ(GetParam().exitCode, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find(GetParam().message)) << result.err;
  EXPECT_EQ("", result.out);
}

INSTANTIATE_TEST_SUITE_P(
    Options, PreviewRefusal,
    ::testing::Values(
        RefusalCase{"start_not_whole", {"--start", "2.5"}, 2, "'2.5' is not a valid integer value"},
        RefusalCase{"rows_not_whole", {"--rows", "x"}, 2, "'x' is not a valid integer value"},
        RefusalCase{"line_length_not_whole", {"--line-length", "8o"}, 2,
                    "'8o' is not a valid integer value"},
        RefusalCase{"count_from_two", {"--count-from", "2"}, 2, "--count-from"},
        RefusalCase{"separator_word", {"--sep", "semicolon"}, 2, "semicolon"},
        RefusalCase{"unknown_option", {"--bogus"}, 2, "--bogus"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PreviewMissingFile, StopsWithTheFileNamed) {
  TempDir dir;
  const std::string missing = dir.File("absent.csv");
  const CliResult result = RunArguments({"preview", missing});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find("absent.csv")) << result.err;
  EXPECT_EQ(1, std::count(result.err.begin(), result.err.end(), '\n'));
}

}  // namespace
}  // namespace quorlin::testing
