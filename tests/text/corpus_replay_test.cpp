// Every input kept in the splitter corpus goes through the reader and the splitter again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"
#include "text/preview_loader.h"
#include "text/record_splitter.h"
#include "text/text_line_reader.h"

namespace quorlin {
namespace {

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(QUORLIN_TEST_DATA) + "/corpus/splitter")) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

const char* const kSeparators[] = {",", "\t", " ", "", "'", "\""};
const char* const kQualifiers[] = {"\"", "'", "{none}", "", ","};

void ExpectSplitsSafely(const std::string& record) {
  std::vector<std::string> fields;
  for (const char* separator : kSeparators) {
    for (const char* qualifier : kQualifiers) {
      SplitRecord(record, separator, qualifier, fields);
      ASSERT_FALSE(fields.empty()) << "separator '" << separator << "' qualifier '" << qualifier << "'";
      std::size_t total = 0;
      for (const std::string& field : fields) total += field.size();
      EXPECT_LE(total, record.size());
    }
  }
}

TEST(SplitterCorpus, HoldsInputs) { EXPECT_GE(CorpusFiles().size(), 5u); }

TEST(SplitterCorpus, EveryFileReadsAndSplits) {
  for (const std::string& path : CorpusFiles()) {
    SCOPED_TRACE(path);
    const std::string bytes = testing::ReadBytes(path);
    ExpectSplitsSafely(bytes);

    for (const std::size_t bufferSize : {std::size_t{1}, std::size_t{3}, TextLineReader::kDefaultBufferSize}) {
      TextLineReader reader(path, bufferSize);
      std::string line;
      std::size_t lineBytes = 0;
      while (reader.ReadTextLine(line)) {
        lineBytes += line.size();
        EXPECT_EQ(std::string::npos, line.find('\r'));
        EXPECT_EQ(std::string::npos, line.find('\x1a'));
        ExpectSplitsSafely(line);
      }
      EXPECT_LE(lineBytes, bytes.size());
    }

    PreviewOptions options;
    options.separator = ",";
    const PreviewTable table = LoadPreview(path, options);
    for (const auto& row : table.rows) EXPECT_EQ(table.names.size(), row.size());
  }
}

}  // namespace
}  // namespace quorlin
