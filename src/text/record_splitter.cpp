// Cutting a delimited record into its field values.
#include "text/record_splitter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/byte_search.h"

namespace quorlin {

namespace {

std::string_view Between(const char* from, const char* to) {
  return {from, static_cast<std::size_t>(to - from)};
}

bool HasDoubled(std::string_view text, char qualifierChar) {
  const char* const end = text.data() + text.size();
  for (const char* at = FindByte(text.data(), end, qualifierChar); at != end;
       at = FindByte(at + 1, end, qualifierChar)) {
    if (at + 1 != end && at[1] == qualifierChar) return true;
  }
  return false;
}

// Cuts the unqualified fields that start at `at`, one after another, finding every separator
// of the record once, eight bytes at a time. Stops in front of a field that starts with the
// qualifier (when there is one), after `maxFields` fields, or at `end`; gives where it stopped,
// and sets `endedAtSeparator` when that is the end, right after a separator.
// The field after the last separator is the record's last one and keeps its blanks.
template <typename Field>
const char* CutPlainFields(const char* at, const char* recordStart, const char* end, char separator,
                           const int qualifier, std::vector<Field>& fields, std::size_t maxFields,
                           bool& endedAtSeparator) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  const std::uint64_t pattern = kOnes * static_cast<unsigned char>(separator);
  // Words are read from here on; the record's last bytes are read as the eight ending at
  // `end` (those before the search point masked off), so nothing outside the record is read.
  const char* word = at;
  for (;;) {
    std::uint64_t found = 0;
    const char* base = word;
    if (end - word >= 8) {
      std::uint64_t bytes;
      std::memcpy(&bytes, word, sizeof bytes);
      found = EqualBytes(bytes, pattern);
      word += 8;
    } else if (word < end && end - recordStart >= 8) {
      base = end - 8;
      std::uint64_t bytes;
      std::memcpy(&bytes, base, sizeof bytes);
      found = EqualBytes(bytes, pattern) & (~0ULL << (8 * (word - base)));
      word = end;
    } else {
      // A record shorter than a word: byte by byte, up to the next separator.
      while (word < end && *word != separator) ++word;
      if (word < end) found = 0x80ULL << (8 * (word++ - base));
    }
    for (; found != 0; found &= found - 1) {
      const char* const separatorAt = base + (std::countr_zero(found) >> 3);
      fields.emplace_back(Trim(Between(at, separatorAt)));
      at = separatorAt + 1;
      if (at >= end || fields.size() >= maxFields) {
        endedAtSeparator = at >= end;
        return at;
      }
      if (qualifier >= 0 && *at == static_cast<char>(qualifier)) return at;
    }
    if (word >= end) {
      fields.emplace_back(Between(at, end));
      return end;
    }
  }
}

// Every field is a part of the record, so one routine serves both kinds of result list. It
// walks the record with pointers, as it runs for every record of every export and query.
// `text` with every doubled qualifier made single, written to `unescaped`. Its room is made for
// the whole record at once, so the views into it given out before stay valid.
[[gnu::noinline]] std::string_view Undoubled(std::string_view text, char qualifierChar, std::size_t recordSize,
                                             std::string& unescaped) {
  if (unescaped.capacity() < recordSize) unescaped.reserve(recordSize);
  const std::size_t start = unescaped.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    unescaped.push_back(text[i]);
    if (text[i] == qualifierChar && i + 1 < text.size() && text[i + 1] == qualifierChar) ++i;
  }
  return std::string_view(unescaped).substr(start);
}

// The first qualifier from the doubled one at `at` on that is not doubled, or `end`.
[[gnu::noinline]] const char* SingleQualifier(const char* at, const char* end, char qualifierChar) {
  while (at != end && at + 1 != end && at[1] == qualifierChar) at = FindByte(at + 2, end, qualifierChar);
  return at;
}

