// Registered names and short names of the desktop database drivers.
#include "odbc/odbc_driver_table.h"

#include <array>

namespace quorlin {

OdbcDriverNames OdbcDriverKind(int index) {
  static const std::array<OdbcDriverNames, 6> kDrivers = {{
      {"Microsoft Access Driver (*.mdb)", "MS Acess"},
      {"Microsoft Excel Driver (*.xls)", "Excel 97-2000"},
      {kTextDriverName, "text"},
      {"Microsoft Paradox Driver (*.db)", "Paradox 5.X"},
      {"Microsoft dBase Driver (*.dbf)", "dBase 5.0"},
      {"Microsoft Visual FoxPro Driver (*.dbf)", "FoxPro Tables"},
  }};
  if (index < 1 || index > static_cast<int>(kDrivers.size())) return {};
  return kDrivers[static_cast<std::size_t>(index - 1)];
}

}  // namespace quorlin
