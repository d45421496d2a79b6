// quorlin-cli preview: what the main window shows after Refresh.
#include <memory>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/file_view.h"
#include "cli/json_text.h"
#include "cli/plain_table.h"

namespace quorlin {

namespace {

struct PreviewArguments {
  std::string file;
  LayoutArguments layout;
  bool json = false;
};

nlohmann::ordered_json PreviewJson(const FileView& view) {
  nlohmann::ordered_json object;
  if (view.IsFixed()) {
    object["lineLength"] = view.lineLength;
    object["title"] = JsonText(view.ruler.title);
    object["lines"] = JsonTextArray(view.ruler.lines);
    return object;
  }
  object["numbers"] = JsonTextArray(view.table.numbers);
  object["names"] = JsonTextArray(view.table.names);
  nlohmann::ordered_json rows = nlohmann::ordered_json::array();
  for (const auto& row : view.table.rows) rows.push_back(JsonTextArray(row));
  object["rows"] = std::move(rows);
  object["fields"] = FieldListJson(view.fields);
  return object;
}

std::string PreviewText(const FileView& view) {
  if (view.IsFixed()) {
    std::string text = "Line length: " + std::to_string(view.lineLength) + "\n";
    text += view.ruler.title + "\n";
    for (const std::string& line : view.ruler.lines) text += line + "\n";
    return text;
  }
  std::vector<std::vector<std::string>> rows = {view.table.numbers, view.table.names};
  rows.insert(rows.end(), view.table.rows.begin(), view.table.rows.end());
  return AlignedTable(rows);
}

}  // namespace

Command AddPreviewCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<PreviewArguments>();
  CLI::App* command = app.add_subcommand("preview", "show the file as the preview shows it");
  command->add_option("FILE", arguments->file, "data file")->required();
  AddLayoutOptions(*command, arguments->layout);
  command->add_flag("--json", arguments->json, "print one JSON object");
  return {command, [arguments] { return arguments->file; }, [arguments, &context] {
    CheckLayoutArguments(arguments->layout);
    const FileView view = OpenFileView(arguments->file, arguments->layout);
    PrintCutMessages(arguments->file, view, context.err);
    if (arguments->json) {
      context.out << PreviewJson(view).dump() << '\n';
    } else {
      context.out << PreviewText(view);
    }
    return 0;
  }};
}

}  // namespace quorlin
