// Cutting a delimited record into its field values.
#include "text/record_splitter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "text/byte_search.h"
#include "text/field_mark.h"

namespace quorlin {

namespace {

std::string_view Between(const char* from, const char* to) {
  return {from, static_cast<std::size_t>(to - from)};
}

template <typename Mark>
bool HasDoubled(std::string_view text, const Mark& qualifier) {
  const char* const end = text.data() + text.size();
  for (const char* at = qualifier.Find(text.data(), end); at != end; at = qualifier.Find(at + qualifier.Size(), end)) {
    if (qualifier.At(at + qualifier.Size(), end)) return true;
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
template <typename Mark>
[[gnu::noinline]] std::string_view Undoubled(std::string_view text, const Mark& qualifier, std::size_t recordSize,
                                             std::string& unescaped) {
  if (unescaped.capacity() < recordSize) unescaped.reserve(recordSize);
  const std::size_t start = unescaped.size();
  const char* const end = text.data() + text.size();
  for (const char* at = text.data(); at != end;) {
    if (qualifier.At(at, end) && qualifier.At(at + qualifier.Size(), end)) {
      unescaped.append(at, qualifier.Size());
      at += 2 * qualifier.Size();
    } else {
      unescaped.push_back(*at++);
    }
  }
  return std::string_view(unescaped).substr(start);
}

// The first qualifier from the doubled one at `at` on that is not doubled, or `end`.
template <typename Mark>
[[gnu::noinline]] const char* SingleQualifier(const char* at, const char* end, const Mark& qualifier) {
  while (at != end && qualifier.At(at + qualifier.Size(), end)) at = qualifier.Find(at + 2 * qualifier.Size(), end);
  return at;
}

// What is passed over after an opening qualifier that nothing closes: a byte of a text cut at
// bytes, a character of one cut at characters.
inline std::size_t PassedOver(const ByteMark&, const char* at, const char* end) { return at != end ? 1 : 0; }
inline std::size_t PassedOver(const TextMark&, const char* at, const char* end) {
  return LeadingCharacter(Between(at, end)).size();
}

// The size of the last character of [at, end), which is not empty.
inline std::size_t LastCharacterSize(const ByteMark&, const char*, const char*) { return 1; }
inline std::size_t LastCharacterSize(const TextMark&, const char* at, const char* end) {
  const char* last = end - 1;
  while (last > at && end - last < 4 && (static_cast<unsigned char>(*last) & 0xC0) == 0x80) --last;
  return LeadingCharacter(Between(last, end)).size() == static_cast<std::size_t>(end - last) ? end - last : 1;
}

template <typename Field, typename Mark>
void SplitInto(std::string_view record, bool hasSeparator, const Mark& separatorMark, bool hasQualifier,
               const Mark& qualifierMark, std::vector<Field>& fields, std::size_t maxFields, std::string& unescaped) {
  fields.clear();
  unescaped.clear();

  // Every remainder is a suffix of the trimmed record, so only its front ever needs trimming,
  // and the next separator found stays valid until the remainder has moved past it. Keeping
  // it instead of searching again for every field keeps long runs of qualified fields linear.
  const std::string_view whole = Trim(record);
  const char* const end = whole.data() + whole.size();
  const char* at = whole.data();         // the remainder's start
  const char* nextSeparator = nullptr;   // not searched yet; `end` when there is none ahead
  bool endedAtSeparator = false;
  do {
    const bool qualified = hasQualifier && qualifierMark.At(at, end);
    if constexpr (std::is_same_v<Mark, ByteMark>) {
      if (hasSeparator && !qualified && std::endian::native == std::endian::little) {
        at = CutPlainFields(at, whole.data(), end, separatorMark.byte,
                            hasQualifier ? static_cast<unsigned char>(qualifierMark.byte) : -1, fields, maxFields,
                            endedAtSeparator);
        continue;
      }
    }
    if (hasSeparator && (nextSeparator == nullptr || (nextSeparator != end && nextSeparator < at))) {
      nextSeparator = separatorMark.Find(at, end);
    }
    const bool separatorAhead = hasSeparator && nextSeparator != end;

    if (!separatorAhead) {
      // The last field keeps its blanks; a qualified one loses its first and last character,
      // whatever the last one is.
      if (qualified) {
        const auto q = static_cast<std::ptrdiff_t>(qualifierMark.Size());
        const auto last = static_cast<std::ptrdiff_t>(LastCharacterSize(qualifierMark, at + q, end));
        const std::string_view inner = end - at <= q + last ? std::string_view() : Between(at + q, end - last);
        if (HasDoubled(inner, qualifierMark)) [[unlikely]] {
          fields.emplace_back(Undoubled(inner, qualifierMark, whole.size(), unescaped));
        } else {
          fields.emplace_back(inner);
        }
      } else {
        fields.emplace_back(Between(at, end));
      }
      at = end;
    } else if (!qualified) {
      fields.emplace_back(Trim(Between(at, nextSeparator)));
      at = nextSeparator + separatorMark.Size();
      endedAtSeparator = at == end;
    } else {
      // The first single qualifier after the opening one closes the field; a doubled one stands
      // for one qualifier of the value. Without a closing one the field is empty and only the
      // opening qualifier and the character after it are passed over; the remainder then holds
      // no single qualifier at all, so this whole-remainder search happens once.
      const std::size_t q = qualifierMark.Size();
      const char* closing = qualifierMark.Find(at + q, end);
      const bool doubled = closing != end && qualifierMark.At(closing + q, end);
      if (doubled) [[unlikely]] closing = SingleQualifier(closing, end, qualifierMark);
      const std::string_view field = closing == end ? std::string_view() : Between(at + q, closing);
      const char* after = closing == end ? at + q + PassedOver(qualifierMark, at + q, end) : closing + q;
      while (after != end && IsBlankChar(*after)) ++after;
      if (doubled && closing != end) [[unlikely]] {
        fields.emplace_back(Trim(Undoubled(field, qualifierMark, whole.size(), unescaped)));
      } else {
        fields.emplace_back(Trim(field));
      }
      at = after;
      if (hasSeparator && separatorMark.At(after, end)) {
        at += separatorMark.Size();
        endedAtSeparator = at == end;
      }
    }
  } while (at < end && fields.size() < maxFields);
  // A separator that ends the record is followed by an empty field, as a reader of the common
  // dialect sees it: without it the record would lose its last column.
  if (endedAtSeparator && fields.size() < maxFields) fields.emplace_back();
}

// Cuts with one-byte marks where both are, which is nearly always.
template <typename Field>
void SplitInto(std::string_view record, std::string_view separator, std::string_view qualifier,
               std::vector<Field>& fields, std::size_t maxFields, std::string& unescaped) {
  const std::string_view separatorCharacter = LeadingCharacter(separator);
  const bool hasQualifier = IsOneCharacter(qualifier);
  const std::string_view qualifierCharacter = hasQualifier ? qualifier : std::string_view();
  if (separatorCharacter.size() <= 1 && qualifierCharacter.size() <= 1) {
    SplitInto(record, !separatorCharacter.empty(), ByteMark{separatorCharacter.empty() ? '\0' : separatorCharacter.front()},
              hasQualifier, ByteMark{hasQualifier ? qualifierCharacter.front() : '\0'}, fields, maxFields, unescaped);
  } else {
    SplitInto(record, !separatorCharacter.empty(), TextMark{separatorCharacter}, hasQualifier,
              TextMark{qualifierCharacter}, fields, maxFields, unescaped);
  }
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
