// quorlin-cli in a pipe and with layouts that are not saved beside the data: nothing may be
// written into the data file's folder.
#include <filesystem>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "support/other_user.h"
#include "support/run_command.h"

namespace quorlin::testing {
namespace {

constexpr const char* kData = "id,name,born\nA1,Ann,01/02/2000\n2,\"Lee, Bo\",\n300,Zo\xC3\xAB,12/31/1999\n";
constexpr const char* kFields = "id Integer, name Char 30, born Date";

// The names of the files in `folder`, sorted.
std::string FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) joined += name + " ";
  return joined;
}

CliResult RunWithInput(const std::string& input, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "quorlin-cli");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  CliResult result;
  result.exitCode = RunCli(static_cast<int>(arguments.size()), argv.data(), in, out, err);
  result.out = out.str();
  result.err = err.str();
  return result;
}

TEST(Pipes, StandardInputExportsAsJsonLinesThroughJqWithNothingWrittenBesideIt) {
  TempDir dir;
  WriteBytes(dir.File("data.csv"), kData);
  const CommandResult piped =
      RunCommand("cd '" + dir.Path() + "' && cat data.csv | '" + QUORLIN_CLI_PATH + "' export - --header --fields '" +
                 kFields + "' --to jsonl -o - --line-end lf 2>/dev/null | jq -c 'select(.born != null) | [.id, .name]'");
  EXPECT_EQ(0, piped.exitCode);
  EXPECT_EQ("[null,\"Ann\"]\n[300,\"Zo\xC3\xAB\"]\n", piped.out);
  EXPECT_EQ("data.csv ", FilesIn(dir.Path()));
}

// Tables larger than the output's buffer, so that a head completed at the end lies in bytes
// that have already left the program.
TEST(Pipes, EveryBinaryFormatGoesThroughAPipeAsItGoesIntoAFile) {
  TempDir dir;
  std::string data = "id,name,born\n";
  for (int i = 1; i <= 30000; ++i) data += std::to_string(i) + ",Name " + std::to_string(i) + ",01/02/2000\n";
  WriteBytes(dir.File("data.csv"), data);
  const std::vector<std::string> formats = {"dbf", "paradox", "xls", "xlsx", "parquet"};
  const auto exportTo = [&](const std::string& format, const std::string& output) {
    return "'" + std::string(QUORLIN_CLI_PATH) + "' export data.csv --header --fields '" + kFields + "' --to " +
           format + " -o " + output + " 2>/dev/null";
  };
  for (const std::string& format : formats) {
    const CommandResult piped = RunCommand("cd '" + dir.Path() + "' && { " + exportTo(format, "-") +
                                           "; echo $? >status; } | cat >piped." + format + " && cat status");
    EXPECT_EQ("0\n", piped.out) << format;
  }
  EXPECT_EQ("data.csv piped.dbf piped.paradox piped.parquet piped.xls piped.xlsx status ", FilesIn(dir.Path()));
  for (const std::string& format : formats) {
    ASSERT_EQ(0, RunCommand("cd '" + dir.Path() + "' && " + exportTo(format, "file." + format)).exitCode) << format;
    std::string expected = ReadBytes(dir.File("file." + format));
    std::string actual = ReadBytes(dir.File("piped." + format));
    if (format == "paradox") {
      // The head keeps addresses of the writing process there, different in every run.
      for (std::string* table : {&expected, &actual}) table->replace(0x30, 0x90, 0x90, '\0');
    }
    if (format == "xlsx") {
      // The workbook carries the time it was written, so only its other parts are alike to the
      // byte (its size may differ with the compressed time); openpyxl reads every row of it.
      const CommandResult alike = RunCommand(
          "/usr/bin/python3 -c 'import sys, zipfile\n"
          "parts = [zipfile.ZipFile(p) for p in sys.argv[1:]]\n"
          "names = [[n for n in z.namelist() if n != \"docProps/core.xml\"] for z in parts]\n"
          "print(names[0] == names[1] and all(parts[0].read(n) == parts[1].read(n) for n in names[0]))' '" +
          dir.File("file.xlsx") + "' '" + dir.File("piped.xlsx") + "'");
      EXPECT_EQ("True\n", alike.out);
      const CommandResult rows = RunCommand(
          "/usr/bin/python3 -c 'import openpyxl, sys; print(openpyxl.load_workbook(sys.argv[1], "
          "read_only=True).active.max_row)' '" + dir.File("piped.xlsx") + "'");
      EXPECT_EQ("30001\n", rows.out);
      continue;
    }
    EXPECT_SAME_BYTES(expected, actual) << format;
  }
}

