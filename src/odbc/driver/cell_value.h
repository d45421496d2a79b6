// One value of a result row, converted from the file's text to its column's type.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "odbc/driver/column_kind.h"
#include "platform/locale_settings.h"
#include "schema/value_recognisers.h"

namespace quorlin::driver {

struct CellValue {
  enum class Kind { Null, Text, Integer, Double, Date, Time, Timestamp, Bit };
  Kind kind = Kind::Null;
  std::string_view text;  // Text: the bytes, valid until the row changes
  // The character form of a value that is not a text, where the rows hold it written already;
  // empty where it is to be written when asked for. Next to the text, so that a fetch, which
  // hands out either, finds both in the first bytes of the value.
  std::string_view form;
  // Only the member of the value's kind holds anything, so they share their room: scans hand
  // over millions of values from thread to thread, and smaller ones take fewer cache lines.
  union {
    std::int64_t integer;  // Integer, Bit
    double real;           // Double
    DateTime when;         // Date, Time, Timestamp
  };

  CellValue() : integer(0) {}

  static CellValue Null() { return {}; }
  static CellValue Of(std::string_view bytes) {
    CellValue value;
    value.kind = Kind::Text;
    value.text = bytes;
    return value;
  }
  static CellValue Of(std::int64_t number) {
    CellValue value;
    value.kind = Kind::Integer;
    value.integer = number;
    return value;
  }
};

// A bit's character form as text that lasts as long as the program, so rows need no room for it.
inline std::string_view BitForm(std::int64_t bit) { return bit != 0 ? "1" : "0"; }

// What a fetch hands out of `value` as text as it stands: a text's bytes, or the character form
// it holds written; a view without data for NULL and for a value whose form is still to be
// written, which take the general way.
inline std::string_view HandedOutText(const CellValue& value) {
  if (value.kind == CellValue::Kind::Text) return value.text.data() != nullptr ? value.text : std::string_view("", 0);
  return value.form.empty() ? std::string_view() : value.form;
}

// The field's bytes as a value of `kind`. An empty field is NULL. Raises SqlError 22018 for a
// text that is not a value of the kind and 22003 for a number out of the kind's range; the
// message quotes the text and says what it should have been.
CellValue ConvertField(std::string_view field, ColumnKind kind, const LocaleSettings& locale);

// The character form clients get: text as it stands, numbers in the shortest exact form,
// "yyyy-mm-dd", "hh:mm:ss", "yyyy-mm-dd hh:mm:ss[.fff]", bits as 1 or 0 (or the value's `form`
// where it has one). Appends to `out`.
void AppendCharacterForm(const CellValue& value, std::string& out);

// A text as the SQL engine gives it back for a column of `kind`, where dates and times are held
// in their ISO form: the date, time or timestamp it writes, else the text itself.
CellValue ValueOfStoredText(std::string_view text, ColumnKind kind);

// Makes a date, time or timestamp value what the SQL engine gives back for a column of `kind`
// after holding it as its ISO text (see ValueOfStoredText), in place, as a scan does it for every
// row; `text` holds that text where the value then points into it.
void AsStoredDateTime(CellValue& value, ColumnKind kind, std::string& text);

// The value of a numeric text, for a value of `what` ("a number"): raises 22018 naming `what`
// when the text is no number, and 22003 when it is beyond the range of a double.
double FieldNumber(std::string_view text, const LocaleSettings& locale, const char* what);

// An ISO date, time or timestamp as ODBC escapes write them ("2002-01-15", "10:30:00",
// "2002-01-15 10:30:00.5"); false when the text is not one.
bool ParseIsoDateTime(std::string_view text, CellValue::Kind kind, DateTime& value);

}  // namespace quorlin::driver
