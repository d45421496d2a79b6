// Line-by-line reading of text files through one large buffer.
#include "text/text_line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <future>
#include <string_view>

#include "platform/file_error.h"
#include "platform/line_end.h"
#include "text/byte_order_mark.h"
#include "text/byte_search.h"
#include "text/text_decoder.h"

namespace quorlin {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr char kEndOfFileMark = 26;
constexpr std::string_view kCr = "\r";
constexpr std::string_view kLf = "\n";

std::string ReadFailure(const std::string& path, int error) {
  return "Cannot read " + path + ": " + std::strerror(error);
}

[[noreturn]] void ThrowOpenFailure(const std::string& path, int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      throw FileError("File not found: " + path);
    case EACCES:
    case EPERM:
      throw FileError("Access denied: " + path);
    case EISDIR:
      throw FileError(path + " is a folder, not a file");
    default:
      throw FileError(ReadFailure(path, error));
  }
}

// What a path that is neither a file nor a folder is, in the user's words.
const char* KindOf(mode_t mode) {
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "not a regular file";
}

// Reads up to `size` bytes at `offset`; 0 at the end of the file.
std::size_t ReadAt(int fd, const std::string& path, char* into, std::size_t size, off_t offset) {
  for (;;) {
    const ssize_t got = ::pread(fd, into, size, offset);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) throw FileError(ReadFailure(path, errno));
  }
}

// What a stretch of the text holds for counting its lines: the line ends before the stretch's
// first Ctrl-Z, if it has one, or before its end.
struct StretchLineEnds {
  std::int64_t count = 0;
  off_t last = -1;       // the offset of the last of them
  off_t textEnd = -1;    // the offset of the first Ctrl-Z, or where the file ended
  bool endMark = false;  // whether textEnd is a Ctrl-Z
};

// Counts the line ends of [from, to) with reads of `bufferSize` bytes, or of [from, the file's
// end) when `to` is negative.
StretchLineEnds CountLineEnds(int fd, const std::string& path, off_t from, off_t to, char lineEnd,
                              std::size_t bufferSize, bool marksEnd) {
  std::vector<char> buffer(bufferSize);
  StretchLineEnds stretch;
  off_t at = from;
  while (to < 0 || at < to) {
    const std::size_t wanted = to < 0 ? buffer.size() : std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(to - at));
    const std::size_t got = ReadAt(fd, path, buffer.data(), wanted, at);
    if (got == 0) break;
    const char* const begin = buffer.data();
    const auto* mark = marksEnd ? static_cast<const char*>(std::memchr(begin, kEndOfFileMark, got)) : nullptr;
    const char* const end = mark != nullptr ? mark : begin + got;
    stretch.count += static_cast<std::int64_t>(CountByte(begin, end, lineEnd));
    if (const auto* last = static_cast<const char*>(::memrchr(begin, lineEnd, static_cast<std::size_t>(end - begin)))) {
      stretch.last = at + (last - begin);
    }
    at += end - begin;
    if (mark != nullptr) {
      stretch.endMark = true;
      break;
    }
  }
  stretch.textEnd = at;
  return stretch;
}

// The set a file is read in: a UTF-16 mark decides it, any other mark leaves the layout's.
CharacterSet SetAfterMark(const CharacterSet& chosen, ByteOrderMark mark) {
  if (mark == ByteOrderMark::Utf16Le) return CharacterSet::Utf16(false);
  if (mark == ByteOrderMark::Utf16Be) return CharacterSet::Utf16(true);
  return chosen;
}

}  // namespace

bool DecodesLines(const CharacterSet& set, RecordForm form) {
  switch (set.Kind()) {
    case CharacterSetKind::Legacy:
      return false;
    case CharacterSetKind::Utf8:
      return form == RecordForm::Delimited;
    default:
      return true;
  }
}

TextLineReader::TextLineReader(const std::string& path, std::size_t bufferSize, LastLink lastLink)
    : TextLineReader(path, CharacterSet(), RecordForm::Delimited, bufferSize, lastLink) {}

