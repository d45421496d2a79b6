// The one front door to a data file's saved section: where it is, its file, and its ColN
// entries read with one set of messages. The window, the command line, the export and the
// ODBC driver all come through here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/profile_file.h"

namespace quorlin {

struct SavedSection {
  // The data file's folder, with a trailing "/"; empty for a section kept in a file of any
  // name anywhere (a layout given on the command line), read from `schemaPath` as it is.
  std::string folder;
  std::string schemaPath;  // that folder's Schema.INI, found in any letter case
  std::string section;     // the data file's name
};

// Where the saved section of `dataPath` lives; a relative path stays relative, so that messages
// name the files as the user named them.
SavedSection SavedSectionOf(const std::string& dataPath);

// The section's Schema.INI. Reads raise FileError ("Cannot read <path>: <cause>") when it is
// there but cannot be read, so that a layout that cannot be read is never taken for none.
ProfileFile SavedSectionFile(const SavedSection& saved);

// Stands for a missing ColN entry: an entry that holds this text ends the list too.
inline constexpr const char* kNoColumnEntry = "-1234-";
inline constexpr std::size_t kMaxColumnEntries = 1024;

// How a caller reads the ColN entries: at most `limit` of them, the first missing one or one
// holding `stopWord` ending the list. Each is cut into tokens at its blanks with the double
// quote as qualifier, whatever the layout's own qualifier is, so that a saved name holding
// blanks reads back whole and a saved layout never reads differently because of a setting.
struct ColumnReading {
  std::size_t limit = kMaxColumnEntries;
  std::string stopWord = kNoColumnEntry;
};

struct ColumnEntry {
  std::size_t number = 0;  // the N of ColN
  std::string text;        // the entry as saved
  std::vector<std::string> tokens;
};

// The entries of the section, read from the file once.
std::vector<ColumnEntry> ReadColumnEntries(const ProfileFile& file, const std::string& section,
                                           const ColumnReading& reading);

// "Schema.INI [stock.dat] Col2": how every message names an entry.
std::string ColumnEntryName(const ProfileFile& file, const std::string& section, std::size_t number);

// The width `token` of an entry as a number: plain decimal digits that fit in an int. Raises
// SchemaError naming the entry and the value:
//   Schema.INI [stock.dat] Col2: the width "12abc" is not a whole number
//   Schema.INI [stock.dat] Col2: the width "99999999999" is too large
//   Schema.INI [stock.dat] Col2: the width "-5" is negative
int CheckedWidth(const ProfileFile& file, const std::string& section, const ColumnEntry& entry,
                 const std::string& token);

// The width of a fixed-length entry, its fourth token, checked; an entry without one raises
// SchemaError: Schema.INI [stock.dat] Col2: the entry "Field2 Char" has no width
int FixedEntryWidth(const ProfileFile& file, const std::string& section, const ColumnEntry& entry);

}  // namespace quorlin
