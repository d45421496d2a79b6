// Fuzzes SplitRecord with every separator and qualifier the callers pass.
#include <cstddef>
#include <cstdint>

#include "text_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorlin::fuzz::Require(quorlin::fuzz::CheckSplit(quorlin::fuzz::Bytes(data, size)));
  return 0;
}
