// The lines the fixed-length ruler shows and the break marks set on it.
#include "text/fixed_ruler.h"

#include <algorithm>
#include <limits>
#include <new>
#include <ostream>

#include "platform/file_error.h"
#include "text/fixed_fields.h"
#include "text/preview_limits.h"
#include "text/text_decoder.h"
#include "text/text_line_reader.h"

namespace quorlin {

namespace {

bool InRange(int position) { return position >= 1 && position <= kMaxBreakPosition; }

}  // namespace

RulerScan ScanRuler(const std::string& path, long long startRow, long long rowsToScan,
                    const CharacterSet& set) {
  // The width comes from file lines start..last, the shown lines are file lines start+1..last+1
  // (numbered from 1 at file line 2), and line 1 is the title: one pass over lines 1..last+1.
  const long long lastLine =
      rowsToScan > 0 && startRow > std::numeric_limits<long long>::max() - rowsToScan
          ? std::numeric_limits<long long>::max() - 1
          : startRow + rowsToScan - 1;
  const long long linesNeeded = std::max(lastLine + 1, 1LL);

  try {
    TextLineReader reader(path, set, RecordForm::FixedLength);
    reader.LimitLineLength(kMaxShownLineBytes);
    RulerScan scan;
    scan.unit = FixedUnitOf(reader.Decoded());
    scan.invalidShownAsReplacement = reader.ValuesNeedChecking();
    std::string line;
    std::size_t kept = 0;
    for (long long number = 1; number <= linesNeeded && reader.ReadTextLine(line); ++number) {
      if (reader.LastLineCut() && scan.cutLine == 0) scan.cutLine = number;
      if (number <= lastLine && number >= startRow) {
        ++scan.countedLines;
        scan.longest = std::max(scan.longest, static_cast<long long>(FixedLengthOf(line, scan.unit)));
      }
      const bool shown = number == 1 || number - 1 >= startRow;
      if (!shown || scan.linesCut) continue;
      // Lines past the bound still count for the width; they are only not kept.
      if (kept + KeptCost(line) > kMaxPreviewBytes) {
        scan.linesCut = true;
        continue;
      }
      kept += KeptCost(line);
      if (number == 1) {
        scan.title = line;
      } else {
        scan.lines.push_back(line);
      }
    }
    return scan;
  } catch (const std::bad_alloc&) {
    throw OutOfMemoryError(path);
  }
}

std::string ShownLine(const RulerScan& scan, const std::string& line) {
  return scan.invalidShownAsReplacement ? DecodeText(line, CharacterSet::Utf8()) : line;
}

std::vector<std::string> CutMessages(const RulerScan& scan) {
  std::vector<std::string> messages;
  if (scan.cutLine > 0) messages.push_back(LineCutMessage(scan.cutLine));
  if (scan.linesCut) messages.push_back(LinesCutMessage(scan.lines.size() + 1));
  return messages;
}

void PrintTo(const RulerScan& scan, std::ostream* out) {
  *out << "title [" << scan.title << "] lines";
  for (const std::string& line : scan.lines) *out << " [" << line << ']';
  *out << " counted " << scan.countedLines << " longest " << scan.longest;
  if (scan.cutLine > 0) *out << " cut at line " << scan.cutLine;
  if (scan.linesCut) *out << " lines cut";
}

int SecondLineLength(const std::string& path, const CharacterSet& set) {
  TextLineReader reader(path, set, RecordForm::FixedLength);
  // Only the first positions matter, however long the lines are (a decoded character takes
  // at most four bytes).
  reader.LimitLineLength(4 * kMaxBreakPosition);
  std::string line;
  if (!reader.ReadTextLine(line) || !reader.ReadTextLine(line)) return 0;
  const std::size_t length = FixedLengthOf(line, FixedUnitOf(reader.Decoded()));
  return static_cast<int>(std::min<std::size_t>(length, kMaxBreakPosition));
}

bool BreakModel::IsSet(int position) const { return InRange(position) && flags_[position]; }

void BreakModel::Set(int position, bool on) {
  if (InRange(position)) flags_[position] = on;
}

bool BreakModel::Toggle(int position) {
  if (!InRange(position)) return false;
  flags_[position] = !flags_[position];
  fieldCount += flags_[position] ? 1 : -1;
  return true;
}

void BreakModel::ClearAll() { flags_.fill(false); }

void BreakModel::ClearUpTo(int lastPosition) {
  for (int p = 1; p <= std::min(lastPosition, kMaxBreakPosition); ++p) flags_[p] = false;
}

std::vector<int> BreakModel::ListedBreaks(int lineLength) const {
  std::vector<int> breaks;
  for (int p = 1; p <= std::min(lineLength, kMaxBreakPosition); ++p) {
    if (flags_[p]) breaks.push_back(p);
  }
  return breaks;
}

std::vector<long long> WidthsFromBreaks(const std::vector<int>& breaks, long long lineLength) {
  std::vector<long long> widths;
  long long fieldStart = 1;
  for (const int position : breaks) {
    widths.push_back(position - fieldStart);
    fieldStart = position;
  }
  widths.push_back(lineLength - fieldStart);
  return widths;
}

std::vector<long long> BreaksFromWidths(const std::vector<long long>& widths) {
  std::vector<long long> breaks;
  long long end = 0;
  for (std::size_t i = 0; i + 1 < widths.size(); ++i) {
    end += widths[i];
    breaks.push_back(end + 1);
  }
  return breaks;
}

int RemoveFieldBreak(BreakModel& model, const std::vector<int>& listedBreaks,
                     std::size_t deletedIndex) {
  const std::size_t breakIndex = deletedIndex == 0 ? 0 : deletedIndex - 1;
  if (breakIndex >= listedBreaks.size()) return 0;
  const int position = listedBreaks[breakIndex];
  model.Set(position, false);
  return position;
}

}  // namespace quorlin