TextLineReader::TextLineReader(const std::string& path, const CharacterSet& set, RecordForm form,
                               std::size_t bufferSize, LastLink lastLink)
    : path_(path), set_(set), buffer_(bufferSize == 0 ? 1 : bufferSize) {
  try {
    Open(lastLink);
    Probe(form);
  } catch (...) {
    if (fd_ >= 0) ::close(fd_);
    throw;
  }
}

TextLineReader::~TextLineReader() {
  if (fd_ >= 0) ::close(fd_);
}

void TextLineReader::Open(LastLink lastLink) {
  // Without O_NONBLOCK opening a named pipe waits for a writer that may never come; on a
  // regular file the flag changes nothing.
  const int links = lastLink == LastLink::Refuse ? O_NOFOLLOW : 0;
  fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | links);
  if (fd_ < 0) ThrowOpenFailure(path_, errno);
  struct stat info {};
  if (::fstat(fd_, &info) != 0) ThrowOpenFailure(path_, errno);
  if (S_ISDIR(info.st_mode)) ThrowOpenFailure(path_, EISDIR);
  if (!S_ISREG(info.st_mode)) throw FileError(path_ + " is " + KindOf(info.st_mode) + ", not a file");
}

// Looks at the first bytes once, so that every pass over the file, whatever its buffer
// size, reads the same lines.
void TextLineReader::Probe(RecordForm form) {
  std::vector<char> probe(kLineEndProbeBytes);
  std::size_t got = 0;
  while (got < probe.size()) {
    const std::size_t count = ReadAt(fd_, path_, probe.data() + got, probe.size() - got, static_cast<off_t>(got));
    if (count == 0) break;
    got += count;
  }
  std::string_view head(probe.data(), got);
  const ByteOrderMark mark = ByteOrderMarkOf(head);
  if (mark == ByteOrderMark::Utf32) throw FileError(WideTextMessage(path_));
  set_ = SetAfterMark(set_, mark);
  if (set_.IsWide() && form == RecordForm::FixedLength) {
    throw FileError(path_ + " is " + set_.Name() + " text, whose records cannot be cut by position: " +
                    "save it as UTF-8 or choose a delimited format");
  }
  // A UTF-16 mark means nothing to a file read as bytes, and belongs to the text of one read
  // in another wide order.
  if (mark == ByteOrderMark::Utf8 || (set_.IsWide() && mark != ByteOrderMark::None)) {
    textStart_ = static_cast<off_t>(MarkLength(mark));
  }
  std::string decodedHead;
  if (DecodesLines(set_, form)) {
    decoder_ = std::make_unique<TextDecoder>(set_);
    raw_.resize(buffer_.size());
    buffer_.resize(TextDecoder::Room(raw_.size()));
    decodedHead = DecodeText(head.substr(static_cast<std::size_t>(textStart_)), set_);
    head = decodedHead;
  }
  head = head.substr(0, head.find(kEndOfFileMark));
  if (head.find(kLineFeed) != head.npos && head.find(kCarriageReturn) == head.npos) {
    ends_ = LineEnds::LineFeed;
  }
  if (::lseek(fd_, textStart_, SEEK_SET) < 0) throw FileError(ReadFailure(path_, errno));
}

std::size_t TextLineReader::ReadRaw() {
  ssize_t count;
  do {
    count = ::read(fd_, buffer_.data(), buffer_.size());
  } while (count < 0 && errno == EINTR);
  if (count < 0) throw FileError(ReadFailure(path_, errno));
  return static_cast<std::size_t>(count);
}

