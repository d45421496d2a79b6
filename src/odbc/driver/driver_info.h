// What SQLGetInfo tells clients about the driver and a connection.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace quorlin::driver {

struct Connection;

// A text, or a number given as an SQLUSMALLINT or an SQLUINTEGER as the information type asks.
using InfoValue = std::variant<std::string, SQLUSMALLINT, SQLUINTEGER>;

// The answer for `infoType`, or nothing for a type the driver does not know.
std::optional<InfoValue> DriverInfo(const Connection& connection, SQLUSMALLINT infoType);

// "01.00.0001" from "1.0.0.1": the ##.##.#### form ODBC asks for.
std::string OdbcVersionText(const std::string& version);

}  // namespace quorlin::driver
