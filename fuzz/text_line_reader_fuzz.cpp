// Fuzzes the line rule: the input is the whole text file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "text_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = quorlin::fuzz::ScratchPath("lines.txt");
  quorlin::fuzz::Require(quorlin::fuzz::CheckLineReader(quorlin::fuzz::Bytes(data, size), path));
  return 0;
}
