// Throughput of the line reader, the record splitter and the preview on large generated files.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "text/preview_loader.h"
#include "text/record_reader.h"
#include "text/record_splitter.h"
#include "text/text_line_reader.h"

namespace {

// A fixed linear congruential generator, so every run measures the same bytes.
class Numbers {
 public:
  std::uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }

 private:
  std::uint64_t state_ = 42;
};

std::string CsvRecord(Numbers& numbers, long long id) {
  std::string record = std::to_string(id);
  record += ",\"Customer " + std::to_string(numbers.Next() % 100000) + "\"";
  record += "," + std::to_string(numbers.Next() % 1000000) + "." + std::to_string(numbers.Next() % 100);
  record += ",2024/0" + std::to_string(1 + numbers.Next() % 9) + "/1" + std::to_string(numbers.Next() % 10);
  record += numbers.Next() % 2 ? ",True" : ",False";
  record += ",\"Street " + std::to_string(numbers.Next() % 500) + ", Town\"";
  record += "," + std::to_string(numbers.Next());
  record += ",Note";
  return record;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

// Generated once per process in a private folder and removed at exit: the same records with
// CR LF and with line-feed line ends.
struct FiftyMegabyteFiles {
  std::string folder;
  std::string crLf;
  std::string lineFeed;
};

const FiftyMegabyteFiles& FiftyMegabyteCsv() {
  static const struct Scratch : FiftyMegabyteFiles {
    Scratch() {
      std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-bench-XXXXXX").string();
      if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
      folder = pattern;
      crLf = folder + "/fifty.csv";
      lineFeed = folder + "/fifty-lf.csv";
      Numbers numbers;
      std::string withCrLf;
      std::string withLineFeed;
      for (long long id = 1; withCrLf.size() < (50u << 20); ++id) {
        const std::string record = CsvRecord(numbers, id);
        withCrLf += record + "\r\n";
        withLineFeed += record + "\n";
      }
      WriteFile(crLf, withCrLf);
      WriteFile(lineFeed, withLineFeed);
    }
    ~Scratch() {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    }
  } scratch;
  return scratch;
}

// About 130 MB of short lines, too slow to rebuild every run: kept in /tmp and reused. It is
// written under another name first, so a file found under the final name is always complete.
const std::string& TenMillionLineCsv() {
  static const std::string path = [] {
    const std::string file = "/tmp/quorlin-bench-10m-lines.csv";
    if (std::filesystem::exists(file)) return file;
    const std::string partial = file + ".partial-" + std::to_string(getpid());
    std::string bytes = "Id,Value\r\n";
    Numbers numbers;
    for (long long id = 1; id <= 10'000'000; ++id) {
      bytes += std::to_string(id) + "," + std::to_string(numbers.Next() % 1000) + "\r\n";
    }
    WriteFile(partial, bytes);
    std::filesystem::rename(partial, file);
    return file;
  }();
  return path;
}

void ReadAllLines(benchmark::State& state, const std::string& path) {
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  std::string line;
  for (auto _ : state) {
    quorlin::TextLineReader reader(path);
    long long lines = 0;
    while (reader.ReadTextLine(line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_ReadTextLine(benchmark::State& state) { ReadAllLines(state, FiftyMegabyteCsv().crLf); }
BENCHMARK(BM_ReadTextLine)->Unit(benchmark::kMillisecond);

void BM_ReadTextLineOfLineFeedFile(benchmark::State& state) {
  ReadAllLines(state, FiftyMegabyteCsv().lineFeed);
}
BENCHMARK(BM_ReadTextLineOfLineFeedFile)->Unit(benchmark::kMillisecond);

// The records of the same file, which joins lines only where a quoted value holds line
// breaks: beside BM_ReadTextLine it shows what looking for open quoted values costs.
void BM_ReadRecord(benchmark::State& state) {
  const std::string& path = FiftyMegabyteCsv().crLf;
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  std::string_view record;
  for (auto _ : state) {
    quorlin::TextRecordReader reader(path, ",", "\"");
    long long records = 0;
    while (reader.ReadRecord(record)) ++records;
    benchmark::DoNotOptimize(records);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_ReadRecord)->Unit(benchmark::kMillisecond);

void BM_SplitTypicalRecords(benchmark::State& state) {
  Numbers numbers;
  std::vector<std::string> records;
  std::int64_t bytes = 0;
  for (int i = 0; i < 1000; ++i) {
    records.push_back(CsvRecord(numbers, i));
    bytes += static_cast<std::int64_t>(records.back().size());
  }
  std::vector<std::string> fields;
  for (auto _ : state) {
    for (const std::string& record : records) {
      quorlin::SplitRecord(record, ",", "\"", fields);
      benchmark::DoNotOptimize(fields.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(records.size()));
}
BENCHMARK(BM_SplitTypicalRecords);

void BM_SplitOneMegabyteRecord(benchmark::State& state) {
  std::string record;
  for (int i = 0; record.size() < (1 << 20); ++i) {
    record += i % 3 == 0 ? "\"q, " + std::to_string(i) + "\"," : std::to_string(i) + ",";
  }
  std::vector<std::string> fields;
  for (auto _ : state) {
    quorlin::SplitRecord(record, ",", "\"", fields);
    benchmark::DoNotOptimize(fields.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(record.size()));
  state.counters["fields"] = static_cast<double>(fields.size());
}
BENCHMARK(BM_SplitOneMegabyteRecord)->Unit(benchmark::kMillisecond);

void BM_LoadPreviewOfTenMillionLines(benchmark::State& state) {
  const std::string& path = TenMillionLineCsv();
  quorlin::PreviewOptions options;
  options.separator = ",";
  options.hasHeaderRow = true;
  for (auto _ : state) {
    const quorlin::PreviewTable table = quorlin::LoadPreview(path, options);
    benchmark::DoNotOptimize(table.rows.data());
  }
  // What the preview really reads: one buffer for line 1 and one more after going back to the
  // start; the rest of the file is never touched.
  state.SetBytesProcessed(state.iterations() * 2 *
                          static_cast<std::int64_t>(quorlin::TextLineReader::kDefaultBufferSize));
}
BENCHMARK(BM_LoadPreviewOfTenMillionLines)->Unit(benchmark::kMicrosecond);

}  // namespace
