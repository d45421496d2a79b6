// Cutting a delimited record into its field values.
#include "text/record_splitter.h"

#include <algorithm>

#include "text/byte_search.h"

namespace quorlin {

namespace {

std::string_view Between(const char* from, const char* to) {
  return {from, static_cast<std::size_t>(to - from)};
}

// Every field is a part of the record, so one routine serves both kinds of result list. It
// walks the record with pointers, as it runs for every record of every export and query.
template <typename Field>
void SplitInto(std::string_view record, std::string_view separator, std::string_view qualifier,
               std::vector<Field>& fields, std::size_t maxFields) {
  fields.clear();
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
  do {
    if (hasSeparator && (nextSeparator == nullptr || (nextSeparator != end && nextSeparator < at))) {
      nextSeparator = FindByte(at, end, separatorChar);
    }
    const bool separatorAhead = hasSeparator && nextSeparator != end;
    const bool qualified = hasQualifier && at != end && *at == qualifierChar;

    if (!separatorAhead) {
      // The last field keeps its blanks; a qualified one loses its first and last character,
      // whatever the last one is.
      if (qualified) {
        fields.emplace_back(end - at <= 2 ? std::string_view() : Between(at + 1, end - 1));
      } else {
        fields.emplace_back(Between(at, end));
      }
      at = end;
    } else if (!qualified) {
      fields.emplace_back(Trim(Between(at, nextSeparator)));
      at = nextSeparator + 1;
    } else {
      // The first qualifier after the opening one closes the field. Without one the field is
      // empty and only the opening qualifier and the character after it are passed over; the
      // remainder then holds no qualifier at all, so this whole-remainder search happens once.
      const char* const closing = FindByte(at + 1, end, qualifierChar);
      const std::string_view field = closing == end ? std::string_view() : Between(at + 1, closing);
      const char* after = at + std::min(field.size() + 2, static_cast<std::size_t>(end - at));
      while (after != end && IsBlankChar(*after)) ++after;
      fields.emplace_back(Trim(field));
      at = after;
      if (after != end && hasSeparator && *after == separatorChar) ++at;
    }
  } while (at < end && fields.size() < maxFields);
}

}  // namespace

void SplitRecord(std::string_view record, std::string_view separator, std::string_view qualifier,
                 std::vector<std::string>& fields, std::size_t maxFields) {
  SplitInto(record, separator, qualifier, fields, maxFields);
}

void SplitRecordViews(std::string_view record, std::string_view separator,
                      std::string_view qualifier, std::vector<std::string_view>& fields,
                      std::size_t maxFields) {
  SplitInto(record, separator, qualifier, fields, maxFields);
}

}  // namespace quorlin
