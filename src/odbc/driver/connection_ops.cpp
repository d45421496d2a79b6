// A connection is a folder: from the connection string's DefaultDir or DBQ, or the data
// source's.
#include "odbc/driver/connection_ops.h"

#include <locale.h>
#include <odbcinst.h>

#include <filesystem>
#include <vector>

#include "odbc/driver/sql_error.h"
#include "odbc/driver/table_files.h"
#include "platform/folder_files.h"

namespace quorlin::driver {

LocaleSettings EnvironmentLocaleSettings() {
  const locale_t environment = newlocale(LC_ALL_MASK, "", nullptr);
  if (environment == nullptr) return SystemLocaleSettings();
  const locale_t previous = uselocale(environment);
  const LocaleSettings settings = SystemLocaleSettings();
  uselocale(previous);
  freelocale(environment);
  return settings;
}

std::string DataSourceValue(const std::string& dataSource, const std::string& key) {
  if (dataSource.empty()) return {};
  std::vector<char> value(4096);
  const int length = SQLGetPrivateProfileString(dataSource.c_str(), key.c_str(), "", value.data(),
                                                static_cast<int>(value.size()), "odbc.ini");
  return length > 0 ? std::string(value.data()) : std::string();
}

void Connect(Connection& connection, const std::string& dataSource, const ConnectionAttributes& attributes) {
  std::string folder = FolderAttribute(attributes).value_or(DataSourceValue(dataSource, "DefaultDir"));
  if (folder.empty()) folder = DataSourceValue(dataSource, "DBQ");
  const std::string extensions = attributes.Find("Extensions").value_or(DataSourceValue(dataSource, "Extensions"));
  const std::string named = dataSource.empty() ? "The connection" : "The data source " + dataSource;
  if (folder.empty()) throw SqlError(state::kCannotConnect, named + " names no folder: set DefaultDir");
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    throw SqlError(state::kCannotConnect, named + " names the folder " + folder + ", which does not exist");
  }
  connection.dataSource = dataSource;
  connection.source.folder = WithTrailingSlash(folder);
  connection.source.extensions = ParseExtensions(extensions);
  connection.source.locale = EnvironmentLocaleSettings();
  connection.database.reset();
  connection.connected = true;
}

std::string CompletedConnectionString(const Connection& connection) {
  ConnectionAttributes attributes;
  if (!connection.dataSource.empty()) attributes.Add("DSN", connection.dataSource);
  attributes.Add("DefaultDir", connection.source.folder);
  return FormatConnectionString(attributes);
}

}  // namespace quorlin::driver
