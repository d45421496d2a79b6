// Connecting to the folder a data source names.
#pragma once

#include <string>

#include "odbc/driver/connection_string.h"
#include "odbc/driver/handles.h"

namespace quorlin::driver {

// The user's date, time and number settings from the environment (LC_ALL, LC_TIME,
// LC_NUMERIC), whether or not the program that loaded the driver chose its locale itself.
LocaleSettings EnvironmentLocaleSettings();

// The value of `key` in the data source's odbc.ini section (user, then system), or empty.
std::string DataSourceValue(const std::string& dataSource, const std::string& key);

// Connects to the folder of data source `dataSource`; a DefaultDir or Extensions among
// `attributes` overrides the data source's own. Raises SqlError 08001 when no folder is named
// or the folder does not exist.
void Connect(Connection& connection, const std::string& dataSource, const ConnectionAttributes& attributes);

// The connection string that names the connection's data source and folder.
std::string CompletedConnectionString(const Connection& connection);

}  // namespace quorlin::driver
