// The fixed-length view: the lines the ruler shows and the break marks that become widths.
#pragma once

#include <array>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "text/character_set.h"
#include "text/fixed_fields.h"

namespace quorlin {

constexpr int kMaxBreakPosition = 1024;

// What the ruler draws for a fixed-length file.
struct RulerScan {
  std::string title;                 // line 1 of the file
  std::vector<std::string> lines;    // the shown data lines (file lines start+1 .. start+rows)
  int countedLines = 0;              // lines start .. start+rows-1 that exist
  long long longest = 0;             // longest of those counted lines
  long long cutLine = 0;   // the first line cut at kMaxShownLineBytes, 0 when none was
  bool linesCut = false;   // shown lines left out to stay within kMaxPreviewBytes
  FixedUnit unit = FixedUnit::Bytes;  // what a position counts in the lines
  // The lines are UTF-8 kept as bytes, whose invalid bytes show as U+FFFD (each in its one
  // position); otherwise such bytes are the Latin-1 characters of a file read as bytes.
  bool invalidShownAsReplacement = false;

  bool operator==(const RulerScan&) const = default;
};

void PrintTo(const RulerScan& scan, std::ostream* out);

// A line of the scan as text to print: with U+FFFD for its invalid bytes when the scan shows
// them so, else as it is.
std::string ShownLine(const RulerScan& scan, const std::string& line);

// Scans and collects the lines of `path` in `set` exactly as the ruler shows them, within the
// bounds of preview_limits.h; lengths count what the layout's widths count (FixedUnit). Raises
// FileError, also when the memory runs out.
RulerScan ScanRuler(const std::string& path, long long startRow, long long rowsToScan,
                    const CharacterSet& set = CharacterSet());

// What the window and the command line say about what the ruler left out, one message each.
std::vector<std::string> CutMessages(const RulerScan& scan);

// The length of line 2 of `path`, at most kMaxBreakPosition (0 when there is no line 2).
int SecondLineLength(const std::string& path, const CharacterSet& set = CharacterSet());

// Field begins at character positions 1..1024 (the break flags), with the count shown in
// "Fixed Fields", which is kept as the window keeps it: set to 1 by the view, moved by one per
// toggle, set by the schema reader.
class BreakModel {
 public:
  bool IsSet(int position) const;
  void Set(int position, bool on);
  // Flips the flag of `position` and moves the field count by one. Positions outside
  // 1..kMaxBreakPosition are refused (false) and change nothing.
  bool Toggle(int position);
  void ClearAll();
  void ClearUpTo(int lastPosition);

  // Set positions from 1 to `lineLength`, ascending: what the break list shows.
  std::vector<int> ListedBreaks(int lineLength) const;

  int fieldCount = 1;

 private:
  std::array<bool, kMaxBreakPosition + 1> flags_{};
};

// Widths of the fields that breaks p1 < ... < pk make in records of `lineLength` characters:
// p1 - 1, p2 - p1, ..., lineLength - pk.
std::vector<long long> WidthsFromBreaks(const std::vector<int>& breaks, long long lineLength);

// Breaks at w1 + 1, w1 + w2 + 1, ... for all but the last field.
std::vector<long long> BreaksFromWidths(const std::vector<long long>& widths);

// Removes the break made redundant when field `deletedIndex` of a fixed layout is deleted and
// its width merged into a neighbour: the break before it, as its width goes to the field in
// front; for the first field the break after it, as its width goes to the following field.
// `listedBreaks` are the breaks as the break list shows them. Returns the position cleared, 0
// when there is none. The field count is left to the caller, which lowers it for every delete.
int RemoveFieldBreak(BreakModel& model, const std::vector<int>& listedBreaks,
                     std::size_t deletedIndex);

}  // namespace quorlin
