#include "export/xls/biff_records.h"

#include "export/little_endian.h"
#include "export/xls/biff_stream.h"

namespace quorlin {

namespace {

// The ids of the records written here.
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kCodepage = 0x0042;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kFont = 0x0031;
constexpr std::uint16_t kDefColWidth = 0x0055;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kBlank = 0x0201;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kDefaultRowHeight = 0x0225;
constexpr std::uint16_t kWindow2 = 0x023E;
constexpr std::uint16_t kStyle = 0x0293;
constexpr std::uint16_t kFormat = 0x041E;
constexpr std::uint16_t kBof = 0x0809;

constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kBuild = 3515;
constexpr std::uint16_t kBuildYear = 1996;
constexpr std::uint32_t kLowestBiffVersion = 0x0106;
constexpr std::uint16_t kAutomaticColour = 0x7FFF;
constexpr std::uint16_t kNormalWeight = 400;

void PutCellHeader(std::string& data, std::uint16_t row, std::uint16_t column) {
  putU16le(data, row);
  putU16le(data, column);
  putU16le(data, kDefaultCellFormat);
}

// An XF record: the font, the number format, the type and parent field, then the defaults
// for alignment, borders and pattern.
void PutXf(std::string& stream, std::uint16_t typeAndParent, std::uint8_t attributesUsed) {
  std::string data;
  putU16le(data, 0);  // font
  putU16le(data, 0);  // number format
  putU16le(data, typeAndParent);
  putU8(data, 0x20);  // aligned to the bottom
  putU8(data, 0);     // no rotation
  putU8(data, 0);     // no indent
  putU8(data, attributesUsed);
  putU32le(data, 0);  // no borders
  putU32le(data, 0);
  putU16le(data, 0x20C0);  // pattern colours: system foreground and background
  PutRecord(stream, kXf, data);
}

}  // namespace

void PutBof(std::string& stream, SubstreamType type) {
  std::string data;
  putU16le(data, kBiff8);
  putU16le(data, static_cast<std::uint16_t>(type));
  putU16le(data, kBuild);
  putU16le(data, kBuildYear);
  putU32le(data, 0);  // file history flags
  putU32le(data, kLowestBiffVersion);
  PutRecord(stream, kBof, data);
}

void PutEof(std::string& stream) { PutRecord(stream, kEof, {}); }

void PutCodepage(std::string& stream, std::uint16_t codePage) {
  std::string data;
  putU16le(data, codePage);
  PutRecord(stream, kCodepage, data);
}

void PutWindow1(std::string& stream) {
  std::string data;
  putU16le(data, 100);    // horizontal position
  putU16le(data, 100);    // vertical position
  putU16le(data, 10000);  // width
  putU16le(data, 7000);   // height
  putU16le(data, 0x0038);  // scroll bars and sheet tabs shown
  putU16le(data, 0);       // active sheet
  putU16le(data, 0);       // first visible tab
  putU16le(data, 1);       // selected sheets
  putU16le(data, 600);     // tab bar width, in thousandths of the window
  PutRecord(stream, kWindow1, data);
}

void PutFont(std::string& stream, std::uint16_t twips) {
  static constexpr std::string_view kName = "Arial";
  std::string data;
  putU16le(data, twips);
  putU16le(data, 0);  // not bold, italic, struck out
  putU16le(data, kAutomaticColour);
  putU16le(data, kNormalWeight);
  putU16le(data, 0);  // neither super- nor subscript
  putU8(data, 0);     // not underlined
  putU8(data, 0);     // font family
  putU8(data, 0);     // character set
  putU8(data, 0);
  putU8(data, static_cast<std::uint8_t>(kName.size()));
  putU8(data, 0);  // compressed characters
  data += kName;
  PutRecord(stream, kFont, data);
}

void PutFormat(std::string& stream, std::uint16_t index, std::string_view formatText) {
  std::string data;
  putU16le(data, index);
  putU16le(data, static_cast<std::uint16_t>(formatText.size()));
  putU8(data, 0);  // compressed characters
  data += formatText;
  PutRecord(stream, kFormat, data);
}

// A style XF: locked, the style flag, no parent; every attribute is its own.
void PutStyleXf(std::string& stream) { PutXf(stream, 0xFFF5, 0x00); }

// A cell XF: locked, on style 0, taking every attribute from it.
void PutCellXf(std::string& stream) { PutXf(stream, 0x0001, 0x00); }

void PutNormalStyle(std::string& stream) {
  std::string data;
  putU16le(data, 0x8000);  // built-in style on XF 0
  putU8(data, 0);          // "Normal"
  putU8(data, 0xFF);       // no outline level
  PutRecord(stream, kStyle, data);
}

std::size_t PutBoundSheet(std::string& stream, std::string_view name) {
  std::string data;
  putU32le(data, 0);  // stream offset of the sheet's BOF, stored later
  putU8(data, 0);     // visible
  putU8(data, 0);     // worksheet
  putU8(data, static_cast<std::uint8_t>(name.size()));
  putU8(data, 0);  // compressed characters
  data += name;
  const std::size_t offsetField = stream.size() + 4;
  PutRecord(stream, kBoundSheet, data);
  return offsetField;
}

void PutDefColWidth(std::string& stream, std::uint16_t characters) {
  std::string data;
  putU16le(data, characters);
  PutRecord(stream, kDefColWidth, data);
}

void PutDefaultRowHeight(std::string& stream, std::uint16_t twips) {
  std::string data;
  putU16le(data, 0);  // flags
  putU16le(data, twips);
  PutRecord(stream, kDefaultRowHeight, data);
}

void PutDimensions(std::string& stream, std::uint32_t firstRow, std::uint32_t endRow,
                   std::uint16_t firstColumn, std::uint16_t endColumn) {
  std::string data;
  putU32le(data, firstRow);
  putU32le(data, endRow);
  putU16le(data, firstColumn);
  putU16le(data, endColumn);
  putU16le(data, 0);
  PutRecord(stream, kDimensions, data);
}

void PutWindow2(std::string& stream) {
  std::string data;
  // Grid lines, row and column headers, zero values, automatic grid colour, outline symbols,
  // selected and shown.
  putU16le(data, 0x06B6);
  putU16le(data, 0);   // top row
  putU16le(data, 0);   // left column
  putU16le(data, 64);  // grid line colour: automatic
  putU16le(data, 0);
  putU16le(data, 0);  // page break preview zoom: default
  putU16le(data, 0);  // normal view zoom: default
  putU32le(data, 0);
  PutRecord(stream, kWindow2, data);
}

void PutLabelSst(std::string& stream, std::uint16_t row, std::uint16_t column,
                 std::uint32_t stringIndex) {
  std::string data;
  PutCellHeader(data, row, column);
  putU32le(data, stringIndex);
  PutRecord(stream, kLabelSst, data);
}

void PutBoolErr(std::string& stream, std::uint16_t row, std::uint16_t column, bool value) {
  std::string data;
  PutCellHeader(data, row, column);
  putU8(data, value ? 1 : 0);
  putU8(data, 0);  // a boolean, not an error
  PutRecord(stream, kBoolErr, data);
}

void PutBlank(std::string& stream, std::uint16_t row, std::uint16_t column) {
  std::string data;
  PutCellHeader(data, row, column);
  PutRecord(stream, kBlank, data);
}

}  // namespace quorlin
