// Invariants of the Schema.INI reader and the date recognisers, checked by fuzzing and by
// corpus replay.
#pragma once

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/locale_settings.h"
#include "platform/profile_file.h"
#include "schema/schema_reader.h"
#include "schema/value_recognisers.h"
#include "text/record_splitter.h"

namespace quorlin::fuzz {

// Reading a section re-reads the file for every key, so only the first sections are read.
inline constexpr std::size_t kReadSections = 32;
inline constexpr std::size_t kPreviewColumns = 64;

// Whether a SchemaError names an entry of `section`; what() ends at the first NUL byte, so a
// name holding one shows only up to there.
inline bool NamesAnEntry(const SchemaError& error, const std::string& section) {
  const std::string entry = "[" + section + "] Col";
  return std::string(error.what()).find(entry.substr(0, entry.find('\0'))) != std::string::npos;
}

// The input is a Schema.INI; every listed section is read as a saved layout, as fixed fields
// and as delimited fields. An unusable entry (a width of a fixed one, or a delimited one's
// WIDTH value) may raise SchemaError naming the section;
// nothing else may be raised, and what is read back must be usable as it stands.
inline std::string CheckSchemaReader(std::string_view data, const std::string& path) {
  WriteFileBytes(path, data);
  const ProfileFile file(path);
  const std::vector<std::string> sections = file.ReadSections();
  for (std::size_t i = 0; i < sections.size() && i < kReadSections; ++i) {
    const std::string& section = sections[i];
    const SavedLayout saved = ReadSavedLayout(file, section);
    if (saved.customSeparator.size() > (saved.separator == SeparatorKind::Custom ? 1u : 0u)) {
      return "[" + section + "] gives the custom separator \"" + saved.customSeparator + "\"";
    }
    const bool hasFields = SectionHasFields(file, section);
    try {
      const FieldList fixed = ReadFixedFields(file, section);
      if (!fixed.empty() && !hasFields) return "[" + section + "] has fixed fields but no Col1";
      const std::vector<long long> widths = FieldWidths(fixed);
      for (std::size_t f = 0; f < fixed.size(); ++f) {
        // A width that passed the reader is plain digits of an int, and FieldWidths agrees.
        const std::string& width = fixed[f].width;
        if (width.empty() || width.find_first_not_of("0123456789") != std::string::npos ||
            std::stoll(width) > INT_MAX || std::stoll(width) != widths[f]) {
          return "[" + section + "] Col" + std::to_string(f + 1) + " has the width \"" + width + "\"";
        }
      }
    } catch (const SchemaError& error) {
      if (!NamesAnEntry(error, section)) {
        return "the error \"" + std::string(error.what()) + "\" names no entry of [" + section + "]";
      }
    }
    FieldList delimited;
    try {
      delimited = ReadDelimitedFields(file, section, kPreviewColumns);
    } catch (const SchemaError& error) {
      if (!NamesAnEntry(error, section)) {
        return "the error \"" + std::string(error.what()) + "\" names no entry of [" + section + "]";
      }
      continue;
    }
    if (delimited.size() > kPreviewColumns) return "[" + section + "] has more fields than columns";
    // "Missing" is the default that tells a section without Col1, so a Col1 of just that word
    // reads as no fields too.
    const bool col1IsDefault = file.ReadString(section, "Col1", "") == "Missing";
    if (!delimited.empty() && !hasFields && !col1IsDefault) {
      return "[" + section + "] has delimited fields but no Col1";
    }
    for (const FieldSpec& field : delimited) {
      if (!field.format) return "a delimited field of [" + section + "] has no format entry";
    }
  }
  return {};
}

// The first byte chooses the locale: date order, date, time and decimal separators, the AM
// and PM strings and the current year.
inline LocaleSettings FuzzLocale(unsigned char choice) {
  static constexpr const char* kFormats[] = {"MM/dd/yy", "dd/MM/yyyy", "yyyy-MM-dd", "HH"};
  static constexpr char kDateSeparators[] = {'/', '-', '.', ':'};
  LocaleSettings locale;
  locale.shortDateFormat = kFormats[choice & 3];
  locale.dateSeparator = kDateSeparators[(choice >> 2) & 3];
  locale.timeSeparator = (choice & 0x10) ? '.' : ':';
  locale.decimalSeparator = (choice & 0x20) ? ',' : '.';
  if (choice & 0x40) locale.amString = locale.pmString = "";
  locale.currentYear = (choice & 0x80) ? 9990 : 2026;
  return locale;
}

// Whether the C library reads the text as a number of the extended floating-point type, for
// texts made only of signs, digits, exponent letters and the decimal separator. A mantissa
// without digits ("." or ".e5") is a number too, read as zero; the library refuses it.
inline std::optional<bool> ReferenceIsNumeric(std::string_view text, char decimalSeparator) {
  text = Trim(text);
  std::string plain(text);
  bool digitBeforeExponent = false;
  for (const char c : plain) {
    if (c == 'e' || c == 'E') break;
    digitBeforeExponent = digitBeforeExponent || (c >= '0' && c <= '9');
  }
  for (char& c : plain) {
    if (c == decimalSeparator) {
      c = '.';
    } else if (!(c >= '0' && c <= '9') && c != '+' && c != '-' && c != 'e' && c != 'E') {
      return std::nullopt;
    }
  }
  if (plain.empty() || !digitBeforeExponent) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long double value = std::strtold(plain.c_str(), &end);
  return end == plain.c_str() + plain.size() && !(errno == ERANGE && std::isinf(value));
}

inline bool IsValidDateTime(const DateTime& value) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (value.year % 4 == 0 && value.year % 100 != 0) || value.year % 400 == 0;
  return value.year >= 1 && value.year <= 9999 && value.month >= 1 && value.month <= 12 &&
         value.day >= 1 && value.day <= kDays[value.month - 1] - (value.month == 2 && !leap) &&
         value.hour >= 0 && value.hour < 24 && value.minute >= 0 && value.minute < 60 &&
         value.second >= 0 && value.second < 60 && value.millisecond >= 0 &&
         value.millisecond < 1000;
}

// IsDate and ToDateTime must agree: a date converts to a valid date-time, anything else to the
// zero one. Blanks around the text change nothing, and a blank text is nothing at all.
inline std::string CheckDates(std::string_view data) {
  if (data.empty()) return {};
  const LocaleSettings locale = FuzzLocale(static_cast<unsigned char>(data[0]));
  const std::string_view text = data.substr(1);
  const bool isDate = IsDate(text, locale);
  const DateTime value = ToDateTime(text, locale);
  if (!isDate && !(value == DateTime{})) return "ToDateTime converts a text IsDate refuses";
  if (isDate && !IsValidDateTime(value)) return "ToDateTime gives an invalid date-time";
  const std::string padded = " " + std::string(text) + "\t";
  if (IsDate(padded, locale) != isDate || !(ToDateTime(padded, locale) == value)) {
    return "blanks around the text change the date";
  }
  const bool isNumeric = IsNumeric(text, locale);
  if (const std::optional<bool> reference = ReferenceIsNumeric(text, locale.decimalSeparator);
      reference && *reference != isNumeric) {
    return isNumeric ? "numeric where the C library reads no number"
                     : "not numeric where the C library reads a number";
  }
  if (IsWholeNumber(text, locale) && (!isNumeric || text.find('.') != std::string_view::npos)) {
    return "a whole number that is not numeric or holds a full stop";
  }
  if (IsBlank(text) && (isNumeric || isDate || IsBoolean(text))) {
    return "a blank text counts as a value";
  }
  return {};
}

}  // namespace quorlin::fuzz
