// Invariants of the record splitter and the line reader, checked by fuzzing and by corpus replay.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/file_error.h"
#include "text/byte_order_mark.h"
#include "text/record_splitter.h"
#include "text/text_line_reader.h"
#include "text/utf8_text.h"

namespace quorlin::fuzz {

// `text` with each pair of `qualifier` characters made one.
inline std::string Undouble(std::string_view text, char qualifier) {
  std::string single;
  for (std::size_t i = 0; i < text.size(); ++i) {
    single += text[i];
    if (text[i] == qualifier && i + 1 < text.size() && text[i + 1] == qualifier) ++i;
  }
  return single;
}

// The splitting rule followed step by step, re-searching the separator for every field: the
// slow, obvious reference that SplitRecord must agree with.
inline std::vector<std::string> ReferenceSplit(std::string_view record, std::string_view separator,
                                               std::string_view qualifier) {
  std::vector<std::string> fields;
  const bool hasQualifier = qualifier.size() == 1;
  std::string_view rest = Trim(record);
  bool endedAtSeparator = false;
  do {
    const std::size_t p = separator.empty() ? std::string_view::npos : rest.find(separator[0]);
    const bool qualified = hasQualifier && !rest.empty() && rest[0] == qualifier[0];
    if (p == std::string_view::npos) {
      fields.emplace_back(!qualified ? std::string(rest)
                          : rest.size() <= 2 ? ""
                                             : Undouble(rest.substr(1, rest.size() - 2), qualifier[0]));
      rest = {};
    } else if (!qualified) {
      fields.emplace_back(Trim(rest.substr(0, p)));
      rest = rest.substr(p + 1);
      endedAtSeparator = rest.empty();
    } else {
      std::size_t closing = rest.find(qualifier[0], 1);
      while (closing != std::string_view::npos && closing + 1 < rest.size() && rest[closing + 1] == qualifier[0]) {
        closing = rest.find(qualifier[0], closing + 2);
      }
      const std::string_view field =
          closing == std::string_view::npos ? std::string_view() : rest.substr(1, closing - 1);
      const std::size_t after = closing == std::string_view::npos ? 2 : closing + 1;
      rest = after >= rest.size() ? std::string_view() : Trim(rest.substr(after));
      fields.emplace_back(Trim(Undouble(field, qualifier[0])));
      if (!rest.empty() && rest[0] == separator[0]) {
        rest.remove_prefix(1);
        endedAtSeparator = rest.empty();
      }
    }
  } while (!rest.empty());
  if (endedAtSeparator) fields.emplace_back();
  return fields;
}

// The first byte chooses the separator, the second the qualifier, the rest is the record.
inline std::string CheckSplit(std::string_view data) {
  static constexpr std::string_view kSeparators[] = {",", "\t", " ", "", ";", "\"", "'"};
  static constexpr std::string_view kQualifiers[] = {"\"", "'", "{none}", "", ","};
  if (data.size() < 2) return {};
  const std::string_view separator = kSeparators[static_cast<unsigned char>(data[0]) % 7];
  const std::string_view qualifier = kQualifiers[static_cast<unsigned char>(data[1]) % 5];
  const std::string_view record = data.substr(2);
  std::vector<std::string> fields;
  SplitRecord(record, separator, qualifier, fields);
  if (fields.empty()) return "no field at all";
  if (separator.empty() && fields.size() != 1) return "more than one field without a separator";
  std::size_t total = 0;
  for (const std::string& field : fields) total += field.size();
  if (total > record.size()) return "the fields hold more bytes than the record";
  if (fields != ReferenceSplit(record, separator, qualifier)) {
    return "other fields than the splitting rule gives";
  }
  std::vector<std::string_view> views;
  std::string unescaped;
  SplitRecordViews(record, separator, qualifier, views, unescaped);
  if (!std::equal(views.begin(), views.end(), fields.begin(), fields.end())) {
    return "other fields as views than as texts";
  }
  const auto inside = [](std::string_view view, std::string_view whole) {
    return view.data() >= whole.data() && view.data() + view.size() <= whole.data() + whole.size();
  };
  for (const std::string_view view : views) {
    if (!view.empty() && !inside(view, record) && !inside(view, unescaped)) {
      return "a view outside the record and the unescaped values";
    }
  }
  return {};
}

// The lines of `data` as the line rule defines them, worked out the slow, obvious way: the
// first 65,536 bytes up to a Ctrl-Z choose the line end, a Ctrl-Z ends only a file without
// line-feed line ends, a UTF-8 mark at the start is no text.
inline std::vector<std::string> ExpectedLines(std::string_view data) {
  std::string_view probe = data.substr(0, 65536);
  probe = probe.substr(0, probe.find('\x1a'));
  const bool lineFeedEnds = probe.find('\n') != probe.npos && probe.find('\r') == probe.npos;
  if (data.starts_with("\xEF\xBB\xBF")) data.remove_prefix(3);
  const std::string_view text = lineFeedEnds ? data : data.substr(0, data.find('\x1a'));
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(lineFeedEnds ? '\n' : '\r', at), text.size());
    std::string_view line = text.substr(at, end - at);
    if (lineFeedEnds && end < text.size() && line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    at = end + 1;
    if (!lineFeedEnds && at < text.size() && text[at] == '\n') ++at;
  }
  return lines;
}

