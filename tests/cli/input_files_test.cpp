// Input files as users bring them: Linux line ends, byte order marks, wide text, named pipes.
#include <sys/stat.h>

#include <filesystem>

#include "cli_run.h"

namespace quorlin::testing {
namespace {

const std::string kCrLf = "id,name\r\n1,Ann\r\n2,Bob\r\n";

struct Variant {
  const char* name;
  std::string bytes;
};

void PrintTo(const Variant& variant, std::ostream* out) { *out << variant.name; }

class SameAsCrLf : public ::testing::TestWithParam<Variant> {
 protected:
  // What the command gives for `bytes` saved as data.csv in a folder of its own, with the
  // folder's Schema.INI afterwards.
  static std::string Outcome(const std::string& bytes, std::vector<std::string> arguments) {
    TempDir dir;
    WriteBytes(dir.File("data.csv"), bytes);
    arguments.insert(arguments.begin() + 1, dir.File("data.csv"));
    const CliResult result = RunArguments(arguments);
    const std::string schema =
        std::filesystem::exists(dir.File("Schema.INI")) ? ReadBytes(dir.File("Schema.INI")) : "";
    return std::to_string(result.exitCode) + "\n" + result.out + schema;
  }
};

// A mark in front and line feeds for line ends change nothing: names, values, the saved
// section and the ruler are those of the CR LF file.
TEST_P(SameAsCrLf, PreviewSavedSectionAndRuler) {
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"preview", "--header", "--json"},
        std::vector<std::string>{"guess", "--header", "--save"},
        std::vector<std::string>{"preview", "--sep", "fixed", "--header", "--json"}}) {
    SCOPED_TRACE(command[0] + " " + command[1]);
    EXPECT_EQ(Outcome(kCrLf, command), Outcome(GetParam().bytes, command));
  }
}

INSTANTIATE_TEST_SUITE_P(Files, SameAsCrLf,
                         ::testing::Values(Variant{"Utf8Mark", "\xEF\xBB\xBF" + kCrLf},
                                           Variant{"LineFeeds", "id,name\n1,Ann\n2,Bob\n"},
                                           Variant{"Utf8MarkAndLineFeeds", "\xEF\xBB\xBFid,name\n1,Ann\n2,Bob"}),
                         [](const auto& info) { return std::string(info.param.name); });

class InputFile : public CliFileTest {};

TEST_F(InputFile, Utf16IsRefusedWithHowToSaveItAndNothingIsSaved) {
  UseData("wide.csv", std::string("\xFF\xFEi\0d\0\r\0\n\0", 10));
  const std::string refusal = Said(Data() +
                                   " is UTF-16 text, which cannot be read: save it as UTF-8 (a spreadsheet's "
                                   "\"CSV UTF-8\", or iconv -f UTF-16 -t UTF-8) and open that copy");
  const CliResult preview = Run({"preview", Data()});
  EXPECT_EQ(3, preview.exitCode);
  EXPECT_EQ(refusal, preview.err);
  const CliResult save = Run({"guess", Data(), "--save"});
  EXPECT_EQ(3, save.exitCode);
  EXPECT_EQ(refusal, save.err);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("Schema.INI")));
}

TEST_F(InputFile, NamedPipeIsRefusedInsteadOfWaitedFor) {
  ASSERT_EQ(0, mkfifo(dir_.File("pipe.csv").c_str(), 0600));
  const CliResult result = RunArguments({"preview", dir_.File("pipe.csv")});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ(Said(dir_.File("pipe.csv") + " is a named pipe, not a file"), result.err);
}

}  // namespace
}  // namespace quorlin::testing
