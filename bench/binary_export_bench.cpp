// dBase, Paradox and workbook export throughput on generated files, each beside a peer program's time on the same file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "export/export_writers.h"

namespace {

using quorlin::ExportField;
using quorlin::ExportFieldType;

// A fixed generator, so every run measures the same bytes.
class Numbers {
 public:
  std::uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }

 private:
  std::uint64_t state_ = 7;
};

// Eight fields: id, name, amount, date, flag, street, number, note.
std::string Record(Numbers& numbers, long long id) {
  std::string record = std::to_string(id);
  record += ",Customer " + std::to_string(numbers.Next() % 100000);
  record += "," + std::to_string(numbers.Next() % 1000000) + "." + std::to_string(numbers.Next() % 100);
  record += ",0" + std::to_string(1 + numbers.Next() % 9) + "/1" + std::to_string(numbers.Next() % 10) + "/2024";
  record += numbers.Next() % 2 ? ",True" : ",False";
  record += ",Street " + std::to_string(numbers.Next() % 500);
  record += "," + std::to_string(numbers.Next() % 100000);
  record += ",Note " + std::to_string(numbers.Next() % 50);
  return record;
}

quorlin::ExportFields Fields() {
  auto field = [](std::string name, ExportFieldType type, int length) {
    ExportField f;
    f.name = std::move(name);
    f.typeCode = type;
    f.length = length;
    f.decimals = type == ExportFieldType::Float ? 2 : 0;
    return f;
  };
  return {field("Id", ExportFieldType::Long, 19),       field("Name", ExportFieldType::Char, 20),
          field("Amount", ExportFieldType::Float, 19),  field("Day", ExportFieldType::Date, 8),
          field("Flag", ExportFieldType::Bit, 1),       field("Street", ExportFieldType::Char, 20),
          field("Number", ExportFieldType::Integer, 9), field("Note", ExportFieldType::Char, 10)};
}

struct Scratch {
  std::string folder;
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
    folder = pattern + "/";
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

const Scratch& Folder() {
  static const Scratch scratch;
  return scratch;
}

// A CSV with a header line and `rows` records, made once per size.
std::string GeneratedCsv(long long rows) {
  const std::string path = Folder().folder + "in" + std::to_string(rows) + ".csv";
  if (std::filesystem::exists(path)) return path;
  Numbers numbers;
  std::string bytes = "Id,Name,Amount,Day,Flag,Street,Number,Note\r\n";
  for (long long id = 1; id <= rows; ++id) bytes += Record(numbers, id) + "\r\n";
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

quorlin::ExportRequest Request(quorlin::ExportFormat format, const std::string& input,
                               const std::string& output) {
  quorlin::ExportRequest request;
  request.format = format;
  request.inputPath = input;
  request.outputPath = output;
  request.inputSeparator = ",";
  request.inputQualifier = "\"";
  request.fields = Fields();
  request.hasHeaderRow = true;
  request.recordLength = static_cast<std::int32_t>(quorlin::TotalWidth(request.fields) + 1);
  request.now = quorlin::CurrentDateTime();
  return request;
}

// Seconds a shell command takes, or -1 when it fails.
double SecondsOf(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Runs the export in every iteration, then the peer once on the same input, and reports the
// peer's time over ours.
void RunExportBeside(benchmark::State& state, quorlin::ExportFormat format, const std::string& input,
                     const std::string& output, const std::string& peerCommand) {
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(input));
  const quorlin::ExportRequest request = Request(format, input, output);
  double ours = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const quorlin::ExportResult result = quorlin::ExportFile(request);
    ours += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.Exported()) state.SkipWithError("the export failed");
  }
  ours /= static_cast<double>(state.iterations());
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["input_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["peak_RSS_MB"] = PeakMegabytes();
  const double peer = SecondsOf(peerCommand);
  state.counters["peer_s"] = peer;
  state.counters["peer_over_ours"] = peer > 0 ? peer / ours : 0;
}

void BM_XBaseExportBesideOgr2ogr(benchmark::State& state) {
  const std::string input = GeneratedCsv(state.range(0));
  const std::string& folder = Folder().folder;
  RunExportBeside(state, quorlin::ExportFormat::XBase, input, folder + "out.dbf",
                  "rm -rf " + folder + "ogr && ogr2ogr -f 'ESRI Shapefile' " + folder + "ogr " + input);
}
BENCHMARK(BM_XBaseExportBesideOgr2ogr)->Arg(400000)->Unit(benchmark::kMillisecond)->UseRealTime();

// No other program here writes Paradox tables; ogr2ogr's dBase file is the nearest peer.
void BM_ParadoxExportBesideOgr2ogr(benchmark::State& state) {
  const std::string input = GeneratedCsv(state.range(0));
  const std::string& folder = Folder().folder;
  RunExportBeside(state, quorlin::ExportFormat::Paradox, input, folder + "out.db",
                  "rm -rf " + folder + "ogr && ogr2ogr -f 'ESRI Shapefile' " + folder + "ogr " + input);
}
BENCHMARK(BM_ParadoxExportBesideOgr2ogr)->Arg(400000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExcelExportBesideSsconvert(benchmark::State& state) {
  const std::string input = GeneratedCsv(state.range(0));
  const std::string& folder = Folder().folder;
  RunExportBeside(state, quorlin::ExportFormat::Excel, input, folder + "out.xls",
                  "ssconvert --export-type=Gnumeric_Excel:excel_biff8 " + input + " " + folder + "peer.xls");
}
BENCHMARK(BM_ExcelExportBesideSsconvert)->Arg(60000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
