// Text between the driver's UTF-8 and the UTF-16 of the wide (W) entry points.
#pragma once

#include <sql.h>
#include <sqlucode.h>

#include <optional>
#include <string>
#include <string_view>

namespace quorlin::driver {

// A wide text argument of `length` UTF-16 units, or up to its NUL for SQL_NTS, as UTF-8; a
// lone surrogate becomes U+FFFD.
std::string NarrowText(const SQLWCHAR* text, SQLINTEGER length);
// The same, or nothing for a null pointer.
std::optional<std::string> OptionalNarrowText(const SQLWCHAR* text, SQLSMALLINT length);

// What a wide call's buffer and length arguments count: SQLWCHARs or bytes.
enum class WideUnit { Characters, Bytes };

// Copies `text` (UTF-8, or Latin-1 where it is not) as UTF-16 with a terminating NUL into a
// buffer of `bufferLength` units, cutting it where it does not fit but never inside a
// surrogate pair, and stores its whole length in units. True when it was cut.
bool CopyWideString(std::string_view text, SQLPOINTER buffer, SQLLEN bufferLength, SQLSMALLINT* fullLength,
                    WideUnit unit);

}  // namespace quorlin::driver
