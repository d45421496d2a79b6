// quorlin-cli schema list|show|delete: the folder's Schema.INI as the schema list handles it.
#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>

#include "cli/cli_error.h"
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "export/engines/engine_statement.h"
#include "export/export_field_builder.h"
#include "export/export_paths.h"
#include "platform/atomic_file.h"
#include "platform/file_error.h"
#include "platform/ini_lines.h"
#include "platform/profile_file.h"
#include "schema/saved_section.h"
#include "schema/schema_list.h"
#include "schema/schema_reader.h"
#include "text/preview_loader.h"
#include "text/text_line_reader.h"

namespace quorlin {

namespace {

struct SchemaArguments {
  std::string folder;
  std::string file;
  bool json = false;
  std::string engine;
};

CliError NoSection(const SavedSection& place) {
  return CliError(kExitStopped, place.schemaPath + ": " + NoFieldsMessage(place.section));
}

// The section's header and key lines exactly as stored; the first section of the name counts,
// as it does for every read.
std::string StoredSection(const SavedSection& place) {
  const std::optional<std::string> stored = ReadExistingFile(SavedSectionFile(place).Path());
  if (!stored) throw NoSection(place);
  const std::string& text = *stored;
  std::string shown;
  bool inside = false;
  bool found = false;
  for (std::size_t at = 0; at < text.size();) {
    const ini::Line line = ini::LineAt(text, at);
    at = line.next;
    if (line.kind == ini::LineKind::Section) {
      if (found) break;
      inside = found = ini::SameName(line.name, place.section);
    }
    if (inside && line.kind != ini::LineKind::Other) {
      shown.append(text, line.begin, line.end - line.begin);
      shown += '\n';
    }
  }
  if (!found) throw NoSection(place);
  return shown;
}

// The layout as the schema reader reads it: a delimited section's entries are read only as far
// as the file's preview has columns.
nlohmann::ordered_json ReadLayoutJson(const std::string& dataPath, const SavedSection& place) {
  const ProfileFile schema = SavedSectionFile(place);
  if (!SectionHasFields(schema, place.section)) throw NoSection(place);
  const SavedLayout saved = ReadSavedLayout(schema, place.section);
  const FileLayout defaults;
  FieldList fields;
  if (saved.separator == SeparatorKind::Fixed) {
    fields = ReadFixedFields(schema, place.section);
  } else {
    FileLayout layout;
    layout.separator = saved.separator;
    layout.customSeparator = saved.customSeparator;
    layout.hasHeaderRow = saved.hasHeaderRow;
    layout.rowsToScan = "1";
    layout.characterSet = saved.characterSet;
    const PreviewTable table = LoadPreview(dataPath, PreviewOptionsFor(layout, 1));
    fields = ReadDelimitedFields(schema, place.section, table.names.size());
  }
  nlohmann::ordered_json object;
  object["separator"] = SeparatorName(saved.separator);
  object["customChar"] = JsonText(saved.customSeparator);
  object["header"] = saved.hasHeaderRow;
  object["lineLength"] = JsonWholeNumber(saved.fixedLength);
  object["rowsToScan"] = JsonWholeNumber(saved.rowsToScan);
  // Only a section that names them has them, as only such a section holds the keys.
  if (!saved.conventions.dateOrder.empty()) object["dateFormat"] = saved.conventions.dateOrder;
  if (!saved.conventions.decimalSymbol.empty()) object["decimal"] = saved.conventions.decimalSymbol;
  object["characterSet"] = saved.characterSet.Name();
  object["fields"] = FieldListJson(fields);
  return object;
}

// A name an engine takes without quoting: letters, digits and "_", not starting with a digit.
std::string TableNameOf(const std::string& dataPath) {
  std::string name = std::filesystem::path(dataPath).stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front()))) name.insert(0, "t_");
  return name;
}

