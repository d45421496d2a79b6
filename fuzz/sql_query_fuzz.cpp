// Fuzzes the text driver's SELECT reader.
#include <cstddef>
#include <cstdint>

#include "odbc_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorlin::fuzz::Require(quorlin::fuzz::CheckSelect(quorlin::fuzz::Bytes(data, size)));
  return 0;
}
