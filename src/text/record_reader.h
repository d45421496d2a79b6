// The records of a text file: its lines, joined where a qualified value holds line breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_line_reader.h"

namespace quorlin {

// Reads the records of a delimited file through the line rule. A line that ends while a value
// that began with the qualifier is still open (as SplitRecord cuts the record) goes on with the
// next line, and the line end, as it stands in the file, is part of the value. A value that is
// still open at the end of the file, or after kMaxOpenValueBytes, was no quoted line break:
// that record is its first line alone and reading goes on at the line after it. Without a
// one-character qualifier (a fixed-length file, "{none}") a record is a line.
// "Line N opens a quoted value that is not closed ...": what is said about UnclosedLine().
std::string UnclosedValueMessage(long long line);

class TextRecordReader {
 public:
  static constexpr std::size_t kMaxOpenValueBytes = std::size_t{1} << 20;

  // `separator` and `qualifier` as SplitRecord takes them, each a character as the layout keeps
  // it (UTF-8). Raises FileError as TextLineReader.
  TextRecordReader(const std::string& path, std::string_view separator, std::string_view qualifier,
                   std::size_t bufferSize = TextLineReader::kDefaultBufferSize,
                   TextLineReader::LastLink lastLink = TextLineReader::LastLink::Follow);
  // The records of a file read in `set`, whose lines TextLineReader decodes as it does for `form`.
  TextRecordReader(const std::string& path, const CharacterSet& set, RecordForm form,
                   std::string_view separator, std::string_view qualifier,
                   std::size_t bufferSize = TextLineReader::kDefaultBufferSize,
                   TextLineReader::LastLink lastLink = TextLineReader::LastLink::Follow);

  // Reads the next record into `record`, without its final line end; false at the end of the
  // file, `record` then empty. The view is valid until the next call of any kind.
  bool ReadRecord(std::string_view& record);
  bool ReadRecord(std::string& record);
  // Reads past the next record; false at the end.
  bool SkipRecord();
  // Reads past every record left; gives how many ReadRecord would still have given.
  std::int64_t SkipRemainingRecords();

  // True when no record is left.
  bool AtEnd();
  // Goes back to the start of the text.
  void Rewind();

  // The number of the line that the record read last begins on, counted from 1.
  long long FirstLine() const { return firstLine_; }
  // The first line of the first record read as a line alone because a qualified value in it
  // was not closed; 0 while there was none. Kept across Rewind.
  long long UnclosedLine() const { return unclosedLine_; }

  // From now on keeps at most `maxBytes` of each line (see TextLineReader); a record whose line
  // was cut ends with that line.
  void LimitLineLength(std::size_t maxBytes) { lines_.LimitLineLength(maxBytes); }
  // Whether a line of the record read last was cut.
  bool LastRecordCut() const { return lastCut_; }
  // The offset of the Ctrl-Z that ended the text, once reading reached it, when bytes follow it.
  std::optional<std::uint64_t> EndMarkBeforeLastByte() const { return lines_.EndMarkBeforeLastByte(); }

  const std::string& Path() const { return lines_.Path(); }
  // The separator and the qualifier as the bytes they stand as in the records read: the
  // characters given, in the lines' own form (see MarkBytes). Records are split with these.
  const std::string& Separator() const { return separator_; }
  const std::string& Qualifier() const { return qualifier_; }
  // The line reader beneath, for what it says of the whole text (its set, replaced bytes).
  const TextLineReader& Lines() const { return lines_; }

 private:
  struct Line {
    std::string_view text;
    std::string_view end;
    long long number = 0;
    bool cut = false;
  };
  struct HeldLine {
    std::string text;
    std::string_view end;
    long long number = 0;
    bool cut = false;
  };
  // A line after the first of a record being joined, as a place in joined_.
  struct JoinedLine {
    std::size_t offset = 0;
    std::size_t size = 0;
    std::string_view end;
    long long number = 0;
    bool cut = false;
  };

  bool NextLine(Line& line);
  bool JoinLines(const Line& first, std::ptrdiff_t openAt, std::string_view& record);

  // Where a value opened by the qualifier is still open at the end of `text`, as OpenValueAt.
  std::ptrdiff_t OpenValue(std::string_view text, bool inside) const;

  TextLineReader lines_;
  std::string separator_;
  std::string qualifier_;
  bool quoting_ = false;
  bool hasSeparator_ = false;
  long long linesRead_ = 0;
  long long firstLine_ = 0;
  long long unclosedLine_ = 0;
  bool lastCut_ = false;
  std::deque<HeldLine> pending_;  // lines read ahead for a record that turned out to be one line
  HeldLine replayed_;             // the pending line handed out last
  std::string joined_;            // a record of several lines
  std::vector<JoinedLine> following_;
  std::string copy_;              // a record read into a string
};

}  // namespace quorlin
