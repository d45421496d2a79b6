// Reading odbcinst.ini through the installer and finding the driver manager.
#include "odbc/driver_registration.h"

#include <dlfcn.h>
#include <odbcinst.h>

#include <cstdlib>
#include <vector>

#include "odbc/odbc_driver_table.h"

namespace quorlin {

namespace {

constexpr const char* kDriversFile = "odbcinst.ini";

std::string RegistrationValue(const std::string& driverName, const char* key, std::size_t limit = std::string::npos) {
  std::vector<char> value(4096);
  const int length = SQLGetPrivateProfileString(driverName.c_str(), key, "", value.data(),
                                                static_cast<int>(value.size()), kDriversFile);
  if (length <= 0) return {};
  return std::string(value.data()).substr(0, limit);
}

bool IsRegistered(const std::string& driverName) {
  std::vector<char> keys(4096);
  return SQLGetPrivateProfileString(driverName.c_str(), nullptr, "", keys.data(), static_cast<int>(keys.size()),
                                    kDriversFile) > 0;
}

}  // namespace

std::optional<DriverRegistration> ReadDriverRegistration(const std::string& driverName) {
  if (!IsRegistered(driverName)) return std::nullopt;
  DriverRegistration registration;
  const std::string usageCount = RegistrationValue(driverName, "UsageCount");
  if (!usageCount.empty()) {
    char* end = nullptr;
    const long count = std::strtol(usageCount.c_str(), &end, 10);
    if (end != nullptr && *end == '\0') registration.usageCount = count;
  }
  registration.driver = RegistrationValue(driverName, "Driver");
  registration.setup = RegistrationValue(driverName, "Setup");
  registration.apiLevel = RegistrationValue(driverName, "APILevel", 1);
  registration.connectFunctions = RegistrationValue(driverName, "ConnectFunctions", 5);
  registration.driverOdbcVer = RegistrationValue(driverName, "DriverODBCVer", 20);
  registration.fileUsage = RegistrationValue(driverName, "FileUsage", 1);
  registration.fileExtns = RegistrationValue(driverName, "FileExtns", 20);
  registration.sqlLevel = RegistrationValue(driverName, "SQLLevel", 1);
  registration.uid = RegistrationValue(driverName, "UID", 20);
  registration.cpTimeout = RegistrationValue(driverName, "CPTimeout", 15);
  return registration;
}

OdbcAvailability CheckTextDriverAvailability(const std::string& driverManagerLibrary) {
  void* library = dlopen(driverManagerLibrary.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (library == nullptr) return OdbcAvailability::NoDriverManager;
  dlclose(library);
  if (!ReadDriverRegistration(kTextDriverName)) return OdbcAvailability::NoTextDriver;
  return OdbcAvailability::Ready;
}

std::string AvailabilityMessage(OdbcAvailability availability) {
  switch (availability) {
    case OdbcAvailability::NoDriverManager:
      return "Can't find ODBC on your system\nPlease check and confirm ODBC is loaded";
    case OdbcAvailability::NoTextDriver:
      return "Can't find Text ODBC Driver\nPlease check it has been installed";
    case OdbcAvailability::Ready:
      break;
  }
  return {};
}

}  // namespace quorlin
