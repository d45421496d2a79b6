#include "cli_run.h"
#include "export/export_result.h"

namespace quorlin::testing {
namespace {

constexpr const char* kPeople = "Name,Born,Size\r\nAnn,01/02/2000,3\r\n\"Lee, Bo\",x,4\r\n";
constexpr const char* kSchema =
    "[people.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
    "CharacterSet=OEM\r\nCol1=Name Char WIDTH 10\r\nCol2=Born Date\r\nCol3=Size Integer\r\n";

class BinaryExportCommandTest : public CliFileTest {
 protected:
  void SetUp() override {
    UseData("people.csv", kPeople);
    WriteBytes(dir_.File("Schema.INI"), kSchema);
  }
};

TEST_F(BinaryExportCommandTest, WritesTheTablesAndNamesTheirLogs) {
  const struct {
    const char* format;
    const char* output;
    const char* signature;
    std::string err;
  } cases[] = {
      {"dbf", "p.DBF", "\x03",
       Said("Errors found whilst creating xBASE Statements\nSee " + dir_.Path() + "ErrorLog.Txt\nfor rejected Data") +
           Said("File  Successfully Exported") + Said(kExportWarningMessage)},
      {"paradox", "p.DB", "",
       Said("Errors found whilst creating Paradox Statements\nSee " + dir_.Path() + "ErrorLog.txt\nfor rejected Data") +
           Said("File  Successfully Exported") + Said(kExportWarningMessage)},
      {"xls", "p.XLS", "\xD0\xCF\x11\xE0", Said("File  Successfully Exported")},
  };
  for (const auto& c : cases) {
    const CliResult result = Run({"export", Data(), "--to", c.format, "-o", dir_.File(c.output)});
    EXPECT_EQ(0, result.exitCode) << c.format;
    EXPECT_EQ(c.err, result.err) << c.format;
    EXPECT_TRUE(ReadBytes(dir_.File(c.output)).starts_with(c.signature)) << c.format;
  }
  EXPECT_EQ("2 :  Lee, Bo           4        >> x <<\r\n", ReadBytes(dir_.File("ErrorLog.Txt")));
  EXPECT_EQ("Row: 2 Col: 2 (Field Born) : x\r\n", ReadBytes(dir_.File("ErrorLog.txt")));
}

TEST_F(BinaryExportCommandTest, ACutValueIsLoggedAndExitsWithOne) {
  WriteBytes(dir_.File("Schema.INI"), std::string(kSchema).replace(std::string(kSchema).find("WIDTH 10"), 8, "WIDTH 2"));
  const CliResult result = Run({"export", Data(), "--to", "dbf", "-o", dir_.File("p.dbf")});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find("2 values were cut to fit their fields\nSee " + dir_.File("ErrorLog.Txt")))
      << result.err;
  EXPECT_NE(std::string::npos, ReadBytes(dir_.File("ErrorLog.Txt")).find("2 : the value of Name was cut to 2 characters"));
}

}  // namespace
}  // namespace quorlin::testing
