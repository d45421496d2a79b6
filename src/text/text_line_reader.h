// The line rule by which every text file is read.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/character_set.h"

namespace quorlin {

class TextDecoder;

// How the lines of a file end, decided once from its first bytes.
enum class LineEnds {
  CarriageReturn,  // CR or CR LF; a lone line feed is an ordinary character
  LineFeed,        // LF or CR LF; a lone carriage return is an ordinary character
};

// How the records of a file are cut: at separators, or by position.
enum class RecordForm { Delimited, FixedLength };

// Whether the lines of a file in `set` come decoded to UTF-8: delimited lines of every set but
// the legacy default, and fixed-length lines of single-byte sets, whose positions then count
// the decoded characters. Fixed-length UTF-8 and legacy lines stay the file's bytes, their
// positions counting bytes.
bool DecodesLines(const CharacterSet& set, RecordForm form);

// Reads a text file line by line. A file whose first kLineEndProbeBytes bytes (up to a Ctrl-Z)
// hold a line feed and no carriage return has line-feed line ends, as files written on Linux
// do, and a Ctrl-Z in it is data; every other file ends its lines at carriage returns, a line
// feed right after one belonging to the same line end, and ends at its first Ctrl-Z. A UTF-8
// byte order mark at the very start is not part of the text. The file's bytes are handed over
// as they are, or decoded from its character set to UTF-8 (DecodesLines) before the lines are
// found; a UTF-16 mark decides the set whatever the layout names. Bytes invalid in the set
// become U+FFFD and are counted. Reads through a large buffer, so neither long lines nor many
// lines cost a system call per byte. Failures raise FileError with a message naming the file
// and the cause: a file that is missing, unreadable, not a regular file (a named pipe would
// block for ever), UTF-32 text, or fixed-length UTF-16 text.
class TextLineReader {
 public:
  static constexpr std::size_t kDefaultBufferSize = 1 << 20;
  static constexpr std::size_t kLineEndProbeBytes = 65536;

  // Whether a symbolic link as the path's last part is followed. A reader that checked where a
  // path leads refuses one, so a link put there after the check is never read.
  enum class LastLink { Follow, Refuse };

  explicit TextLineReader(const std::string& path, std::size_t bufferSize = kDefaultBufferSize,
                          LastLink lastLink = LastLink::Follow);
  TextLineReader(const std::string& path, const CharacterSet& set, RecordForm form,
                 std::size_t bufferSize = kDefaultBufferSize, LastLink lastLink = LastLink::Follow);
  ~TextLineReader();
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // True when the next byte is a Ctrl-Z that ends the file or no byte is left.
  bool AtEnd();

  // Reads the next line into `line` (without its line end). At the end of the file `line`
  // becomes empty and the result is false.
  bool ReadTextLine(std::string& line);

  // The same line as ReadTextLine, as a view: into the buffer when the line lies in it whole
  // (so nothing is copied), else into a string of the reader's own. Valid until the next call
  // of any kind on the reader.
  bool ReadTextLine(std::string_view& line);

  // Reads past the next line without keeping it, as counting lines needs; false at the end.
  bool SkipTextLine();
  // Reads past every line left; gives how many ReadTextLine would still have given.
  std::int64_t SkipRemainingLines();
  // Reads past the whole lines already in the buffer that hold no `byte`, up to the first that
  // does; gives how many. It does not read the file, so ReadTextLine goes on with the line this
  // stopped at.
  std::int64_t SkipBufferedLinesWithout(char byte);

  // From now on keeps at most `maxBytes` of each line; the rest of a longer line is read
  // past, so a line of any length costs no more memory than that.
  void LimitLineLength(std::size_t maxBytes) { lineLimit_ = maxBytes; }
  // Whether the line read last was longer than the limit and has been cut.
  bool LastLineCut() const { return lastLineCut_; }
  // The bytes that ended the line read last, as they stand in the file: "\r\n", "\r" or "\n",
  // or nothing when the end of the file or a Ctrl-Z ended it.
  std::string_view LastLineEnd() const { return lastLineEnd_; }

  // The offset of the Ctrl-Z that ended the text, once reading reached it, when bytes follow it.
  std::optional<std::uint64_t> EndMarkBeforeLastByte() const;

  // Goes back to the start of the text.
  void Rewind();

  LineEnds Ends() const { return ends_; }
  // The set the file is read in: the one asked for, unless a UTF-16 mark said otherwise.
  const CharacterSet& Set() const { return set_; }
  // Whether the lines are decoded to UTF-8.
  bool Decoded() const { return decoder_ != nullptr; }
  // Whether the values cut from the lines still need invalid bytes replaced (ReplaceInvalidUtf8):
  // fixed-length UTF-8 lines come as the file's bytes so that widths count bytes.
  bool ValuesNeedChecking() const { return !decoder_ && set_.Kind() == CharacterSetKind::Utf8; }
  // Replacement characters put in for invalid bytes since the text's start (or the last Rewind).
  std::int64_t Replaced() const;
  const std::string& Path() const { return path_; }

 private:
  void Open(LastLink lastLink);
  void Probe(RecordForm form);
  bool Fill();
  std::size_t ReadRaw();
  std::size_t ReadDecoded();
  off_t EndMarkInFile(off_t from, off_t to) const;
  bool TakeLineInBuffer(std::string_view& line);
  bool MarksEnd() const { return ends_ == LineEnds::CarriageReturn; }

  std::string path_;
  int fd_ = -1;
  CharacterSet set_;
  std::unique_ptr<TextDecoder> decoder_;
  std::vector<char> raw_;  // the file's bytes before they are decoded into buffer_
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::size_t stop_ = 0;  // the first Ctrl-Z in [begin_, end_), or end_: found once per fill
  bool ended_ = false;  // Ctrl-Z seen or end of file reached
  LineEnds ends_ = LineEnds::CarriageReturn;
  off_t textStart_ = 0;  // past a byte order mark
  off_t endMarkAt_ = -1;  // the Ctrl-Z that ended the text, once found
  off_t pieceStart_ = 0;  // where the bytes of the piece decoded last begin in the file
  std::size_t lineLimit_ = std::numeric_limits<std::size_t>::max();
  bool lastLineCut_ = false;
  std::string_view lastLineEnd_;
  std::string skipped_;  // stays empty: SkipTextLine keeps no byte
  std::string spanning_;  // a line read as a view that did not lie in the buffer whole
};

}  // namespace quorlin
