#include "export/column_names.h"

#include <unordered_set>

#include "platform/ascii_case.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

std::string NameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = AsciiLower(c);
  return key;
}

}  // namespace

std::vector<std::string> UniqueColumnNames(const std::vector<std::string>& names,
                                           std::size_t maxLength) {
  std::vector<std::string> unique;
  std::unordered_set<std::string> taken;
  unique.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string name = CutAtCharacter(names[i], maxLength);
    if (Trim(name).empty()) name = "FIELD" + std::to_string(i + 1);
    const std::string base = name;
    for (int suffix = 2; taken.count(NameKey(name)) > 0; ++suffix) {
      const std::string ending = "_" + std::to_string(suffix);
      name = CutAtCharacter(base, maxLength - ending.size()) + ending;
    }
    taken.insert(NameKey(name));
    unique.push_back(std::move(name));
  }
  return unique;
}

}  // namespace quorlin
