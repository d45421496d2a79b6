// The failure of an ODBC platform service; its text is what the user is shown.
#pragma once

#include <stdexcept>

namespace quorlin {

class OdbcError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quorlin
