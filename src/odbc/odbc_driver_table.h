// The ODBC drivers of desktop databases the program knows by name.
#pragma once

#include <string>

namespace quorlin {

struct OdbcDriverNames {
  std::string registeredName;  // the name in odbcinst.ini
  std::string shortName;       // sent as the FIL attribute
};

// Entries 1 to 6 of the driver table; any other index gives two empty names.
OdbcDriverNames OdbcDriverKind(int index);

// The text driver's entry, the only one the program creates data sources for.
inline constexpr int kTextDriverIndex = 3;
inline constexpr const char* kTextDriverName = "Microsoft Text Driver (*.txt; *.csv)";

}  // namespace quorlin
