// The XML writer: a Quorlin document with the field list and one RECORD element per record.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

// The element name of a field: blanks become "_", so does every other character a name may
// not hold (":" included, which would ask for a namespace), and "_" goes in front of a name
// that may not start as it does.
std::string XmlElementName(std::string_view fieldName);

// `text` made fit for a comment: "--" becomes "- -", control characters XML cannot hold are
// dropped and a byte outside a valid UTF-8 sequence becomes its Latin-1 character in UTF-8.
std::string XmlCommentText(std::string_view text);

std::unique_ptr<FormatWriter> MakeXmlWriter(const ExportRequest& request);

}  // namespace quorlin
