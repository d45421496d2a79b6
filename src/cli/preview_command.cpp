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

// The preview as one JSON object, written piece by piece: a tree of a large preview would
// take several times the memory of the preview itself.
void WritePreviewJson(std::ostream& out, const FileView& view) {
  if (view.IsFixed()) {
    out << "{\"lineLength\":" << view.lineLength << ",\"title\":";
    WriteJsonString(out, view.ruler.title);
    out << ",\"lines\":";
    WriteJsonTexts(out, view.ruler.lines);
    out << "}\n";
    return;
  }
  out << "{\"numbers\":";
  WriteJsonTexts(out, view.table.numbers);
  out << ",\"names\":";
  WriteJsonTexts(out, view.table.names);
  out << ",\"rows\":[";
  for (std::size_t i = 0; i < view.table.rows.size(); ++i) {
    if (i > 0) out << ',';
    WriteJsonTexts(out, view.table.rows[i]);
  }
  out << "],\"fields\":[";
  for (std::size_t i = 0; i < view.fields.size(); ++i) {
    if (i > 0) out << ',';
    WriteFieldJson(out, view.fields[i]);
  }
  out << "]}\n";
}

void WritePreviewText(std::ostream& out, const FileView& view) {
  if (view.IsFixed()) {
    out << "Line length: " << view.lineLength << '\n' << view.ruler.title << '\n';
    for (const std::string& line : view.ruler.lines) out << line << '\n';
    return;
  }
  std::vector<const std::vector<std::string>*> rows = {&view.table.numbers, &view.table.names};
  for (const auto& row : view.table.rows) rows.push_back(&row);
  WriteAlignedTable(out, rows);
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
      WritePreviewJson(context.out, view);
    } else {
      WritePreviewText(context.out, view);
    }
    return 0;
  }};
}

}  // namespace quorlin
