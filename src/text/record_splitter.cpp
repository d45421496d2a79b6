// Cutting a delimited record into its field values.
#include "text/record_splitter.h"

namespace quorlin {

namespace {

// Every field is a part of the record, so one routine serves both kinds of result list.
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
  std::size_t start = 0;
  std::size_t nextSeparator = 0;
  bool separatorKnown = false;
  do {
    const std::string_view rest = whole.substr(start);
    if (hasSeparator && (!separatorKnown || (nextSeparator != std::string_view::npos &&
                                             nextSeparator < start))) {
      nextSeparator = whole.find(separatorChar, start);
      separatorKnown = true;
    }
    const bool separatorAhead = hasSeparator && nextSeparator != std::string_view::npos;
    const bool qualified = hasQualifier && !rest.empty() && rest.front() == qualifierChar;

    if (!separatorAhead) {
      // The last field keeps its blanks; a qualified one loses its first and last character,
      // whatever the last one is.
      if (qualified) {
        fields.emplace_back(rest.size() <= 2 ? std::string_view() : rest.substr(1, rest.size() - 2));
      } else {
        fields.emplace_back(rest);
      }
      start = whole.size();
    } else if (!qualified) {
      fields.emplace_back(Trim(whole.substr(start, nextSeparator - start)));
      start = nextSeparator + 1;
    } else {
      // The first qualifier after the opening one closes the field. Without one the field is
      // empty and only the opening qualifier and the character after it are passed over; the
      // remainder then holds no qualifier at all, so this whole-remainder search happens once.
      const std::size_t closing = rest.find(qualifierChar, 1);
      const std::string_view field =
          closing == std::string_view::npos ? std::string_view() : rest.substr(1, closing - 1);
      const std::size_t skip = field.size() + 2;
      const std::string_view after = skip >= rest.size() ? std::string_view() : TrimFront(rest.substr(skip));
      fields.emplace_back(Trim(field));
      start = whole.size() - after.size();
      if (!after.empty() && hasSeparator && after.front() == separatorChar) ++start;
    }
  } while (start < whole.size() && fields.size() < maxFields);
}

}  // namespace

void SplitRecord(std::string_view record, std::string_view separator, std::string_view qualifier,
                 std::vector<std::string>& fields, std::size_t maxFields) {
  SplitInto(record, separator, qualifier, fields, maxFields);
}

void SplitRecordViews(std::string_view record, std::string_view separator,
                      std::string_view qualifier, std::vector<std::string_view>& fields) {
  SplitInto(record, separator, qualifier, fields, std::numeric_limits<std::size_t>::max());
}

}  // namespace quorlin
