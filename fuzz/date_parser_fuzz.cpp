// Fuzzes the date, numeric and boolean recognisers under a locale chosen by the first byte.
#include <cstddef>
#include <cstdint>

#include "schema_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorlin::fuzz::Require(quorlin::fuzz::CheckDates(quorlin::fuzz::Bytes(data, size)));
  return 0;
}
