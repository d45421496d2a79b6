// The structure report: a fixed-pitch listing of a layout for the printer or a text file.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "schema/field_layout.h"

namespace quorlin {

enum class PadMode { Left, Right };

// Left: the first `width` bytes of the text followed by `width` blanks (left-aligned, cut on
// the right). Right: the last `width` bytes of `width` blanks followed by the text
// (right-aligned, cut on the left).
std::string PadText(std::string_view text, std::size_t width, PadMode mode);

// "Comma Delimited", "Space Delimited", "Tab Delimited", "Custom" or "Fixed Format".
std::string_view ReportFormatName(SeparatorKind separator);

// The report of `fields` for the file named `fileName`, dated `today`, fields numbered from
// `numberingBase`; every line ends with CR LF. A width that is not a whole number adds 0 to
// the total, and its field line carries "*" just in front of the width, explained by a note
// under the total.
std::string StructureReport(std::string_view fileName, SeparatorKind separator,
                            const FieldList& fields, int numberingBase,
                            std::chrono::year_month_day today);

// The message refusing to write the report to `outputPath` when it is the data file itself,
// also through a link: the data file is never written.
std::optional<std::string> ReportOutputRefusal(const std::string& inputPath, const std::string& outputPath);

}  // namespace quorlin
