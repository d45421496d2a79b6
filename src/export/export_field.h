// The per-field descriptor the writers see, with its twelve type codes and their names.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

enum class ExportFieldType : std::uint8_t {
  Bit,
  Byte,
  Char,
  Date,
  Datetime,
  Time,
  Currency,
  Integer,
  Long,
  Float,
  Single,
  Double,
};

// Each code's name, padded with blanks to eight characters; SQL and XML print the padding.
inline constexpr std::array<std::string_view, 12> kExportTypeNames = {
    "Bit     ", "Byte    ", "Char    ", "Date    ", "Datetime", "Time    ",
    "Currency", "Integer ", "Long    ", "Float   ", "Single  ", "Double  "};

inline std::string_view TypeName(ExportFieldType type) {
  return kExportTypeNames[static_cast<std::size_t>(type)];
}

inline constexpr std::size_t kMaxExportNameLength = 35;
inline constexpr std::size_t kMaxExportFormatLength = 12;

struct ExportField {
  std::string name;              // at most 35 bytes
  std::int32_t inputWidth = 0;   // the width in a fixed-length input record; 0 when delimited
  ExportFieldType typeCode = ExportFieldType::Char;
  std::int32_t length = 0;       // output length, by type and format
  std::int32_t decimals = 0;     // 2 for Float
  std::string format;            // the entry's FMT value, at most 12 bytes, or empty

  bool operator==(const ExportField&) const = default;
};

using ExportFields = std::vector<ExportField>;

// The sum of the fields' lengths; an xBase record is one byte longer.
std::int64_t TotalWidth(const ExportFields& fields);

// The refusal of a format whose text fields hold at most `most` characters, naming the first
// field that is wider; nothing when every one fits.
std::optional<std::string> WiderTextFieldThan(const ExportFields& fields, std::int32_t most, std::string_view format);

void PrintTo(ExportFieldType type, std::ostream* out);
void PrintTo(const ExportField& field, std::ostream* out);

}  // namespace quorlin
