#include "odbc/driver/table_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "odbc/driver/sql_error.h"
#include "support/test_files.h"

namespace quorlin::driver {
namespace {

using Strings = std::vector<std::string>;

class TableFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteBytes(folder.File("Orders.CSV"), "a\r\n");
    testing::WriteBytes(folder.File("notes.txt"), "a\r\n");
    testing::WriteBytes(folder.File("Schema.INI"), "");
    testing::WriteBytes(outside.File("secret.csv"), "a\r\n");
    std::filesystem::create_directory(folder.File("sub"));
    testing::WriteBytes(folder.File("sub/inner.csv"), "a\r\n");
    std::filesystem::create_symlink(outside.File("secret.csv"), folder.File("link.csv"));
    std::filesystem::create_symlink(folder.File("notes.txt"), folder.File("alias.txt"));
  }

  std::string RefusalOf(const std::string& table) {
    try {
      ResolveTableFile(folder.Path(), table);
    } catch (const SqlError& error) {
      return error.SqlState();
    }
    return "resolved";
  }

  testing::TempDir folder;
  testing::TempDir outside;
};

TEST_F(TableFiles, TablesAreTheFilesOfTheListedExtensions) {
  EXPECT_EQ((Strings{"Orders.CSV", "alias.txt", "notes.txt"}),
            ListTableFiles(folder.Path(), ParseExtensions("asc,csv,tab,txt")));
  EXPECT_EQ((Strings{"Orders.CSV"}), ListTableFiles(folder.Path(), ParseExtensions("*.csv")));
}

TEST_F(TableFiles, NamesAreFoundWithoutRegardToCase) {
  EXPECT_EQ(folder.File("Orders.CSV"), ResolveTableFile(folder.Path(), "orders.csv"));
  EXPECT_EQ(folder.File("alias.txt"), ResolveTableFile(folder.Path(), "alias.txt"));
}

TEST_F(TableFiles, NoNameLeadsOutOfTheFolder) {
  for (const std::string& name : {std::string("../") + std::filesystem::path(outside.Path()).parent_path().filename().string(),
                                  outside.File("secret.csv"), std::string("sub/inner.csv"), std::string("link.csv"),
                                  std::string(".."), std::string("sub"), std::string("missing.csv"), std::string("")}) {
    EXPECT_EQ("42S02", RefusalOf(name)) << name;
  }
}

TEST(Extensions, AreReadFromEitherListForm) {
  EXPECT_EQ((Strings{"csv", "txt"}), ParseExtensions("*.CSV;*.txt"));
  EXPECT_EQ((Strings{"asc", "csv", "tab", "txt"}), ParseExtensions(""));
  EXPECT_EQ((Strings{"dat"}), ParseExtensions(" dat , DAT "));
}

}  // namespace
}  // namespace quorlin::driver