// Decodes the next piece of the file into the buffer; 0 only at the end of the text.
std::size_t TextLineReader::ReadDecoded() {
  const off_t read = ::lseek(fd_, 0, SEEK_CUR);
  if (read < 0) throw FileError(ReadFailure(path_, errno));
  pieceStart_ = read - static_cast<off_t>(decoder_->Pending());
  for (;;) {
    ssize_t count;
    do {
      count = ::read(fd_, raw_.data(), raw_.size());
    } while (count < 0 && errno == EINTR);
    if (count < 0) throw FileError(ReadFailure(path_, errno));
    if (count == 0) return decoder_->Finish(buffer_.data());
    const std::size_t decoded = decoder_->Decode(raw_.data(), static_cast<std::size_t>(count), buffer_.data());
    // A piece may hold no more than the start of a character.
    if (decoded > 0) return decoded;
  }
}

bool TextLineReader::Fill() {
  if (ended_) return false;
  const std::size_t count = decoder_ ? ReadDecoded() : ReadRaw();
  begin_ = 0;
  end_ = count;
  const auto* mark = MarksEnd() ? static_cast<const char*>(std::memchr(buffer_.data(), kEndOfFileMark, end_)) : nullptr;
  stop_ = mark ? static_cast<std::size_t>(mark - buffer_.data()) : end_;
  if (mark != nullptr) {
    const off_t read = ::lseek(fd_, 0, SEEK_CUR);
    endMarkAt_ = decoder_ ? EndMarkInFile(pieceStart_, read) : read - static_cast<off_t>(count) + (mark - buffer_.data());
  }
  if (count == 0) ended_ = true;
  return count > 0;
}

// Decoded text no longer lies in the file byte for byte, so the mark is looked for again in
// the bytes of the piece it was decoded from: the first Ctrl-Z there, a code unit of two bytes
// at an even distance from the text's start in a UTF-16 file.
off_t TextLineReader::EndMarkInFile(off_t from, off_t to) const {
  std::vector<char> bytes(static_cast<std::size_t>(to - from));
  const std::size_t got = ReadAt(fd_, path_, bytes.data(), bytes.size(), from);
  const std::size_t unit = set_.IsWide() ? 2 : 1;
  const bool bigEndian = set_.Kind() == CharacterSetKind::Utf16Be;
  for (std::size_t at = static_cast<std::size_t>(from - textStart_) % unit; at + unit <= got; at += unit) {
    const bool mark = unit == 1 ? bytes[at] == kEndOfFileMark
                                : bytes[at + (bigEndian ? 1 : 0)] == kEndOfFileMark && bytes[at + (bigEndian ? 0 : 1)] == 0;
    if (mark) return from + static_cast<off_t>(at);
  }
  return -1;
}

std::int64_t TextLineReader::Replaced() const { return decoder_ ? decoder_->Replaced() : 0; }

bool TextLineReader::AtEnd() {
  if (ended_) return true;
  if (begin_ == end_ && !Fill()) return true;
  if (begin_ == stop_) ended_ = true;
  return ended_;
}

bool TextLineReader::ReadTextLine(std::string& line) {
  line.clear();
  lastLineCut_ = false;
  lastLineEnd_ = {};
  if (AtEnd()) return false;
  const char lineEnd = ends_ == LineEnds::LineFeed ? kLineFeed : kCarriageReturn;
  std::size_t length = 0;  // bytes of the line so far, kept or read past
  char previous = '\0';    // the line's last byte so far, also across refills
  const auto keep = [&](const char* from, std::size_t count) {
    if (line.size() < lineLimit_) line.append(from, std::min(count, lineLimit_ - line.size()));
    length += count;
    if (count > 0) previous = from[count - 1];
  };
  // A carriage return right before a line feed belongs to the line end; it may have been
  // kept already, or not when the line was cut before it.
  const auto finish = [&](bool endsWithCrLf) {
    const std::size_t content = length - (endsWithCrLf ? 1 : 0);
    if (line.size() > content) line.resize(content);
    lastLineCut_ = content > line.size();
    return true;
  };
  for (;;) {
    if (begin_ == end_ && !Fill()) return finish(false);
    const char* from = buffer_.data() + begin_;
    // Ctrl-Z ends the text, so a line end is looked for only before the buffer's first one,
    // which each fill finds once: every byte is looked at once per line and once per fill.
    const std::size_t available = stop_ - begin_;
    const auto* found = static_cast<const char*>(std::memchr(from, lineEnd, available));
    const std::size_t upTo = found ? static_cast<std::size_t>(found - from) : available;
    if (found == nullptr && stop_ < end_) {
      keep(from, upTo);
      begin_ = stop_;
      ended_ = true;
      return finish(false);
    }
    keep(from, upTo);
    begin_ += upTo;
    if (found == nullptr) continue;
    ++begin_;
    if (ends_ == LineEnds::LineFeed) {
      lastLineEnd_ = previous == kCarriageReturn ? kLineEnd : kLf;
      return finish(previous == kCarriageReturn);
    }
    lastLineEnd_ = kCr;
    // The line feed of a CR LF pair may arrive with the next fill.
    if ((begin_ < end_ || Fill()) && buffer_[begin_] == kLineFeed) {
      ++begin_;
      lastLineEnd_ = kLineEnd;
    }
    return finish(false);
  }
}

