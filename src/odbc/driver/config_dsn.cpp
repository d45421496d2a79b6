// The setup entry point: the installer's SQLConfigDataSource hands add, configure and remove
// requests for the text driver's data sources to ConfigDSN, which writes odbc.ini.
#include <odbcinst.h>

#include <string>
#include <vector>

#include "odbc/data_source_files.h"
#include "odbc/driver/connection_string.h"
#include "platform/ascii_case.h"

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
bool WriteAttributes(const std::string& dataSource, const ConnectionAttributes& attributes) {
  for (const auto& [key, value] : attributes.Pairs()) {
    if (quorlin::EqualNoCase(key, "DSN") || quorlin::EqualNoCase(key, "Driver")) continue;
    if (!SQLWritePrivateProfileString(dataSource.c_str(), key.c_str(), value.c_str(), "odbc.ini")) return false;
  }
  return true;
}

BOOL Configure(WORD request, const std::string& driver, const ConnectionAttributes& attributes) {
  const std::string dataSource = attributes.Find("DSN").value_or("");
  if (dataSource.empty()) return Refuse(ODBC_ERROR_INVALID_NAME, "The attributes name no data source (DSN=)");
  // The installer has already chosen the system or the user odbc.ini; both reads look there.
  const bool exists = quorlin::DataSourceExists(dataSource);
  if (exists && !quorlin::DataSourceBelongsTo(dataSource, driver)) {
    return Refuse(ODBC_ERROR_REQUEST_FAILED, "The data source " + dataSource + " belongs to another driver");
  }
  switch (request) {
    case ODBC_ADD_DSN:
      if (!SQLWriteDSNToIni(dataSource.c_str(), driver.c_str())) {
        return Refuse(ODBC_ERROR_REQUEST_FAILED, "The data source " + dataSource + " cannot be written");
      }
      return WriteAttributes(dataSource, attributes) ? kDone : Refuse(ODBC_ERROR_REQUEST_FAILED, "odbc.ini cannot be written");
    case ODBC_CONFIG_DSN:
      if (!exists) return Refuse(ODBC_ERROR_INVALID_DSN, "The data source " + dataSource + " does not exist");
      return WriteAttributes(dataSource, attributes) ? kDone : Refuse(ODBC_ERROR_REQUEST_FAILED, "odbc.ini cannot be written");
    case ODBC_REMOVE_DSN:
      if (!exists) return Refuse(ODBC_ERROR_INVALID_DSN, "The data source " + dataSource + " does not exist");
      return SQLRemoveDSNFromIni(dataSource.c_str()) ? kDone
                                                     : Refuse(ODBC_ERROR_REQUEST_FAILED, "odbc.ini cannot be written");
    default:
      return Refuse(ODBC_ERROR_INVALID_REQUEST_TYPE, "Request " + std::to_string(request) + " is not known");
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
