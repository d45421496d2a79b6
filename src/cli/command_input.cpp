#include "cli/command_input.h"

#include <filesystem>
#include <sstream>

#include "cli/cli_error.h"
#include "platform/ascii_case.h"
#include "platform/file_error.h"
#include "platform/trim.h"
#include "schema/schema_writer.h"
#include "text/integer_text.h"

namespace quorlin {

namespace {

// The name the standard input is kept under; its section, when a layout is written for it.
constexpr const char* kSpooledName = "standard-input";
constexpr const char* kFieldsLayoutName = "Schema.INI";

std::string TypeWords() {
  std::string words;
  for (const std::string_view word : kFieldTypeNames) words += (words.empty() ? "" : ", ") + std::string(word);
  return words;
}

}  // namespace

FieldList ParseFieldList(const std::string& text) {
  FieldList fields;
  std::istringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    std::istringstream words{std::string(Trim(item))};
    std::vector<std::string> tokens;
    for (std::string word; words >> word;) tokens.push_back(word);
    if (tokens.empty()) throw CliError(kExitRefused, "--fields: an empty item in \"" + text + "\"");
    if (tokens.size() < 2) {
      throw CliError(kExitRefused, "--fields: \"" + tokens[0] + "\" has no type (" + TypeWords() + ")");
    }
    FieldSpec field;
    field.name = tokens[0];
    // "Unknown" leaves the type to guess.
    bool known = EqualNoCase(tokens[1], kUnknownType);
    if (known) field.typeName = std::string(kUnknownType);
    for (const std::string_view word : kFieldTypeNames) {
      if (EqualNoCase(tokens[1], word)) {
        field.typeName = std::string(word);
        known = true;
      }
    }
    if (!known) {
      throw CliError(kExitRefused, "--fields: \"" + tokens[1] + "\" of " + tokens[0] + " is not one of " + TypeWords());
    }
    std::size_t next = 2;
    if (next < tokens.size() && EqualNoCase(tokens[next], "WIDTH")) ++next;
    if (next < tokens.size()) {
      try {
        if (ToInteger(tokens[next]) < 0) throw ConversionError("a width is not negative");
      } catch (const ConversionError&) {
        throw CliError(kExitRefused, "--fields: the width \"" + tokens[next] + "\" of " + tokens[0] +
                                         " is not a whole number");
      }
      field.width = tokens[next];
      ++next;
    }
    if (next != tokens.size()) {
      throw CliError(kExitRefused, "--fields: \"" + std::string(Trim(item)) +
                                       "\" is not: name, type, width");
    }
    fields.push_back(std::move(field));
  }
  if (fields.empty()) throw CliError(kExitRefused, "--fields: no fields");
  return fields;
}

CommandInput::CommandInput(const std::string& fileArgument, LayoutArguments& arguments, std::istream& in)
    : path_(fileArgument) {
  const bool standardInput = fileArgument == kStandardInputArgument;
  if (standardInput || arguments.fields) scratch_ = std::make_unique<ScratchFolder>();
  if (standardInput) {
    path_ = scratch_->Spool(in, kSpooledName, "the standard input");
    fromStandardInput_ = true;
  }
  if (arguments.layoutFile) {
    if (!arguments.section && standardInput) {
      throw CliError(kExitRefused, "--layout: name the section to read with --section, as the standard input has no name");
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(*arguments.layoutFile, error)) {
      throw FileError("File not found: " + *arguments.layoutFile);
    }
    // No folder: the section is read from the named file itself.
    arguments.source = SavedSection{"", *arguments.layoutFile, arguments.section.value_or(SectionNameFor(path_))};
    layoutGiven_ = true;
  }
  if (arguments.fields) {
    const FieldList fields = ParseFieldList(*arguments.fields);
    ProfileFile schema(scratch_->File(kFieldsLayoutName), Unreadable::Raises);
    const std::string section = SectionNameFor(path_);
    if (!SchemaFileWriter(schema, section, ApplyLayoutArguments(FileLayout{}, arguments), fields, false)) {
      throw FileError("Unable to write to " + schema.Path());
    }
    arguments.source = SavedSection{"", schema.Path(), section};
    layoutGiven_ = true;
  }
}

}  // namespace quorlin