TEST(Pipes, ScriptToStandardOutputSendsItsLogLinesToStandardError) {
  TempDir dir;
  WriteBytes(dir.File("data.csv"), kData);
  const CommandResult result = RunCommand("cd '" + dir.Path() + "' && '" + QUORLIN_CLI_PATH +
                                          "' export data.csv --header --fields '" + kFields +
                                          "' --to sql --title t -o /dev/stdout 2>&1 >/dev/null");
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ("     1 :  Col : 0 (id) : A1\r\n" + Said("Errors found whilst creating \"INPUT\" statements\n"
                                                     "See the lines above on the standard error\n"
                                                     "for rejected Data (replaced with NULL)") +
                Said("File  - Process Failed"),
            result.out);
  EXPECT_EQ("data.csv ", FilesIn(dir.Path()));
}

TEST(Pipes, EveryCommandReadsTheStandardInputAndAGivenLayout) {
  const CliResult preview = RunWithInput(kData, {"preview", "-", "--header", "--json"});
  ASSERT_EQ(0, preview.exitCode) << preview.err;
  EXPECT_EQ(nlohmann::json::parse(R"(["id","name","born"])"), nlohmann::json::parse(preview.out)["names"]);

  TempDir dir;
  WriteBytes(dir.File("layouts.ini"), "[people]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\n"
                                      "Col1=id Char Width 3\r\nCol2=name Char Width 9\r\nCol3=born Date\r\n");
  const CliResult exported = RunWithInput(kData, {"export", "-", "--layout", dir.File("layouts.ini"), "--section",
                                                  "people", "--to", "csv", "-o", dir.File("out.csv"), "--json"});
  EXPECT_EQ(0, exported.exitCode) << exported.err;
  EXPECT_EQ(nlohmann::json::parse(R"({"outcome":"exported","exitStatus":0,"recordsWritten":3,"valuesRejected":0,
                                      "log":null,"messages":[]})"),
            nlohmann::json::parse(exported.out));
  // The separator that ends the third record is followed by an empty value.
  EXPECT_EQ("id,name,born\r\nA1,Ann,01/02/2000\r\n2,\"Lee, Bo\",\r\n300,Zo\xC3\xAB,12/31/1999\r\n",
            ReadBytes(dir.File("out.csv")));

  const CliResult unnamed = RunWithInput(kData, {"guess", "-", "--layout", dir.File("layouts.ini")});
  EXPECT_EQ(2, unnamed.exitCode);
  EXPECT_EQ(Said("--layout: name the section to read with --section, as the standard input has no name"),
            unnamed.err);
  const CliResult typo = RunWithInput(kData, {"guess", "-", "--fields", "id Number"});
  EXPECT_EQ(2, typo.exitCode);
  EXPECT_NE(std::string::npos, typo.err.find("\"Number\" of id is not one of Bit, Byte")) << typo.err;
}

TEST(GivenLayouts, FieldsAreUsedForPreviewReportAndGuessWithoutTouchingTheFolder) {
  TempDir dir;
  WriteBytes(dir.File("data.csv"), kData);
  const CliResult preview = RunArguments({"preview", dir.File("data.csv"), "--header", "--json", "--fields", kFields});
  ASSERT_EQ(0, preview.exitCode) << preview.err;
  const nlohmann::json shown = nlohmann::json::parse(preview.out);
  std::vector<std::string> typed;
  for (const nlohmann::json& field : shown["fields"]) {
    typed.push_back(field["name"].get<std::string>() + " " + field["type"].get<std::string>() + " " +
                    std::to_string(field["width"].get<int>()));
  }
  EXPECT_EQ((std::vector<std::string>{"id Integer 0", "name Char 30", "born Date 0"}), typed);
  const CliResult guess = RunArguments({"guess", dir.File("data.csv"), "--header", "--fields", "id Char 4, name Unknown, born Unknown"});
  ASSERT_EQ(0, guess.exitCode) << guess.err;
  EXPECT_EQ("id\tChar\t4\nname\tChar\t7\nborn\tDate\t0\n", guess.out);
  const CliResult report = RunArguments({"report", dir.File("data.csv"), "--fields", kFields});
  ASSERT_EQ(0, report.exitCode) << report.err;
  EXPECT_NE(std::string::npos, report.out.find("born")) << report.out;
  const CliResult save = RunArguments({"guess", dir.File("data.csv"), "--fields", kFields, "--save"});
  EXPECT_EQ(2, save.exitCode);
  EXPECT_EQ("data.csv ", FilesIn(dir.Path()));
}

