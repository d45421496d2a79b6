// Fuzzes the text driver's connection-string reader.
#include <cstddef>
#include <cstdint>

#include "odbc_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorlin::fuzz::Require(quorlin::fuzz::CheckConnectionString(quorlin::fuzz::Bytes(data, size)));
  return 0;
}
