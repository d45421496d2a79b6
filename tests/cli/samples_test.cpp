// The bundled samples: every file previews, and the sample Schema.INI is the program's own form.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/cli_run.h"
#include "platform/profile_file.h"
#include "schema/schema_reader.h"
#include "schema/schema_writer.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::CliResult;
using testing::RunArguments;

const std::string kSamples = std::string(QUORLIN_SAMPLES) + "/";

TEST(Samples, EveryDataFilePreviewsAsCommaAndAsFixedLength) {
  for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
    const std::string path = entry.path().string();
    if (entry.path().filename() == "Schema.INI") continue;
    SCOPED_TRACE(path);
    const std::string before = ReadBytes(path);
    EXPECT_EQ(0, RunArguments({"preview", path, "--header"}).exitCode);
    EXPECT_EQ(0, RunArguments({"preview", path, "--sep", "fixed", "--json"}).exitCode);
    EXPECT_SAME_BYTES(before, ReadBytes(path));
  }
}

// Written on Linux: its lines end with line feeds alone, and each is a row of its own.
TEST(Samples, LineFeedSamplePreviewsLineByLine) {
  const std::string path = kSamples + "sensors.csv";
  ASSERT_EQ(std::string::npos, ReadBytes(path).find('\r'));
  const CliResult result = RunArguments({"preview", path, "--header", "--json"});
  ASSERT_EQ(0, result.exitCode) << result.err;
  const nlohmann::json preview = nlohmann::json::parse(result.out);
  EXPECT_EQ(nlohmann::json({"Sensor", "Room", "Reading", "Unit", "Taken"}), preview["names"]);
  ASSERT_EQ(5u, preview["rows"].size());
  EXPECT_EQ(nlohmann::json({"T-02", "Lab 2", "20,5", "C", "2024/03/12 12:00"}), preview["rows"][4]);
}

TEST(Samples, EverySavedLayoutOpensAndWritesBackByteForByte) {
  const std::string schema = kSamples + "Schema.INI";
  const std::string bytes = ReadBytes(schema);
  testing::TempDir copy;
  for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
    std::filesystem::copy_file(entry.path(), copy.File(entry.path().filename().string()));
  }

  ProfileFile saved(copy.File("Schema.INI"));
  for (const std::string& section : saved.ReadSections()) {
    SCOPED_TRACE(section);
    const CliResult shown = RunArguments({"preview", copy.File(section), "--schema", "--json"});
    EXPECT_EQ(0, shown.exitCode) << shown.err;

    // The reader's layout, saved again, gives the section exactly as it stands.
    const SavedLayout read = ReadSavedLayout(saved, section);
    const FileLayout layout = WithSavedLayout(FileLayout{}, read);
    FieldList fields = read.separator == SeparatorKind::Fixed
                           ? ReadFixedFields(saved, section)
                           : ReadDelimitedFields(saved, section, 1024);
    EXPECT_TRUE(SaveToSchema(copy.Path(), section, layout, fields, true, "").written);
  }
  // Each save moved its section to the end; after all of them the order is the original one.
  EXPECT_SAME_BYTES(bytes, ReadBytes(copy.File("Schema.INI")));
}

}  // namespace
}  // namespace quorlin