// The next line when the buffer holds it whole, with its line end, and the limit keeps it whole:
// found with one search and taken without copying, which is how nearly every line is read.
// False, having read nothing, for any other line (one that continues past the buffer, ends at
// Ctrl-Z or at the end of the file, or whose CR may be followed by an LF not read yet).
bool TextLineReader::TakeLineInBuffer(std::string_view& line) {
  if (ended_ || begin_ >= stop_) return false;
  const char lineEnd = ends_ == LineEnds::LineFeed ? kLineFeed : kCarriageReturn;
  const char* const from = buffer_.data() + begin_;
  const auto* found = static_cast<const char*>(std::memchr(from, lineEnd, stop_ - begin_));
  if (found == nullptr) return false;
  const auto length = static_cast<std::size_t>(found - from);
  if (length > lineLimit_) return false;
  if (ends_ == LineEnds::LineFeed) {
    const bool crLf = length > 0 && found[-1] == kCarriageReturn;
    line = std::string_view(from, crLf ? length - 1 : length);
    lastLineEnd_ = crLf ? kLineEnd : kLf;
    begin_ += length + 1;
  } else {
    if (begin_ + length + 1 >= end_) return false;
    line = std::string_view(from, length);
    begin_ += length + 1;
    lastLineEnd_ = kCr;
    if (buffer_[begin_] == kLineFeed) {
      ++begin_;
      lastLineEnd_ = kLineEnd;
    }
  }
  lastLineCut_ = false;
  return true;
}

bool TextLineReader::ReadTextLine(std::string_view& line) {
  if (TakeLineInBuffer(line)) return true;
  const bool read = ReadTextLine(spanning_);
  line = spanning_;
  return read;
}

bool TextLineReader::SkipTextLine() {
  std::string_view line;
  if (TakeLineInBuffer(line)) return true;
  // With a limit of nothing the line is read past, not copied.
  struct LimitRestorer {
    std::size_t& limit;
    std::size_t kept;
    ~LimitRestorer() { limit = kept; }
  } restorer{lineLimit_, lineLimit_};
  lineLimit_ = 0;
  return ReadTextLine(skipped_);
}

