// Fuzzes the Schema.INI reader: the input is the schema file, every section of it is read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "schema_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = quorlin::fuzz::ScratchPath("Schema.INI");
  quorlin::fuzz::Require(quorlin::fuzz::CheckSchemaReader(quorlin::fuzz::Bytes(data, size), path));
  return 0;
}
