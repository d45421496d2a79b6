// The one rule by which a delimited record is cut into field values.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/trim.h"

namespace quorlin {

// Cuts `record` into `fields` (cleared first; always at least one field). `separator` is at
// most one character, empty meaning "no separator". `qualifier` takes effect only when it is
// exactly one character ("{none}" turns quoting off); inside a qualified value two qualifiers
// in a row stand for one. Linear in the record's length. With
// `maxFields` it stops after that many fields, which are the record's first ones.
void SplitRecord(std::string_view record, std::string_view separator, std::string_view qualifier,
                 std::vector<std::string>& fields,
                 std::size_t maxFields = std::numeric_limits<std::size_t>::max());

// The same fields as SplitRecord, as views, for callers that cut millions of records and must
// not allocate per field. A field is a part of `record`, or, when its value held doubled
// qualifiers, a part of `unescaped` (cleared first), which then holds those values made single.
// The views are valid while `record` and `unescaped` are and `unescaped` is not changed.
void SplitRecordViews(std::string_view record, std::string_view separator,
                      std::string_view qualifier, std::vector<std::string_view>& fields,
                      std::string& unescaped,
                      std::size_t maxFields = std::numeric_limits<std::size_t>::max());

}  // namespace quorlin
