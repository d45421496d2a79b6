// The system-or-user choice and the owner of an existing data source, through the installer.
#include "odbc/data_source_files.h"

#include <odbcinst.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "odbc/odbc_ini_file.h"
#include "platform/ascii_case.h"

// unixODBC's own look-up of the system configuration folder ($ODBCSYSINI, read once per
// process, or its built-in folder); libodbcinst exports it without a public header. The result
// is the buffer or unixODBC's saved copy.
extern "C" char* odbcinst_system_file_path(char* buffer);

namespace quorlin {

namespace {

std::string ProfileValue(const std::string& section, const char* key, const char* file) {
  std::vector<char> value(4096);
  const int length =
      SQLGetPrivateProfileString(section.c_str(), key, "", value.data(), static_cast<int>(value.size()), file);
  return length > 0 ? std::string(value.data()) : std::string();
}

}  // namespace

std::string SystemDataSourceFile() {
  std::vector<char> buffer(4096);
  return std::string(odbcinst_system_file_path(buffer.data())) + "/odbc.ini";
}

DsnScope ChooseDsnScope(const std::string& systemFile) {
  std::error_code error;
  if (std::filesystem::exists(systemFile, error)) {
    return ::access(systemFile.c_str(), W_OK) == 0 ? DsnScope::System : DsnScope::User;
  }
  const std::string folder = std::filesystem::path(systemFile).parent_path().string();
  return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0 ? DsnScope::System : DsnScope::User;
}

ConfigModeScope::ConfigModeScope(DsnScope scope) {
  UWORD mode = ODBC_BOTH_DSN;
  SQLGetConfigMode(&mode);
  previous_ = mode;
  SQLSetConfigMode(scope == DsnScope::System ? ODBC_SYSTEM_DSN : ODBC_USER_DSN);
}

ConfigModeScope::~ConfigModeScope() { SQLSetConfigMode(previous_); }

// odbc.ini is read directly, as it is written: the installer's own reads keep what they read
// for a while and miss what our writer changed meanwhile.
bool DataSourceExists(const std::string& dataSource) {
  return OdbcIniFile(ModeDataSourceFile()).HasDataSource(dataSource);
}

bool DataSourceBelongsTo(const std::string& dataSource, const std::string& driverName) {
  const std::string named = OdbcIniFile(ModeDataSourceFile()).Value(dataSource, "Driver");
  if (EqualNoCase(named, driverName)) return true;
  return !named.empty() && (named == ProfileValue(driverName, "Driver", "odbcinst.ini") ||
                            named == ProfileValue(driverName, "Setup", "odbcinst.ini"));
}

}  // namespace quorlin