// The statement that reads the raw file with its saved layout on `engine`: the fields as an
// export to a typed format reads them, the date pattern and decimal symbol of the section
// (else of the locale the export reads with) and its character set.
std::string EngineStatementFor(const std::string& dataPath, const SavedSection& place, Engine engine,
                               const LocaleSettings& locale) {
  const ProfileFile schema = SavedSectionFile(place);
  if (!SectionHasFields(schema, place.section)) throw NoSection(place);
  const OpenFile file = OpenFromSchemaList(dataPath, LayoutArguments{});
  const FileLayout& layout = file.Layout();
  StatementSource source;
  source.dataPath = AbsoluteFilePath(dataPath);
  source.tableName = TableNameOf(dataPath);
  source.fixedInput = layout.separator == SeparatorKind::Fixed;
  source.fields = BuildExportFields(dataPath, source.fixedInput, ExportFormat::Parquet);
  source.separator = SeparatorText(layout);
  source.qualifier = source.fixedInput ? "" : layout.textQualifier;
  source.hasHeaderRow = layout.hasHeaderRow;
  // The engines compare the line as text of the file's set, so it is read decoded.
  if (source.hasHeaderRow) {
    TextLineReader(source.dataPath, layout.characterSet,
                   source.fixedInput ? RecordForm::FixedLength : RecordForm::Delimited)
        .ReadTextLine(source.headerLine);
  }
  const LocaleSettings fileLocale = WithConventions(locale, ReadSavedLayout(schema, place.section).conventions);
  source.dateFormat = fileLocale.shortDateFormat;
  source.decimalSymbol = fileLocale.decimalSeparator;
  source.characterSet = schema.ReadString(place.section, "CharacterSet", "");
  return EngineStatement(engine, source);
}

int DeleteSection(const std::string& dataPath, std::ostream& out) {
  const SavedSection place = SavedSectionOf(dataPath);
  const DeleteOutcome outcome = DeleteSchemaSection(place.folder, place.section, dataPath);
  if (outcome.refused) throw CliError(kExitRefused, outcome.message);
  if (!outcome.removed) throw CliError(kExitReportedFailure, outcome.message);
  PrintMessage(out, outcome.message);
  return kExitDone;
}

}  // namespace

Command AddSchemaCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<SchemaArguments>();
  CLI::App* schema = app.add_subcommand("schema", "the layouts saved in a folder's Schema.INI");
  schema->require_subcommand(1);

  CLI::App* list = schema->add_subcommand("list", "print the section names of a folder");
  list->add_option("FOLDER", arguments->folder, "folder")->required();
  CLI::App* show = schema->add_subcommand("show", "print the file's saved section");
  show->add_option("FILE", arguments->file, "data file")->required();
  show->add_flag("--json", arguments->json, "print the layout as read back");
  show->add_option("--as", arguments->engine,
                   "print a statement that reads the file with its layout on duckdb, spark or trino")
      ->check(WithoutDescription(CLI::IsMember({"duckdb", "spark", "trino"})))
      ->type_name("duckdb|spark|trino");
  CLI::App* erase = schema->add_subcommand("delete", "remove the file's saved section");
  erase->add_option("FILE", arguments->file, "data file")->required();

  const auto subject = [arguments, list] { return *list ? arguments->folder : arguments->file; };
  return {schema, subject, [arguments, &context, list, show] {
    if (*list) {
      std::error_code error;
      if (!std::filesystem::is_directory(arguments->folder, error)) {
        throw CliError(kExitStopped, arguments->folder + ": folder not found");
      }
      for (const std::string& section : ListSchemaSections(arguments->folder)) {
        context.out << section << '\n';
      }
      return kExitDone;
    }
    if (*show) {
      const SavedSection place = SavedSectionOf(arguments->file);
      if (!arguments->engine.empty()) {
        context.out << EngineStatementFor(arguments->file, place, *EngineFromWord(arguments->engine),
                                          context.locale);
      } else if (arguments->json) {
        context.out << ReadLayoutJson(arguments->file, place).dump() << '\n';
      } else {
        context.out << StoredSection(place);
      }
      return kExitDone;
    }
    return DeleteSection(arguments->file, context.err);
  }};
}

}  // namespace quorlin
