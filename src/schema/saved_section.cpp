#include "schema/saved_section.h"

#include <climits>
#include <filesystem>
#include <string_view>
#include <unordered_map>

#include "platform/ascii_case.h"
#include "platform/folder_files.h"
#include "schema/schema_file.h"
#include "schema/schema_reader.h"
#include "schema/schema_writer.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

SavedSection SavedSectionOf(const std::string& dataPath) {
  SavedSection saved;
  const std::string parent = std::filesystem::path(dataPath).parent_path().string();
  saved.folder = WithTrailingSlash(parent.empty() ? "." : parent);
  saved.schemaPath = SchemaFilePath(saved.folder);
  saved.section = SectionNameFor(dataPath);
  return saved;
}

ProfileFile SavedSectionFile(const SavedSection& saved) {
  if (saved.folder.empty()) return ProfileFile(saved.schemaPath, Unreadable::Raises);
  return OpenSchemaFile(saved.folder);
}

std::vector<ColumnEntry> ReadColumnEntries(const ProfileFile& file, const std::string& section,
                                           const ColumnReading& reading) {
  // One read of the file: a layout of a thousand fields would otherwise read it a thousand times.
  std::unordered_map<std::string, std::string> byKey;
  for (auto& [key, value] : file.ReadSection(section)) byKey.try_emplace(AsciiLower(key), std::move(value));
  std::vector<ColumnEntry> entries;
  for (std::size_t n = 1; n <= reading.limit; ++n) {
    const auto found = byKey.find("col" + std::to_string(n));
    if (found == byKey.end() || found->second == reading.stopWord) break;
    ColumnEntry& entry = entries.emplace_back();
    entry.number = n;
    entry.text = found->second;
    SplitRecord(entry.text, " ", "\"", entry.tokens);
  }
  return entries;
}

std::string SectionPlaceName(const ProfileFile& file, const std::string& section) {
  return std::filesystem::path(file.Path()).filename().string() + " [" + section + "]";
}

std::string ColumnEntryName(const ProfileFile& file, const std::string& section, std::size_t number) {
  return SectionPlaceName(file, section) + " Col" + std::to_string(number);
}

int CheckedWidth(const ProfileFile& file, const std::string& section, const ColumnEntry& entry,
                 const std::string& token) {
  long long value = 0;
  bool fits = AllDigits(token);
  for (const char c : token) {
    if (!fits) break;
    value = value * 10 + (c - '0');
    fits = value <= INT_MAX;
  }
  if (fits) return static_cast<int>(value);
  const char* fault = "is not a whole number";
  if (AllDigits(token)) {
    fault = "is too large";
  } else if (token.starts_with('-') && AllDigits(std::string_view(token).substr(1))) {
    fault = "is negative";
  }
  throw SchemaError(ColumnEntryName(file, section, entry.number) + ": the width \"" + token + "\" " + fault);
}

int FixedEntryWidth(const ProfileFile& file, const std::string& section, const ColumnEntry& entry) {
  if (entry.tokens.size() < 4) {
    throw SchemaError(ColumnEntryName(file, section, entry.number) + ": the entry \"" + entry.text +
                      "\" has no width");
  }
  return CheckedWidth(file, section, entry, entry.tokens[3]);
}

}  // namespace quorlin
