#include "support/test_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorlin::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::set<std::string> TempDir::Names() const {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) names.insert(entry.path().filename().string());
  return names;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

namespace {

std::string HexWindow(const std::string& bytes, std::size_t from) {
  std::string out;
  char cell[4];
  for (std::size_t i = from; i < bytes.size() && i < from + 16; ++i) {
    std::snprintf(cell, sizeof cell, "%02x ", static_cast<unsigned char>(bytes[i]));
    out += cell;
  }
  return out.empty() ? "(end)" : out;
}

}  // namespace

std::string DescribeByteDifference(const std::string& expected, const std::string& actual) {
  if (expected == actual) return "";
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const std::size_t from = at >= 8 ? at - 8 : 0;
  std::ostringstream text;
  text << "first difference at offset " << at << " (sizes " << expected.size() << " and "
       << actual.size() << ")\n  expected from " << from << ": " << HexWindow(expected, from)
       << "\n  actual   from " << from << ": " << HexWindow(actual, from);
  return text.str();
}

}  // namespace quorlin::testing
