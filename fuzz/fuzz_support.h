// What every fuzz target and every corpus replay needs: the input's bytes, a scratch file, a verdict.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A file name of this process in the temporary folder, so parallel fuzzing jobs do not collide.
inline std::string ScratchPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("quorlin-fuzz-" + std::to_string(::getpid()) + "-" + name))
      .string();
}

inline void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The files of a corpus folder in name order, for the tests that replay it.
inline std::vector<std::string> CorpusFiles(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A broken invariant is a finding: aborting makes libFuzzer keep the input that caused it.
inline void Require(const std::string& failure) {
  if (failure.empty()) return;
  std::fprintf(stderr, "invariant broken: %s\n", failure.c_str());
  std::abort();
}

}  // namespace quorlin::fuzz
