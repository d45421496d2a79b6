// The SQL script writer: CREATE TABLE, one INSERT INTO per record, and the log of rejected values.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

inline constexpr const char* kSqlLogName = "SQLogErr.txt";

// A name as the script writes it: bare when it is a plain identifier (a letter or "_", then
// letters, digits and "_") and no reserved word, otherwise in square brackets.
std::string SqlName(std::string_view name);

// The refusal of a name a script cannot hold ("]" or a control character), or nothing.
std::optional<std::string> SqlNameRefusal(std::string_view what, std::string_view name);

// The refusal of a name the database's quotes cannot hold (a control character), or nothing.
std::optional<std::string> QuotedNameRefusal(std::string_view what, std::string_view name);

// The closing message that names the log of rejected values.
std::string SqlRejectedMessage(const std::string& logFolder);

std::unique_ptr<FormatWriter> MakeSqlWriter(const ExportRequest& request);

}  // namespace quorlin
