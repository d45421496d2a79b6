// The BIFF8 records of a one-sheet workbook, each appended to a stream by its own function.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorlin {

enum class SubstreamType : std::uint16_t { Globals = 0x0005, Worksheet = 0x0010 };

// The cell format every cell uses: the first cell format after the 15 style formats.
inline constexpr std::uint16_t kDefaultCellFormat = 15;

// Beginning of a substream.
void PutBof(std::string& stream, SubstreamType type);
// End of a substream.
void PutEof(std::string& stream);

// Code page of the workbook's byte strings (1200: they are UTF-16).
void PutCodepage(std::string& stream, std::uint16_t codePage);
// Position and size of the workbook window, in twips.
void PutWindow1(std::string& stream);
// One font: Arial, `twips` high (200 is 10 points).
void PutFont(std::string& stream, std::uint16_t twips);
// A number format: its index and format text (ASCII).
void PutFormat(std::string& stream, std::uint16_t index, std::string_view formatText);
// A style format (every attribute taken from the style) or a cell format based on style 0.
void PutStyleXf(std::string& stream);
void PutCellXf(std::string& stream);
// The built-in "Normal" style, on style format 0.
void PutNormalStyle(std::string& stream);
// A visible worksheet named `name` (ASCII); gives the stream offset of the field that must
// hold the worksheet's BOF offset once it is known.
std::size_t PutBoundSheet(std::string& stream, std::string_view name);

// Default column width in characters.
void PutDefColWidth(std::string& stream, std::uint16_t characters);
// Default row height in twips.
void PutDefaultRowHeight(std::string& stream, std::uint16_t twips);
// The used range: first row and column, and one past the last.
void PutDimensions(std::string& stream, std::uint32_t firstRow, std::uint32_t endRow,
                   std::uint16_t firstColumn, std::uint16_t endColumn);
// The sheet window: grid lines, headers, selected sheet.
void PutWindow2(std::string& stream);

// Cells, all in the default cell format.
void PutLabelSst(std::string& stream, std::uint16_t row, std::uint16_t column,
                 std::uint32_t stringIndex);
void PutBoolErr(std::string& stream, std::uint16_t row, std::uint16_t column, bool value);
void PutBlank(std::string& stream, std::uint16_t row, std::uint16_t column);

}  // namespace quorlin
