// The report's lines: a heading, one line per field in fixed columns, and the totals.
#include "schema/structure_report.h"

#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>

#include "platform/file_paths.h"
#include "platform/line_end.h"
#include "platform/product_identity.h"
#include "text/integer_text.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr std::string_view kColumnHeadings =
    "  Field No Field Name                          Type       Width Format    ";
constexpr std::string_view kRule =
    "  ------------------------------------------------------------------------";
constexpr std::string_view kUncountedNote =
    "  * width is not a whole number and counts 0 in the total";

constexpr std::size_t kNameColumns = 35;
constexpr std::size_t kTypeColumns = 10;
constexpr std::size_t kWidthColumns = 5;
constexpr std::size_t kFormatColumns = 10;

// printf into a std::string, for the report's "%6d" and "%5d" columns.
template <typename... Args>
std::string Formatted(const char* format, Args... args) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, format, args...);
  return std::string(buffer, length < 0 ? 0 : static_cast<std::size_t>(length));
}

// A width as the total counts it: a whole number within 32 bits, as the number converter
// takes it.
std::optional<long long> CountedWidth(const std::string& width) {
  try {
    const long long value = ToInteger(width);
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
      return std::nullopt;
    }
    return value;
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

std::string FieldLine(const FieldSpec& field, long long number, bool widthCounted) {
  std::string line = Formatted("%6lld", number);
  line += "     ";
  line += PadText(field.name, kNameColumns, PadMode::Left);
  line += ' ';
  line += PadText(field.typeName, kTypeColumns, PadMode::Left);
  line += widthCounted ? ' ' : '*';
  line += PadText(field.width, kWidthColumns, PadMode::Right);
  if (field.format && !Trim(*field.format).empty()) {
    line += ' ';
    line += PadText(*field.format, kFormatColumns, PadMode::Left);
  }
  return line;
}

// "yyyy/MM/dd" with the "/" itself, whatever the locale's date separator.
std::string ReportDate(std::chrono::year_month_day date) {
  return Formatted("%04d/%02u/%02u", static_cast<int>(date.year()),
                   static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
}

}  // namespace

std::string PadText(std::string_view text, std::size_t width, PadMode mode) {
  if (mode == PadMode::Left) {
    std::string padded(text.substr(0, width));
    padded.append(width - padded.size(), ' ');
    return padded;
  }
  const std::string_view kept = text.substr(text.size() > width ? text.size() - width : 0);
  return std::string(width - kept.size(), ' ').append(kept);
}

std::string_view ReportFormatName(SeparatorKind separator) {
  switch (separator) {
    case SeparatorKind::Comma: return "Comma Delimited";
    case SeparatorKind::Space: return "Space Delimited";
    case SeparatorKind::Tab: return "Tab Delimited";
    case SeparatorKind::Custom: return "Custom";
    case SeparatorKind::Fixed: return "Fixed Format";
  }
  return "Comma Delimited";
}

std::string StructureReport(std::string_view fileName, SeparatorKind separator,
                            const FieldList& fields, int numberingBase,
                            std::chrono::year_month_day today) {
  std::string report;
  const auto addLine = [&report](std::string_view line) { report.append(line).append(kLineEnd); };

  addLine("    Text File Structure ");
  addLine("");
  addLine(std::string("       File name : ").append(fileName));
  addLine("           As at : " + ReportDate(today));
  addLine(std::string("     File Format : ").append(ReportFormatName(separator)));
  addLine(kColumnHeadings);
  addLine(kRule);

  long long total = 0;
  bool someUncounted = false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::optional<long long> width = CountedWidth(fields[i].width);
    total += width.value_or(0);
    someUncounted |= !width;
    addLine(FieldLine(fields[i], static_cast<long long>(i) + numberingBase, width.has_value()));
  }

  addLine(kRule);
  addLine(Formatted("%6zu", fields.size()) + std::string(52, ' ') + Formatted("%5lld", total));
  if (someUncounted) addLine(kUncountedNote);
  addLine("");
  addLine(std::string("  Structure listed by ").append(kProductName).append(
      ", the layout tool for flat text data files"));
  addLine(std::string("  ").append(kProductWebAddress));
  addLine("");
  return report;
}

std::optional<std::string> ReportOutputRefusal(const std::string& inputPath, const std::string& outputPath) {
  if (!IsSameFile(inputPath, outputPath)) return std::nullopt;
  return outputPath + ": the output is the input file, which is never written";
}

}  // namespace quorlin
