// quorlin-cli preview: what the main window shows after Refresh.
#include <memory>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/plain_table.h"

namespace quorlin {

namespace {

struct PreviewArguments {
  std::string file;
  LayoutArguments layout;
  bool json = false;
};

nlohmann::ordered_json PreviewJson(const OpenFile& file) {
  nlohmann::ordered_json object;
  if (file.IsFixedView()) {
    object["lineLength"] = file.LineLength();
    object["title"] = JsonText(file.Ruler().title);
    object["lines"] = JsonTextArray(file.Ruler().lines);
    return object;
  }
  const PreviewTable& table = file.Preview();
  object["numbers"] = JsonTextArray(table.numbers);
  object["names"] = JsonTextArray(table.names);
  nlohmann::ordered_json rows = nlohmann::ordered_json::array();
  for (const auto& row : table.rows) rows.push_back(JsonTextArray(row));
  object["rows"] = std::move(rows);
  object["fields"] = FieldListJson(file.Fields());
  return object;
}

std::string PreviewText(const OpenFile& file) {
  if (file.IsFixedView()) {
    std::string text = "Line length: " + std::to_string(file.LineLength()) + "\n";
    text += file.Ruler().title + "\n";
    for (const std::string& line : file.Ruler().lines) text += line + "\n";
    return text;
  }
  const PreviewTable& table = file.Preview();
  std::vector<std::vector<std::string>> rows = {table.numbers, table.names};
  rows.insert(rows.end(), table.rows.begin(), table.rows.end());
  return AlignedTable(rows);
}

}  // namespace

Command AddPreviewCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<PreviewArguments>();
  CLI::App* command = app.add_subcommand("preview", "show the file as the preview shows it");
  command->add_option("FILE", arguments->file, "data file")->required();
  AddLayoutOptions(*command, arguments->layout);
  command->add_flag("--json", arguments->json, "print one JSON object");
  return {command, [arguments, &context] {
    CheckLayoutArguments(arguments->layout);
    const OpenFile file = OpenDataFile(arguments->file, arguments->layout);
    if (file.Preview().columnsCut) context.err << arguments->file << ": " << ColumnsCutMessage() << '\n';
    if (arguments->json) {
      context.out << PreviewJson(file).dump() << '\n';
    } else {
      context.out << PreviewText(file);
    }
    return 0;
  }};
}

}  // namespace quorlin
