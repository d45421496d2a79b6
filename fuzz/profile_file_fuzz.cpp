// Fuzzes profile file access: the input is the INI file that is read and then written.
#include <cstddef>
#include <cstdint>
#include <string>

#include "profile_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = quorlin::fuzz::ScratchPath("profile.ini");
  quorlin::fuzz::Require(quorlin::fuzz::CheckProfileFile(quorlin::fuzz::Bytes(data, size), path));
  return 0;
}
