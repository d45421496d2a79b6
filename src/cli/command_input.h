// The data file a command works on and where its layout is read, once "-" and the layout
// options are resolved: the standard input is kept in a private file (a command reads its
// input more than once), and a layout given with --fields is written into a private
// Schema.INI, so that nothing is ever written into the data file's folder for either.
#pragma once

#include <istream>
#include <memory>
#include <string>

#include "cli/cli_options.h"
#include "cli/scratch_folder.h"

namespace quorlin {

inline constexpr const char* kStandardInputArgument = "-";

class CommandInput {
 public:
  // Sets `arguments.source` for --layout and --fields. Raises CliError (exit 2) for a field
  // list it cannot read and for --layout without --section on the standard input, and
  // FileError when the standard input or the layout file cannot be read.
  CommandInput(const std::string& fileArgument, LayoutArguments& arguments, std::istream& in);

  // The file to open.
  const std::string& Path() const { return path_; }
  bool FromStandardInput() const { return scratch_ != nullptr && fromStandardInput_; }
  // Whether the layout comes from anywhere but the data file's folder.
  bool LayoutGiven() const { return layoutGiven_; }

 private:
  std::unique_ptr<ScratchFolder> scratch_;
  std::string path_;
  bool fromStandardInput_ = false;
  bool layoutGiven_ = false;
};

// The fields of "id Integer, name Char 30, born Date": each a name, a type word of the type
// box (in any letter case, or Unknown to leave it to guess) and, for a text, its width ("Char 30" or "Char WIDTH 30"). Raises
// CliError (exit 2) naming the item it cannot read.
FieldList ParseFieldList(const std::string& text);

}  // namespace quorlin
