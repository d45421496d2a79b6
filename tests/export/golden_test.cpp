// Every text writer's output for a few inputs, compared byte for byte with the files under
// tests/golden/<format>/. Set QUORLIN_REGENERATE_GOLDEN=1 to write them anew, then review.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "export/export_field_builder.h"
#include "export/export_paths.h"
#include "export/export_writers.h"
#include "export/golden_cases.h"
#include "export/sql/sql_writer.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::GoldenCase;
using testing::GoldenFormat;

bool Regenerating() { return std::getenv("QUORLIN_REGENERATE_GOLDEN") != nullptr; }

void Compare(const std::string& expectedPath, const std::string& actual) {
  if (Regenerating()) {
    std::filesystem::create_directories(std::filesystem::path(expectedPath).parent_path());
    testing::WriteBytes(expectedPath, actual);
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(expectedPath)) << expectedPath;
  EXPECT_SAME_BYTES(testing::ReadBytes(expectedPath), actual) << expectedPath;
}

TEST(Golden, EveryTextWriterWritesItsExpectedBytes) {
  for (const GoldenCase& golden : testing::kGoldenCases) {
    for (const GoldenFormat& format : testing::kGoldenFormats) {
      testing::TempDir dir;
      const ExportRequest request = testing::GoldenRequest(golden, format, dir);
      MemoryOutputFiles files;
      const ExportResult result = ExportFile(request, files);
      SCOPED_TRACE(std::string(golden.name) + " as " + format.folder);
      ASSERT_NE(ExportOutcome::Refused, result.outcome);
      Compare(testing::GoldenPath(golden, format), files.Bytes(request.outputPath));
      if (format.format == ExportFormat::SqlSchema) {
        Compare(testing::GoldenLogPath(golden), files.Bytes(BesideOutput(request.outputPath, kSqlLogName)));
      }
    }
  }
}

}  // namespace
}  // namespace quorlin
