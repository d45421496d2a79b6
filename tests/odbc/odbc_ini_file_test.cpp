#include "odbc/odbc_ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/file_error.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

// Written by hand, with CR LF line ends, comments, blanks around "=" and another driver's source.
constexpr const char* kHandWritten =
    "; kept by hand\r\n[ODBC Data Sources]\r\nSales = SQLite3\r\n\r\n[Sales]\r\nDriver = SQLite3\r\n"
    "# where it lives\r\nDatabase = /tmp/keep.db\r\n";

class OdbcIniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteBytes(path, kHandWritten);
    ::chmod(path.c_str(), 0640);
  }
  std::string Text() const { return testing::ReadBytes(path); }

  testing::TempDir folder;
  std::string path = folder.File("odbc.ini");
  OdbcIniFile file{path};
};

TEST_F(OdbcIniFileTest, AddConfigureAndRemoveChangeOnlyTheDataSourcesOwnLines) {
  file.Add("Orders", "Text", {{"DefaultDir", "/data/"}, {"FIL", "text"}});
  EXPECT_EQ(
      "; kept by hand\r\n[ODBC Data Sources]\r\nSales = SQLite3\r\nOrders=Text\r\n\r\n[Sales]\r\nDriver = SQLite3\r\n"
      "# where it lives\r\nDatabase = /tmp/keep.db\r\n[Orders]\r\nDriver=Text\r\nDefaultDir=/data/\r\nFIL=text\r\n",
      Text());
  EXPECT_TRUE(file.HasDataSource("orders"));
  EXPECT_EQ("/data/", file.Value("Orders", "defaultdir"));

  file.Add("Orders", "Text", {{"DefaultDir", "/other/"}});
  file.Configure("Orders", {{"FIL", "csv"}});
  EXPECT_EQ(
      "; kept by hand\r\n[ODBC Data Sources]\r\nSales = SQLite3\r\nOrders=Text\r\n\r\n[Sales]\r\nDriver = SQLite3\r\n"
      "# where it lives\r\nDatabase = /tmp/keep.db\r\n[Orders]\r\nDriver=Text\r\nDefaultDir=/other/\r\nFIL=csv\r\n",
      Text());

  file.Remove("Orders");
  EXPECT_EQ(kHandWritten, Text());
  struct stat info {};
  ASSERT_EQ(0, ::stat(path.c_str(), &info));
  EXPECT_EQ(0640u, info.st_mode & 07777);
}

TEST_F(OdbcIniFileTest, RefusesWhatWouldMakeSectionsOrKeysOfItsOwnAndWritesNothing) {
  const auto refusal = [this](const std::string& name, const std::string& folder) -> std::string {
    try {
      file.Add(name, "Text", {{"DefaultDir", folder}});
    } catch (const FileError& error) {
      return error.what();
    }
    return "written";
  };
  const std::string nameRefused = "The data source name must not hold [, ] or =";
  EXPECT_EQ(nameRefused, refusal("a]b", "/data/"));
  EXPECT_EQ(nameRefused, refusal("[a", "/data/"));
  EXPECT_EQ(nameRefused, refusal("a=b", "/data/"));
  EXPECT_EQ("The data source name must not hold a line break or another control character",
            refusal("a\nb", "/data/"));
  EXPECT_EQ("The folder must not hold a line break or another control character",
            refusal("Orders", "/x\n[Injected]\nDriver=evil.so"));
  EXPECT_EQ("The folder must not hold a line break or another control character", refusal("Orders", "/x\t"));
  EXPECT_EQ(kHandWritten, Text());
  EXPECT_EQ("The description must not hold a line break or another control character",
            DataSourceRefusal("Orders", {{"Description", "a\rb"}}).value_or(""));
  EXPECT_FALSE(DataSourceRefusal("Orders (1997; all)", {{"DefaultDir", "/data/[old]=x/"}}));
}

}  // namespace
}  // namespace quorlin
