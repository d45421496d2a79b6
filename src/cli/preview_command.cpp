// quorlin-cli preview: what the main window shows after Refresh.
#include <memory>

#include "cli/cli_options.h"
#include "cli/command_input.h"
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

// The preview as one JSON object, written piece by piece: a tree of a large preview would
// take several times the memory of the preview itself.
// What the preview left out is part of the object ("cut", one message each, empty when
// nothing was), so that a program reading it never takes a cut preview for the whole file.
void WritePreviewJson(std::ostream& out, const OpenFile& file) {
  if (file.IsFixedView()) {
    out << "{\"lineLength\":" << file.LineLength() << ",\"title\":";
    const RulerScan& ruler = file.Ruler();
    WriteJsonString(out, ShownLine(ruler, ruler.title));
    out << ",\"lines\":";
    std::vector<std::string> lines;
    for (const std::string& line : ruler.lines) lines.push_back(ShownLine(ruler, line));
    WriteJsonTexts(out, lines);
    out << ",\"cut\":";
    WriteJsonTexts(out, file.CutMessages());
    out << "}\n";
    return;
  }
  const PreviewTable& table = file.Preview();
  out << "{\"numbers\":";
  WriteJsonTexts(out, table.numbers);
  out << ",\"names\":";
  WriteJsonTexts(out, table.names);
  out << ",\"rows\":[";
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    if (i > 0) out << ',';
    WriteJsonTexts(out, table.rows[i]);
  }
  out << "],\"fields\":[";
  for (std::size_t i = 0; i < file.Fields().size(); ++i) {
    if (i > 0) out << ',';
    WriteFieldJson(out, file.Fields()[i]);
  }
  out << "],\"cut\":";
  WriteJsonTexts(out, file.CutMessages());
  out << "}\n";
}

void WritePreviewText(std::ostream& out, const OpenFile& file) {
  if (file.IsFixedView()) {
    const RulerScan& ruler = file.Ruler();
    out << "Line length: " << file.LineLength() << '\n' << ShownLine(ruler, ruler.title) << '\n';
    for (const std::string& line : ruler.lines) out << ShownLine(ruler, line) << '\n';
    return;
  }
  const PreviewTable& table = file.Preview();
  std::vector<const std::vector<std::string>*> rows = {&table.numbers, &table.names};
  for (const auto& row : table.rows) rows.push_back(&row);
  WriteAlignedTable(out, rows);
}

}  // namespace

Command AddPreviewCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<PreviewArguments>();
  CLI::App* command = app.add_subcommand("preview", "show the file as the preview shows it");
  command->add_option("FILE", arguments->file, "the data file, - for the standard input")->required()->type_name("FILE");
  AddLayoutOptions(*command, arguments->layout);
  AddLayoutSourceOptions(*command, arguments->layout);
  command->add_flag("--json", arguments->json, "print one JSON object");
  return {command, [arguments] { return arguments->file; }, [arguments, &context] {
    CheckLayoutArguments(arguments->layout);
    const CommandInput input(arguments->file, arguments->layout, context.in);
    const OpenFile file = OpenDataFile(input.Path(), arguments->layout);
    PrintCutMessages(arguments->file, file, context.err);
    if (arguments->json) {
      WritePreviewJson(context.out, file);
    } else {
      WritePreviewText(context.out, file);
    }
    return 0;
  }};
}

}  // namespace quorlin
