// The field editor's rules, apart from the controls that show them.
#include "schema/field_editing.h"

#include <optional>

#include "platform/ascii_case.h"
#include "schema/value_recognisers.h"
#include "text/integer_text.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

std::optional<long long> WholeNumberIn(const std::string& text) {
  try {
    return ToInteger(text);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

}  // namespace

bool IsCharacterType(const std::string& typeText) { return ContainsNoCase(typeText, "char"); }

bool TypeTakesDateFormat(const std::string& typeText, bool odbcOnly) {
  return !odbcOnly && (ContainsNoCase(typeText, "date") || ContainsNoCase(typeText, "time"));
}

long long LongestColumnValue(const std::vector<std::vector<std::string>>& rows,
                             std::size_t column) {
  long long longest = -1;
  for (const std::vector<std::string>& row : rows) {
    if (column >= row.size()) continue;
    const std::string& cell = row[column];
    if (Trim(cell).empty()) continue;
    if (static_cast<long long>(cell.size()) > longest)
      longest = static_cast<long long>(cell.size());
  }
  return longest;
}

std::string WidthAfterTypeChange(const std::string& typeText, const std::string& widthBox,
                                 bool fixedLayout, long long longest) {
  if (!IsCharacterType(typeText) && !fixedLayout) return "0";
  // The box is checked whenever it is left, so a text that is no number at all is one the
  // user is still typing; it is not ours to overwrite.
  if (WholeNumberIn(widthBox) == 0) return std::to_string(longest);
  return widthBox;
}

bool CanAddField(const std::string& name, const std::string& typeText, const std::string& width,
                 const std::string& startRow, const std::string& rowsToScan,
                 const LocaleSettings& locale) {
  for (const std::string* box : {&name, &typeText, &width, &startRow, &rowsToScan}) {
    if (IsBlank(*box)) return false;
  }
  return IsNumeric(width, locale) && IsNumeric(startRow, locale) && IsNumeric(rowsToScan, locale);
}

long long DeleteField(FieldList& fields, std::size_t index, bool fixedLayout) {
  if (index >= fields.size()) return -1;
  const long long deletedWidth = WholeNumberIn(fields[index].width).value_or(0);
  fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(index));
  if (!fixedLayout || fields.empty()) return -1;

  const std::size_t receiver = index == 0 ? 0 : index - 1;
  const long long receiverWidth = WholeNumberIn(fields[receiver].width).value_or(0);
  long long merged = 0;
  if (__builtin_add_overflow(receiverWidth, deletedWidth, &merged)) merged = receiverWidth;
  fields[receiver].width = std::to_string(merged);
  return static_cast<long long>(receiver);
}

}  // namespace quorlin
