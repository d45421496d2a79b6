#include "export/export_field_builder.h"

#include <climits>
#include <filesystem>
#include <optional>
#include <unordered_map>
#include <vector>

#include "export/export_paths.h"
#include "platform/ascii_case.h"
#include "platform/folder_files.h"
#include "platform/profile_file.h"
#include "schema/schema_reader.h"
#include "schema/schema_writer.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr const char* kNoEntry = "na";
constexpr std::int32_t kUnsetCharLength = 254;

// The ColN entries up to the first missing one or one holding "na", read with one read of the
// file rather than one per entry.
std::vector<std::string> ColumnEntries(const SavedSection& saved) {
  std::unordered_map<std::string, std::string> byKey;
  for (auto& [key, value] : ProfileFile(saved.schemaPath).ReadSection(saved.section)) {
    std::string lower = key;
    for (char& c : lower) c = AsciiLower(c);
    byKey.try_emplace(std::move(lower), std::move(value));
  }
  std::vector<std::string> entries;
  for (std::size_t n = 1;; ++n) {
    const auto found = byKey.find("col" + std::to_string(n));
    if (found == byKey.end() || found->second == kNoEntry) break;
    entries.push_back(found->second);
  }
  return entries;
}

// Plain decimal digits that fit in an int32.
std::optional<std::int32_t> WholeWidth(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

struct TypeWord {
  const char* word;
  ExportFieldType type;
};

// Compared exactly, letter case included; every other word is of the Char group.
constexpr TypeWord kTypeWords[] = {
    {"Bit", ExportFieldType::Bit},   {"Byte", ExportFieldType::Byte},
    {"Integer", ExportFieldType::Integer}, {"Long", ExportFieldType::Long},
    {"Date", ExportFieldType::Date}, {"Time", ExportFieldType::Time},
    {"Float", ExportFieldType::Float}};

ExportFieldType TypeOfWord(const std::string& word) {
  for (const TypeWord& known : kTypeWords) {
    if (word == known.word) return known.type;
  }
  return ExportFieldType::Char;
}

// The output length of every type but Char, for xBase, Paradox and the other formats.
std::int32_t FixedLength(ExportFieldType type, ExportFormat format) {
  const int column = format == ExportFormat::XBase ? 0 : format == ExportFormat::Paradox ? 1 : 2;
  switch (type) {
    case ExportFieldType::Bit: return 1;
    case ExportFieldType::Byte: return 3;
    case ExportFieldType::Date:
    case ExportFieldType::Time: return std::array{8, 4, 0}[column];
    case ExportFieldType::Integer: return std::array{9, 8, 0}[column];
    case ExportFieldType::Long:
    case ExportFieldType::Float: return std::array{19, 18, 0}[column];
    default: return 0;
  }
}

std::string Token(const std::vector<std::string>& tokens, std::size_t number) {
  return number <= tokens.size() ? tokens[number - 1] : std::string();
}

std::string EntryName(const SavedSection& saved, std::size_t number) {
  return std::filesystem::path(saved.schemaPath).filename().string() + " [" + saved.section +
         "] Col" + std::to_string(number);
}

}  // namespace

SavedSection SavedSectionOf(const std::string& inputPath) {
  const std::string absolute = AbsoluteFilePath(inputPath);
  SavedSection saved;
  saved.schemaPath = SchemaFilePath(FolderOf(absolute));
  saved.section = SectionNameFor(absolute);
  return saved;
}

std::size_t CountSchemaColumns(const std::string& inputPath) {
  return ColumnEntries(SavedSectionOf(inputPath)).size();
}

ExportFields BuildExportFields(const std::string& inputPath, const std::string& qualifierText,
                               bool fixedInput, ExportFormat format) {
  const SavedSection saved = SavedSectionOf(inputPath);
  const std::vector<std::string> entries = ColumnEntries(saved);
  ExportFields fields;
  std::vector<std::string> tokens;
  for (std::size_t n = 1; n <= entries.size(); ++n) {
    SplitRecord(entries[n - 1], " ", qualifierText, tokens);
    ExportField field;
    field.name = Token(tokens, 1).substr(0, kMaxExportNameLength);
    field.typeCode = TypeOfWord(Token(tokens, 2));
    const std::string widthToken = Token(tokens, 4);
    const std::optional<std::int32_t> width = WholeWidth(widthToken);
    if (fixedInput && !width) {
      if (tokens.size() < 4) {
        throw SchemaError(EntryName(saved, n) + ": the entry \"" + entries[n - 1] +
                          "\" has no width");
      }
      throw SchemaError(EntryName(saved, n) + ": the width \"" + widthToken +
                        "\" is not a whole number");
    }
    if (fixedInput) field.inputWidth = *width;
    if (field.typeCode == ExportFieldType::Char) {
      // Delimited layouts save no width for many types, so a missing one is "not set", as 0 is.
      field.length = width && *width != 0 ? *width : kUnsetCharLength;
    } else {
      field.length = FixedLength(field.typeCode, format);
    }
    if (field.typeCode == ExportFieldType::Float) field.decimals = 2;
    // The keyword is looked for as a token, so a name such as FMTCODE is no format.
    if (Token(tokens, 3) == "FMT") {
      field.format = Token(tokens, 4).substr(0, kMaxExportFormatLength);
    } else if (Token(tokens, 5) == "FMT") {
      field.format = Token(tokens, 6).substr(0, kMaxExportFormatLength);
    }
    fields.push_back(std::move(field));
  }
  return fields;
}

}  // namespace quorlin
