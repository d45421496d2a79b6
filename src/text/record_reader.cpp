// Reading records that may span lines, above the line rule.
#include "text/record_reader.h"

#include "platform/trim.h"
#include "text/byte_search.h"
#include "text/field_mark.h"

namespace quorlin {

namespace {

constexpr std::ptrdiff_t kClosed = -1;       // no qualified value is open at the end
constexpr std::ptrdiff_t kOpenBefore = -2;   // the value open at the start is still open

// Follows `text` as SplitRecord cuts it and tells whether a value that began with the
// qualifier is still open at its end: kClosed, kOpenBefore, or the offset of the opening
// qualifier of the value left open. `inside` says that `text` starts within an open value.
template <typename Mark>
std::ptrdiff_t OpenValueAt(std::string_view text, bool inside, bool hasSeparator, const Mark& separator,
                           const Mark& qualifier) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* at = begin;
  const char* opened = nullptr;
  if (!inside) {
    while (at != end && IsBlankChar(*at)) ++at;  // the record is trimmed first
  }
  for (;;) {
    if (inside) {
      const char* closing = qualifier.Find(at, end);
      while (closing != end && qualifier.At(closing + qualifier.Size(), end)) {
        closing = qualifier.Find(closing + 2 * qualifier.Size(), end);
      }
      if (closing == end) return opened == nullptr ? kOpenBefore : opened - begin;
      inside = false;
      at = closing + qualifier.Size();
      while (at != end && IsBlankChar(*at)) ++at;
      if (!hasSeparator) return kClosed;  // the rest is one field
      if (separator.At(at, end)) at += separator.Size();
    }
    // At the start of a field.
    if (at == end) return kClosed;
    if (qualifier.At(at, end)) {
      opened = at;
      at += qualifier.Size();
      inside = true;
      continue;
    }
    if (!hasSeparator) return kClosed;
    // The plain fields up to the next qualifier hold none, so only where that one stands
    // matters, and the fields before it need not be walked one by one: right after a separator
    // it opens its field; within a field it is data, and that field ends at the next separator.
    const char* const next = qualifier.Find(at, end);
    if (next == end) return kClosed;
    if (next - at >= static_cast<std::ptrdiff_t>(separator.Size()) && separator.At(next - separator.Size(), end)) {
      at = next;
      continue;
    }
    at = separator.Find(next + qualifier.Size(), end);
    if (at == end) return kClosed;
    at += separator.Size();
  }
}

}  // namespace

std::ptrdiff_t TextRecordReader::OpenValue(std::string_view text, bool inside) const {
  if (separator_.size() <= 1 && qualifier_.size() == 1) {
    const ByteMark separator{separator_.empty() ? '\0' : separator_.front()};
    return OpenValueAt(text, inside, hasSeparator_, separator, ByteMark{qualifier_.front()});
  }
  return OpenValueAt(text, inside, hasSeparator_, TextMark{separator_}, TextMark{qualifier_});
}

std::string UnclosedValueMessage(long long line) {
  return "Line " + std::to_string(line) +
         " opens a quoted value that is not closed before the end of the file or within " +
         std::to_string(TextRecordReader::kMaxOpenValueBytes) + " bytes; that record was read as one line";
}

TextRecordReader::TextRecordReader(const std::string& path, std::string_view separator,
                                   std::string_view qualifier, std::size_t bufferSize,
                                   TextLineReader::LastLink lastLink)
    : TextRecordReader(path, CharacterSet(), RecordForm::Delimited, separator, qualifier, bufferSize,
                       lastLink) {}

TextRecordReader::TextRecordReader(const std::string& path, const CharacterSet& set, RecordForm form,
                                   std::string_view separator, std::string_view qualifier,
                                   std::size_t bufferSize, TextLineReader::LastLink lastLink)
    : lines_(path, set, form, bufferSize, lastLink),
      separator_(MarkBytes(LeadingCharacter(separator), lines_.Decoded())),
      qualifier_(MarkBytes(qualifier, lines_.Decoded())),
      quoting_(IsOneCharacter(qualifier_)),
      hasSeparator_(!separator_.empty()) {}

