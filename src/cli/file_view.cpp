// Refresh and the schema reader's way of loading a data file, for the commands to print.
#include "cli/file_view.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/cli_error.h"
#include "platform/folder_files.h"
#include "platform/profile_file.h"
#include "schema/schema_reader.h"
#include "schema/schema_writer.h"
#include "text/integer_text.h"

namespace quorlin {

namespace {

void LoadDelimited(const std::string& dataPath, FileView& view, const PreviewOptions& options,
                   const ProfileFile* schema, const std::string& section) {
  view.table = LoadPreview(dataPath, options);
  if (!schema) {
    view.fields = DefaultFields(view.table.names);
    return;
  }
  view.fields =
      ReadDelimitedFields(*schema, section, view.layout.textQualifier, view.table.names.size());
  for (std::size_t i = 0; i < view.fields.size(); ++i) view.table.names[i] = view.fields[i].name;
}

// SetViewMode then DrawRuler: line 2 gives the length unless it was given (or saved), and the
// longest scanned line widens it.
void LoadFixed(const std::string& dataPath, FileView& view, long long startRow,
               long long rowsToScan, std::optional<long long> givenLength,
               const ProfileFile* schema, const std::string& section) {
  view.lineLength = givenLength ? *givenLength : SecondLineLength(dataPath);
  view.ruler = ScanRuler(dataPath, startRow, rowsToScan);
  if (view.ruler.longest + 1 > view.lineLength) view.lineLength = view.ruler.longest + 1;
  view.layout.fixedLength = std::to_string(view.lineLength);
  if (!schema) return;
  // The saved widths become breaks; none goes after the last field, so the field count stays
  // one more than the breaks, as the ruler keeps it.
  view.fields = ReadFixedFields(*schema, section, view.layout.textQualifier);
  for (const long long position : BreaksFromWidths(FieldWidths(view.fields))) {
    if (position <= kMaxBreakPosition) view.breaks.Set(static_cast<int>(position), true);
  }
  view.breaks.fieldCount = static_cast<int>(view.fields.size());
}

}  // namespace

SchemaPlace SchemaPlaceFor(const std::string& dataPath) {
  SchemaPlace place;
  const std::string parent = std::filesystem::path(dataPath).parent_path().string();
  place.folder = WithTrailingSlash(parent.empty() ? "." : parent);
  place.schemaPath = SchemaFilePath(place.folder);
  place.section = SectionNameFor(dataPath);
  return place;
}

void RefuseWritingInput(const std::string& dataPath, const SchemaPlace& place) {
  std::error_code error;
  if (std::filesystem::equivalent(dataPath, place.schemaPath, error)) {
    throw CliError(kExitRefused,
                   dataPath + ": the data file is the folder's schema file and is never written");
  }
}

FileView OpenFileView(const std::string& dataPath, const LayoutArguments& arguments) {
  const SchemaPlace place = SchemaPlaceFor(dataPath);
  std::optional<ProfileFile> schema;
  FileView view;
  if (arguments.fromSchema) {
    schema.emplace(place.schemaPath);
    if (!SectionHasFields(*schema, place.section)) {
      throw CliError(kExitStopped, place.schemaPath + ": " + NoFieldsMessage(place.section));
    }
    view.layout = WithSavedLayout(view.layout, ReadSavedLayout(*schema, place.section));
  }
  view.layout = ApplyLayoutArguments(view.layout, arguments);
  view.numberingBase = NumberingBase(arguments);

  // The command line's numbers were checked before, so a number that fails here was saved.
  PreviewOptions options;
  std::optional<long long> givenLength;
  try {
    options = PreviewOptionsFor(view.layout, view.numberingBase);
    if (view.IsFixed() && (arguments.lineLength || arguments.fromSchema)) {
      givenLength = view.layout.fixedLength.Value();
    }
  } catch (const ConversionError& error) {
    throw CliError(kExitStopped, place.schemaPath + " [" + place.section + "]: " + error.what());
  }

  const ProfileFile* saved = schema ? &*schema : nullptr;
  if (view.IsFixed()) {
    LoadFixed(dataPath, view, options.startRow, options.rowsToScan, givenLength, saved,
              place.section);
  } else {
    LoadDelimited(dataPath, view, options, saved, place.section);
  }
  return view;
}

}  // namespace quorlin
