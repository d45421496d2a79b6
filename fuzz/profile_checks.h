// Invariants of profile file reads and writes, checked by fuzzing and by corpus replay.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "platform/ascii_case.h"
#include "platform/file_error.h"
#include "platform/profile_file.h"

namespace quorlin::fuzz {

// Every read goes to the file, so only the first sections' keys are compared; that keeps
// inputs of a thousand tiny sections from slowing the fuzzer down.
inline constexpr std::size_t kComparedSections = 32;

struct ProfileSnapshot {
  std::vector<std::string> sections;
  std::vector<std::string> values;  // Col1 and Format of each compared section
};

inline ProfileSnapshot Snapshot(const ProfileFile& file) {
  ProfileSnapshot snapshot{file.ReadSections(), {}};
  for (std::size_t i = 0; i < snapshot.sections.size() && i < kComparedSections; ++i) {
    snapshot.values.push_back(file.ReadString(snapshot.sections[i], "Col1", "(none)"));
    snapshot.values.push_back(file.ReadString(snapshot.sections[i], "Format", "(none)"));
  }
  return snapshot;
}

// Every section other than `changed` is still listed and reads as before.
inline std::string CompareOthers(const ProfileSnapshot& before, const ProfileFile& file,
                                 const std::string& changed, const std::string& step) {
  const ProfileSnapshot after = Snapshot(file);
  for (std::size_t i = 0; i < before.sections.size(); ++i) {
    const std::string& name = before.sections[i];
    if (EqualNoCase(name, changed)) continue;
    std::size_t at = 0;
    while (at < after.sections.size() && after.sections[at] != name) ++at;
    if (at == after.sections.size()) return step + " lost the section [" + name + "]";
    if (i >= kComparedSections || at >= kComparedSections) continue;
    if (after.values[2 * at] != before.values[2 * i] ||
        after.values[2 * at + 1] != before.values[2 * i + 1]) {
      return step + " changed the keys of [" + name + "]";
    }
  }
  return {};
}

// Whether `after` differs from `before` only within one line of it: every other byte is kept.
inline bool ChangesOneLine(std::string_view before, std::string_view after) {
  const std::size_t limit = std::min(before.size(), after.size());
  std::size_t prefix = 0;
  while (prefix < limit && before[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < limit - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  return before.substr(prefix, before.size() - prefix - suffix).find('\n') == std::string_view::npos;
}

inline bool Lists(const ProfileFile& file, const std::string& section) {
  for (const std::string& name : file.ReadSections()) {
    if (EqualNoCase(name, section)) return true;
  }
  return false;
}

// The input is the INI file. Reads must leave it alone; a key written to one of its sections
// (or to a new one) must read back, and the other sections must survive that write, a
// replacement of the section and its erasure. Only a section name holding a carriage return
// cannot be written to, and refusing must leave the file as it was.
inline std::string CheckProfileFile(std::string_view data, const std::string& path) {
  WriteFileBytes(path, data);
  ProfileFile file(path);
  const ProfileSnapshot before = Snapshot(file);
  file.ReadInteger(before.sections.empty() ? "" : before.sections.front(), "MaxScanRows", -1);
  if (FileBytes(path) != data) return "reading changed the file";

  static constexpr const char* kKeys[] = {"Col1", "Format", "FixedLength", "New Key"};
  const std::size_t choice = data.empty() ? 0 : static_cast<unsigned char>(data.back());
  const std::string section = before.sections.empty() || choice % 5 == 0
                                  ? std::string("Fuzz")
                                  : before.sections[choice % before.sections.size()];
  const std::string key = kKeys[choice % 4];
  const std::string value = "v=1 ]x";
  try {
    file.WriteString(section, key, value);
  } catch (const FileError&) {
    if (section.find('\r') == std::string::npos) return "writing to [" + section + "] failed";
    return FileBytes(path) == data ? std::string() : "a refused write changed the file";
  }
  if (file.ReadString(section, key, "(none)") != value) return "the written key does not read back";
  if (!ChangesOneLine(data, FileBytes(path))) return "writing changed more than the key's line";
  if (!Lists(file, section)) return "the written section is not listed";
  if (std::string failure = CompareOthers(before, file, section, "writing"); !failure.empty()) {
    return failure;
  }

  const std::vector<std::pair<std::string, std::string>> keys = {{"MaxScanRows", "7"},
                                                                  {key, "w"}};
  file.ReplaceSection(section, keys);
  if (file.ReadString(section, keys[0].first, "(none)") != keys[0].second ||
      file.ReadString(section, key, "(none)") != keys[1].second) {
    return "the replaced section does not read back";
  }
  if (std::string failure = CompareOthers(before, file, section, "replacing"); !failure.empty()) {
    return failure;
  }

  file.EraseSection(section);
  if (Lists(file, section)) return "the erased section is still listed";
  if (file.ReadString(section, "Col1", "(none)") != "(none)") return "the erased section reads";
  return CompareOthers(before, file, section, "erasing");
}

}  // namespace quorlin::fuzz
