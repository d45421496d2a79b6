#include "export/export_field_builder.h"

#include <limits>

#include <array>
#include <optional>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/profile_file.h"
#include "schema/saved_section.h"
#include "schema/schema_reader.h"

namespace quorlin {

namespace {

// The export's own end of the entries: an entry holding "na" ends them, as a missing one does.
constexpr const char* kNoEntry = "na";
constexpr std::int32_t kUnsetCharLength = 254;

std::vector<ColumnEntry> ExportEntries(const ProfileFile& file, const SavedSection& saved) {
  ColumnReading reading;
  // However many: a format that cannot hold them all refuses the export.
  reading.limit = std::numeric_limits<std::size_t>::max();
  reading.stopWord = kNoEntry;
  return ReadColumnEntries(file, saved.section, reading);
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

// Words the older formats take as text but a typed columnar format keeps as what they are.
constexpr TypeWord kColumnarTypeWords[] = {
    {"Currency", ExportFieldType::Currency}, {"Single", ExportFieldType::Single},
    {"Double", ExportFieldType::Double},     {"DateTime", ExportFieldType::Datetime}};

ExportFieldType TypeOfWord(const std::string& word, ExportFormat format) {
  for (const TypeWord& known : kTypeWords) {
    if (word == known.word) return known.type;
  }
  if (format == ExportFormat::Parquet) {
    for (const TypeWord& known : kColumnarTypeWords) {
      if (word == known.word) return known.type;
    }
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

}  // namespace

std::size_t CountSchemaColumns(const std::string& inputPath) { return CountSchemaColumns(SavedSectionOf(inputPath)); }

std::size_t CountSchemaColumns(const SavedSection& saved) {
  return ExportEntries(SavedSectionFile(saved), saved).size();
}

FileConventions SavedConventions(const SavedSection& saved) {
  return ReadSavedLayout(SavedSectionFile(saved), saved.section).conventions;
}

ExportFields BuildExportFields(const std::string& inputPath, bool fixedInput, ExportFormat format) {
  return BuildExportFields(SavedSectionOf(inputPath), fixedInput, format);
}

ExportFields BuildExportFields(const SavedSection& saved, bool fixedInput, ExportFormat format) {
  const ProfileFile file = SavedSectionFile(saved);
  ExportFields fields;
  for (const ColumnEntry& entry : ExportEntries(file, saved)) {
    const std::vector<std::string>& tokens = entry.tokens;
    ExportField field;
    field.name = Token(tokens, 1).substr(0, kMaxExportNameLength);
    field.typeCode = TypeOfWord(Token(tokens, 2), format);
    // A fixed layout needs every width; a delimited one saves a width only after WIDTH, and
    // a malformed one is the same error there.
    std::optional<std::int32_t> width;
    if (fixedInput) {
      width = FixedEntryWidth(file, saved.section, entry);
      field.inputWidth = *width;
    } else if (tokens.size() >= 4 && AsciiUpper(tokens[2]) == "WIDTH") {
      width = CheckedWidth(file, saved.section, entry, tokens[3]);
    }
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