template <typename Field>
void SplitInto(std::string_view record, std::string_view separator, std::string_view qualifier,
               std::vector<Field>& fields, std::size_t maxFields, std::string& unescaped) {
  fields.clear();
  unescaped.clear();
  const bool hasSeparator = !separator.empty();
  const char separatorChar = hasSeparator ? separator.front() : '\0';
  const bool hasQualifier = qualifier.size() == 1;
  const char qualifierChar = hasQualifier ? qualifier.front() : '\0';

  // Every remainder is a suffix of the trimmed record, so only its front ever needs trimming,
  // and the next separator found stays valid until the remainder has moved past it. Keeping
  // it instead of searching again for every field keeps long runs of qualified fields linear.
  const std::string_view whole = Trim(record);
  const char* const end = whole.data() + whole.size();
  const char* at = whole.data();         // the remainder's start
  const char* nextSeparator = nullptr;   // not searched yet; `end` when there is none ahead
  bool endedAtSeparator = false;
  do {
    const bool qualified = hasQualifier && at != end && *at == qualifierChar;
    if (hasSeparator && !qualified && std::endian::native == std::endian::little) {
      at = CutPlainFields(at, whole.data(), end, separatorChar,
                          hasQualifier ? static_cast<unsigned char>(qualifierChar) : -1, fields, maxFields,
                          endedAtSeparator);
      continue;
    }
    if (hasSeparator && (nextSeparator == nullptr || (nextSeparator != end && nextSeparator < at))) {
      nextSeparator = FindByte(at, end, separatorChar);
    }
    const bool separatorAhead = hasSeparator && nextSeparator != end;

    if (!separatorAhead) {
      // The last field keeps its blanks; a qualified one loses its first and last character,
      // whatever the last one is.
      if (qualified) {
        const std::string_view inner = end - at <= 2 ? std::string_view() : Between(at + 1, end - 1);
        if (HasDoubled(inner, qualifierChar)) [[unlikely]] {
          fields.emplace_back(Undoubled(inner, qualifierChar, whole.size(), unescaped));
        } else {
          fields.emplace_back(inner);
        }
      } else {
        fields.emplace_back(Between(at, end));
      }
      at = end;
    } else if (!qualified) {
      fields.emplace_back(Trim(Between(at, nextSeparator)));
      at = nextSeparator + 1;
      endedAtSeparator = at == end;
    } else {
      // The first single qualifier after the opening one closes the field; a doubled one stands
      // for one qualifier of the value. Without a closing one the field is empty and only the
      // opening qualifier and the character after it are passed over; the remainder then holds
      // no single qualifier at all, so this whole-remainder search happens once.
      const char* closing = FindByte(at + 1, end, qualifierChar);
      const bool doubled = closing != end && closing + 1 != end && closing[1] == qualifierChar;
      if (doubled) [[unlikely]] closing = SingleQualifier(closing, end, qualifierChar);
      const std::string_view field = closing == end ? std::string_view() : Between(at + 1, closing);
      const char* after = closing == end ? at + std::min<std::size_t>(2, end - at) : closing + 1;
      while (after != end && IsBlankChar(*after)) ++after;
      if (doubled && closing != end) [[unlikely]] {
        fields.emplace_back(Trim(Undoubled(field, qualifierChar, whole.size(), unescaped)));
      } else {
        fields.emplace_back(Trim(field));
      }
      at = after;
      if (after != end && hasSeparator && *after == separatorChar) endedAtSeparator = ++at == end;
    }
  } while (at < end && fields.size() < maxFields);
  // A separator that ends the record is followed by an empty field, as a reader of the common
  // dialect sees it: without it the record would lose its last column.
  if (endedAtSeparator && fields.size() < maxFields) fields.emplace_back();
}

}  // namespace

void SplitRecord(std::string_view record, std::string_view separator, std::string_view qualifier,
                 std::vector<std::string>& fields, std::size_t maxFields) {
  std::string unescaped;  // takes memory only for a value with a doubled qualifier
  SplitInto(record, separator, qualifier, fields, maxFields, unescaped);
}

void SplitRecordViews(std::string_view record, std::string_view separator,
                      std::string_view qualifier, std::vector<std::string_view>& fields,
                      std::string& unescaped, std::size_t maxFields) {
  SplitInto(record, separator, qualifier, fields, maxFields, unescaped);
}

}  // namespace quorlin
