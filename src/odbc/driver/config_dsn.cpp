// The setup entry point: the installer's SQLConfigDataSource hands add, configure and remove
// requests for the text driver's data sources to ConfigDSN, which writes odbc.ini with the
// project's own writer.
#include <odbcinst.h>

#include <optional>
#include <string>

#include "odbc/data_source_files.h"
#include "odbc/odbc_ini_file.h"
#include "odbc/driver/connection_string.h"
#include "platform/ascii_case.h"
#include "platform/file_error.h"

using namespace quorlin::driver;

namespace {

constexpr BOOL kDone = 1;
constexpr BOOL kRefused = 0;

BOOL Refuse(DWORD code, const std::string& message) {
  SQLPostInstallerError(code, message.c_str());
  return kRefused;
}

// Every attribute but the name and the driver goes to the data source's section: the section's
// Driver entry stays the registered name, so the data source follows the registration when the
// library moves.
quorlin::DataSourceKeys SectionKeys(const ConnectionAttributes& attributes) {
  quorlin::DataSourceKeys keys;
  for (const auto& [key, value] : attributes.Pairs()) {
    if (quorlin::EqualNoCase(key, "DSN") || quorlin::EqualNoCase(key, "Driver")) continue;
    keys.emplace_back(key, value);
  }
  return keys;
}

BOOL Configure(WORD request, const std::string& driver, const ConnectionAttributes& attributes) {
  const std::string dataSource = attributes.Find("DSN").value_or("");
  if (dataSource.empty()) return Refuse(ODBC_ERROR_INVALID_NAME, "The attributes name no data source (DSN=)");
  if (const std::optional<std::string> refusal = quorlin::DataSourceRefusal(dataSource, SectionKeys(attributes))) {
    return Refuse(ODBC_ERROR_INVALID_KEYWORD_VALUE, *refusal);
  }
  // The installer has already chosen the system or the user odbc.ini.
  quorlin::OdbcIniFile file(quorlin::ModeDataSourceFile());
  const bool exists = file.HasDataSource(dataSource);
  if (exists && !quorlin::DataSourceBelongsTo(dataSource, driver)) {
    return Refuse(ODBC_ERROR_REQUEST_FAILED, "The data source " + dataSource + " belongs to another driver");
  }
  try {
    switch (request) {
      case ODBC_ADD_DSN:
        file.Add(dataSource, driver, SectionKeys(attributes));
        return kDone;
      case ODBC_CONFIG_DSN:
        if (!exists) return Refuse(ODBC_ERROR_INVALID_DSN, "The data source " + dataSource + " does not exist");
        file.Configure(dataSource, SectionKeys(attributes));
        return kDone;
      case ODBC_REMOVE_DSN:
        if (!exists) return Refuse(ODBC_ERROR_INVALID_DSN, "The data source " + dataSource + " does not exist");
        file.Remove(dataSource);
        return kDone;
      default:
        return Refuse(ODBC_ERROR_INVALID_REQUEST_TYPE, "Request " + std::to_string(request) + " is not known");
    }
  } catch (const quorlin::FileError& error) {
    return Refuse(ODBC_ERROR_REQUEST_FAILED, error.what());
  }
}

}  // namespace

extern "C" BOOL INSTAPI ConfigDSN(HWND, WORD request, LPCSTR driver, LPCSTR attributes) {
  try {
    if (driver == nullptr || attributes == nullptr) return Refuse(ODBC_ERROR_INVALID_NAME, "No driver or no attributes");
    return Configure(request, driver, ParseAttributeList(attributes));
  } catch (...) {
    return kRefused;
  }
}