bool TextRecordReader::NextLine(Line& line) {
  if (!pending_.empty()) {
    replayed_ = std::move(pending_.front());
    pending_.pop_front();
    line = {replayed_.text, replayed_.end, replayed_.number, replayed_.cut};
    return true;
  }
  if (!lines_.ReadTextLine(line.text)) return false;
  line.end = lines_.LastLineEnd();
  line.number = ++linesRead_;
  line.cut = lines_.LastLineCut();
  return true;
}

bool TextRecordReader::ReadRecord(std::string_view& record) {
  Line line;
  if (!NextLine(line)) {
    record = {};
    lastCut_ = false;
    return false;
  }
  firstLine_ = line.number;
  lastCut_ = line.cut;
  record = line.text;
  if (!quoting_ || line.cut) return true;
  const std::ptrdiff_t openAt = OpenValue(line.text, false);
  if (openAt == kClosed) return true;
  if (line.end.empty()) {
    if (unclosedLine_ == 0) unclosedLine_ = line.number;
    return true;
  }
  return JoinLines(line, openAt, record);
}

// Appends the lines that follow `first` while its open value stays open.
bool TextRecordReader::JoinLines(const Line& first, std::ptrdiff_t openAt, std::string_view& record) {
  joined_.assign(first.text);
  joined_.append(first.end);
  following_.clear();
  std::size_t openedAt = static_cast<std::size_t>(openAt);
  Line line;
  bool closed = false;
  while (joined_.size() - openedAt <= kMaxOpenValueBytes && NextLine(line)) {
    const std::size_t offset = joined_.size();
    joined_.append(line.text);
    following_.push_back({offset, line.text.size(), line.end, line.number, line.cut});
    const std::ptrdiff_t open = OpenValue(line.text, true);
    if (open >= 0) openedAt = offset + static_cast<std::size_t>(open);
    // A line that was cut ends the record, as nothing after the cut is known.
    if (open == kClosed || line.cut) {
      closed = true;
      break;
    }
    if (line.end.empty()) break;  // the end of the file within the value
    joined_.append(line.end);
  }
  if (closed) {
    lastCut_ = line.cut;
    record = joined_;
    return true;
  }
  // No quoted line break after all: the first line alone is the record, and the lines read
  // ahead are read again after it, in their order.
  if (unclosedLine_ == 0) unclosedLine_ = first.number;
  for (auto joined = following_.rbegin(); joined != following_.rend(); ++joined) {
    pending_.push_front({joined_.substr(joined->offset, joined->size), joined->end, joined->number, joined->cut});
  }
  record = std::string_view(joined_).substr(0, first.text.size());
  return true;
}

bool TextRecordReader::ReadRecord(std::string& record) {
  std::string_view view;
  const bool read = ReadRecord(view);
  record.assign(view);
  return read;
}

bool TextRecordReader::SkipRecord() {
  std::string_view record;
  return ReadRecord(record);
}

std::int64_t TextRecordReader::SkipRemainingRecords() {
  if (!quoting_ && pending_.empty()) return lines_.SkipRemainingLines();
  std::int64_t count = 0;
  for (;;) {
    // A line without the qualifier opens no value, so it is a record of its own: such lines
    // are counted a buffer at a time, and only the others are walked.
    if (pending_.empty() && qualifier_.size() == 1) {
      const std::int64_t plain = lines_.SkipBufferedLinesWithout(qualifier_.front());
      linesRead_ += plain;
      count += plain;
    }
    if (!SkipRecord()) return count;
    ++count;
  }
}

bool TextRecordReader::AtEnd() { return pending_.empty() && lines_.AtEnd(); }

void TextRecordReader::Rewind() {
  lines_.Rewind();
  pending_.clear();
  linesRead_ = 0;
  firstLine_ = 0;
  lastCut_ = false;
}

}  // namespace quorlin
