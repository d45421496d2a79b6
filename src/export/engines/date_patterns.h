// Date patterns of a layout ("dd/MM/yyyy hh:mm AM") in the engines' own notations.
#pragma once

#include <string>
#include <string_view>

namespace quorlin {

enum class PatternStyle {
  Strftime,  // DuckDB: %d/%m/%Y %I:%M %p
  MySql,     // Trino's date_parse: %d/%m/%Y %h:%i %p
  Java,      // Spark: dd/MM/yyyy hh:mm a
};

std::string EnginePattern(std::string_view layoutPattern, PatternStyle style);

// Whether the pattern holds an hour.
bool PatternHasTime(std::string_view layoutPattern);

}  // namespace quorlin