std::int64_t TextLineReader::SkipBufferedLinesWithout(char byte) {
  if (ended_ || begin_ >= stop_) return 0;
  const char lineEnd = ends_ == LineEnds::LineFeed ? kLineFeed : kCarriageReturn;
  const char* const buffer = buffer_.data();
  const char* const at = buffer + begin_;
  const char* const stop = buffer + stop_;
  const auto* holder = static_cast<const char*>(std::memchr(at, byte, static_cast<std::size_t>(stop - at)));
  const char* const limit = holder != nullptr ? holder : stop;
  // The lines passed over end at the last line end before the limit; they are counted by their
  // line-end bytes at once, not found one by one.
  const auto* last = static_cast<const char*>(::memrchr(at, lineEnd, static_cast<std::size_t>(limit - at)));
  // Whether a line feed follows a carriage return is known only with the byte after it.
  if (last != nullptr && lineEnd == kCarriageReturn && last + 1 >= buffer + end_) {
    last = static_cast<const char*>(::memrchr(at, lineEnd, static_cast<std::size_t>(last - at)));
  }
  if (last == nullptr) return 0;
  const auto lines = static_cast<std::int64_t>(CountByte(at, last + 1, lineEnd));
  if (lineEnd == kCarriageReturn && last[1] == kLineFeed) ++last;
  begin_ = static_cast<std::size_t>(last + 1 - buffer);
  return lines;
}

// Every line ends with one line-end byte (a CR LF pair with its CR in a file of CR line ends),
// so the lines left are the line-end bytes before the first Ctrl-Z, and one more when text
// follows the last of them. The bytes are counted straight from the file, the second half of
// a large rest on a thread of its own.
std::int64_t TextLineReader::SkipRemainingLines() {
  if (decoder_) {
    // Decoded text no longer lies in the file byte for byte: its lines are read past.
    std::int64_t lines = 0;
    while (SkipTextLine()) ++lines;
    return lines;
  }
  if (AtEnd()) return 0;
  const char lineEnd = ends_ == LineEnds::LineFeed ? kLineFeed : kCarriageReturn;
  const off_t read = ::lseek(fd_, 0, SEEK_CUR);
  struct stat info {};
  if (read < 0 || ::fstat(fd_, &info) != 0) throw FileError(ReadFailure(path_, errno));
  const off_t from = read - static_cast<off_t>(end_ - begin_);
  const std::size_t bufferSize = buffer_.size();
  ended_ = true;
  begin_ = end_ = stop_ = 0;

  // Halves of a few buffers each are worth a thread.
  const off_t middle = info.st_size - from > static_cast<off_t>(4 * bufferSize) ? from + (info.st_size - from) / 2 : -1;
  std::future<StretchLineEnds> second;
  if (middle >= 0) {
    second = std::async(std::launch::async, [&] {
      return CountLineEnds(fd_, path_, middle, -1, lineEnd, bufferSize, MarksEnd());
    });
  }
  // Should this half fail, leaving the scope waits for the other.
  StretchLineEnds text = CountLineEnds(fd_, path_, from, middle, lineEnd, bufferSize, MarksEnd());
  if (second.valid()) {
    const StretchLineEnds rest = second.get();
    if (!text.endMark) {
      text.count += rest.count;
      if (rest.last >= 0) text.last = rest.last;
      text.textEnd = rest.textEnd;
    }
  }

  if (text.endMark) endMarkAt_ = text.textEnd;
  off_t rest = text.last >= 0 ? text.last + 1 : from;
  if (ends_ == LineEnds::CarriageReturn && rest < text.textEnd) {
    char next = 0;
    if (ReadAt(fd_, path_, &next, 1, rest) == 1 && next == kLineFeed) ++rest;
  }
  return text.count + (rest < text.textEnd ? 1 : 0);
}

std::optional<std::uint64_t> TextLineReader::EndMarkBeforeLastByte() const {
  struct stat info {};
  const off_t markSize = set_.IsWide() && decoder_ ? 2 : 1;
  if (endMarkAt_ < 0 || ::fstat(fd_, &info) != 0 || endMarkAt_ + markSize >= info.st_size) return std::nullopt;
  return static_cast<std::uint64_t>(endMarkAt_);
}

void TextLineReader::Rewind() {
  if (::lseek(fd_, textStart_, SEEK_SET) < 0) throw FileError(ReadFailure(path_, errno));
  if (decoder_) decoder_->Reset();
  begin_ = 0;
  end_ = 0;
  stop_ = 0;
  ended_ = false;
}

}  // namespace quorlin