inline std::vector<std::string> ReadAllLines(TextLineReader& reader) {
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadTextLine(line)) lines.push_back(line);
  return lines;
}

// UTF-32 files are refused when opened, with a message naming the file.
inline std::string CheckWideTextRefused(const std::string& path) {
  try {
    TextLineReader reader(path);
  } catch (const FileError& error) {
    return std::string(error.what()).starts_with(path + " is UTF-32") ? "" : "refused as " + std::string(error.what());
  }
  return "a UTF-32 file was opened";
}

// UTF-16 files are decoded whatever their bytes: every line read is UTF-8, and reading again
// after Rewind gives the same lines.
inline std::string CheckWideTextDecoded(const std::string& path) {
  TextLineReader reader(path, 7);
  const std::vector<std::string> lines = ReadAllLines(reader);
  for (const std::string& line : lines) {
    if (!IsValidUtf8(line)) return "a decoded line is no UTF-8";
  }
  reader.Rewind();
  return ReadAllLines(reader) == lines ? "" : "other lines after Rewind";
}

// Writes `data` to `path` and reads it back with tiny buffers, where line ends and Ctrl-Z fall
// across refills, and with the default one; all must agree with the line rule, and a line
// limit must give the same lines cut.
inline std::string CheckLineReader(std::string_view data, const std::string& path) {
  WriteFileBytes(path, data);
  const ByteOrderMark mark = ByteOrderMarkOf(data);
  if (mark == ByteOrderMark::Utf32) return CheckWideTextRefused(path);
  if (mark == ByteOrderMark::Utf16Le || mark == ByteOrderMark::Utf16Be) return CheckWideTextDecoded(path);
  const std::vector<std::string> expected = ExpectedLines(data);
  for (const std::size_t bufferSize :
       {std::size_t{1}, 2 + data.size() % 13, TextLineReader::kDefaultBufferSize}) {
    TextLineReader reader(path, bufferSize);
    const std::vector<std::string> lines = ReadAllLines(reader);
    const std::string buffer = " with a buffer of " + std::to_string(bufferSize) + " bytes";
    const char lineEnd = reader.Ends() == LineEnds::LineFeed ? '\n' : '\r';
    for (const std::string& line : lines) {
      if (line.find(lineEnd) != std::string::npos) return "a line holds its line end" + buffer;
      if (lineEnd == '\r' && line.find('\x1a') != std::string::npos) return "a line holds Ctrl-Z" + buffer;
    }
    if (lines != expected) {
      return std::to_string(lines.size()) + " lines read where the line rule gives " +
             std::to_string(expected.size()) + buffer;
    }
    if (!reader.AtEnd()) return "not at the end after the last line" + buffer;
    reader.Rewind();
    if (ReadAllLines(reader) != expected) return "other lines after Rewind" + buffer;

    const std::size_t limit = data.size() % 7;
    reader.Rewind();
    reader.LimitLineLength(limit);
    std::string line;
    for (const std::string& whole : expected) {
      if (!reader.ReadTextLine(line) || line != whole.substr(0, limit) ||
          reader.LastLineCut() != (whole.size() > limit)) {
        return "a line cut at " + std::to_string(limit) + " bytes differs" + buffer;
      }
    }
  }
  return {};
}

}  // namespace quorlin::fuzz
