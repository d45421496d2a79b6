// A driver's registration in odbcinst.ini, and whether ODBC is there to use it.
#pragma once

#include <optional>
#include <string>

namespace quorlin {

// What odbcinst.ini holds for a driver. Paths are kept whole; the short values are cut to
// the lengths the registration record has room for.
struct DriverRegistration {
  std::optional<long> usageCount;  // unixODBC often writes none
  std::string driver;              // the driver library's path
  std::string setup;               // the setup library's path
  std::string apiLevel;            // 1
  std::string connectFunctions;    // 5
  std::string driverOdbcVer;       // 20
  std::string fileUsage;           // 1
  std::string fileExtns;           // 20
  std::string sqlLevel;            // 1
  std::string uid;                 // 20
  std::string cpTimeout;           // 15
};

// The driver's registration, or nothing when odbcinst.ini has no section for it. Read through
// the installer library, so ODBCSYSINI is honoured.
std::optional<DriverRegistration> ReadDriverRegistration(const std::string& driverName);

enum class OdbcAvailability { Ready, NoDriverManager, NoTextDriver };

// The check before the DSN dialog opens: the driver manager library can be loaded, and the text
// driver is registered.
OdbcAvailability CheckTextDriverAvailability(const std::string& driverManagerLibrary = "libodbc.so.2");

// The message for a failed check; empty for Ready.
std::string AvailabilityMessage(OdbcAvailability availability);

}  // namespace quorlin
