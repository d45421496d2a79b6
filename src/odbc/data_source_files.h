// Which odbc.ini a data source goes to, and whose data source a name already is.
#pragma once

#include <string>

namespace quorlin {

// System data sources go to the system odbc.ini, user data sources to the user's own.
enum class DsnScope { System, User };

// The system odbc.ini as unixODBC finds it ($ODBCSYSINI or its built-in folder).
std::string SystemDataSourceFile();

// System when `systemFile` can be written, or created in its folder; otherwise User, so that a
// user without that right still gets a data source, in the user's own odbc.ini.
DsnScope ChooseDsnScope(const std::string& systemFile = SystemDataSourceFile());

// While it lives, the installer reads and writes only the odbc.ini of `scope`.
class ConfigModeScope {
 public:
  explicit ConfigModeScope(DsnScope scope);
  ~ConfigModeScope();
  ConfigModeScope(const ConfigModeScope&) = delete;
  ConfigModeScope& operator=(const ConfigModeScope&) = delete;

 private:
  unsigned short previous_;
};

// Whether the odbc.ini of the installer's current mode has a section for `dataSource`.
bool DataSourceExists(const std::string& dataSource);

// Whether `dataSource` is a data source of `driverName`: its Driver entry is that name (in any
// letter case) or the library the registration names.
bool DataSourceBelongsTo(const std::string& dataSource, const std::string& driverName);

}  // namespace quorlin