TEST(Guess, EveryRecordDecidesWhatTheFirstRowsCannotAndThePrintedLayoutIsWhatSaveWrites) {
  TempDir dir;
  std::string ids = "id,note\r\n";
  for (int i = 1; i <= 1100; ++i) ids += std::to_string(i) + "," + (i == 1050 ? "a much longer note" : "n") + "\r\n";
  WriteBytes(dir.File("ids.csv"), ids);
  EXPECT_EQ("id\tByte\t0\nnote\tChar\t1\n", RunArguments({"guess", dir.File("ids.csv"), "--header"}).out);
  const CliResult all = RunArguments({"guess", dir.File("ids.csv"), "--header", "--rows", "all", "--print-layout"});
  ASSERT_EQ(0, all.exitCode) << all.err;
  EXPECT_NE(std::string::npos, all.out.find("Col1=id Integer\r\nCol2=note Char WIDTH 18\r\n")) << all.out;
  ASSERT_EQ(0, RunArguments({"guess", dir.File("ids.csv"), "--header", "--rows", "all", "--save"}).exitCode);
  EXPECT_EQ(all.out, ReadBytes(dir.File("Schema.INI")));
}

TEST(Guess, EveryRecordTypesTheFieldsOfAFixedLengthFileAndKeepsTheWidthsOfItsBreaks) {
  TempDir dir;
  std::string lines;
  for (int i = 1; i <= 1100; ++i) {
    const std::string id = std::to_string(i);
    lines += id + std::string(5 - id.size(), ' ') + (i == 1050 ? "ab12  " : "7     ") + "\r\n";
  }
  WriteBytes(dir.File("ids.txt"), lines);
  const std::vector<std::string> ruler = {"guess", dir.File("ids.txt"), "--sep", "fixed", "--line-length", "11",
                                          "--breaks", "6"};
  EXPECT_EQ("Field1\tByte\t5\nField2\tByte\t6\n", RunArguments(ruler).out);
  std::vector<std::string> everyRecord = ruler;
  everyRecord.insert(everyRecord.end(), {"--rows", "all"});
  const CliResult all = RunArguments(everyRecord);
  ASSERT_EQ(0, all.exitCode) << all.err;
  EXPECT_EQ("Field1\tLong\t5\nField2\tChar\t6\n", all.out);
}

TEST(Guess, SaveIntoAReadOnlyFolderStopsWithTheCause) {
  TempDir dir;
  const std::string folder = dir.File("shared");
  std::filesystem::create_directory(folder);
  WriteBytes(folder + "/data.csv", kData);
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                           std::filesystem::perms::others_read | std::filesystem::perms::others_exec |
                                           std::filesystem::perms::group_read | std::filesystem::perms::group_exec);
  const std::string seen = RunWithoutPrivileges([&] {
    const CliResult result = RunArguments({"guess", folder + "/data.csv", "--header", "--save"});
    return std::to_string(result.exitCode) + " " + result.err;
  });
  EXPECT_EQ("3 " + Said(folder + "/data.csv: character set UTF-8") +
                Said(folder + "/Schema.INI\n Has NOT been updated with \n---> data.csv\nthe folder " + folder +
                        "/ is read-only"),
            seen);
}

TEST(Commands, AnUnknownOneNamesTheOnesThereAre) {
  const CliResult result = RunArguments({"exprot", "a.csv"});
  EXPECT_EQ(2, result.exitCode);
  EXPECT_EQ(Said("'exprot' is not a command; the commands are preview, guess, schema, report, export, dsn"),
            result.err);
}

}  // namespace
}  // namespace quorlin::testing
