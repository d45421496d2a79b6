// Export throughput and peak memory of every text format on a 200 MB CSV, with Miller as the
// peer measured in the same run; of Parquet with DuckDB's own CSV to Parquet copy as its peer;
// and of the xlsx workbook against openpyxl's write-only mode and our Excel 97 writer, per
// record, on the first records of the same file.
//   quorlin_export_bench [ROWS [parquet|workbooks]]   (default 2000000 rows, about 200 MB; Parquet
//   or the workbooks alone)
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "export/export_field_builder.h"
#include "export/export_writers.h"

namespace {

namespace fs = std::filesystem;

const std::string kFolder = "/tmp/quorlin-export-bench/";

// Outputs go to memory when there is a tmpfs, so that the disk's speed is not measured.
const std::string kOutputFolder =
    fs::is_directory("/dev/shm") ? "/dev/shm/quorlin-export-bench/" : kFolder + "out/";

struct Run {
  double seconds = 0;
  double cpuSeconds = 0;  // user and system time: what the work costs on a busy machine too
  long peakKilobytes = 0;
  bool ok = false;
};

// Runs `work` in a child process, so that its peak memory is its own.
template <typename Work>
Run Measure(Work work) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) _exit(work() ? 0 : 1);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  Run run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakKilobytes = usage.ru_maxrss;
  const auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

// The generated file is slow to make and the same for the same row count: kept between runs.
std::string GeneratedCsv(long rows) {
  const std::string path = kFolder + "data" + std::to_string(rows) + ".csv";
  if (fs::exists(path)) return path;
  const std::string partial = path + ".partial";
  const std::string command = std::string("/usr/bin/python3 ") + QUORLIN_GEN_CSV + " " +
                              std::to_string(rows) + " " + partial;
  std::printf("generating %s ...\n", path.c_str());
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "cannot run %s\n", command.c_str());
    std::exit(2);
  }
  fs::rename(partial, path);
  return path;
}

// The same section for each file, in the folder's one Schema.INI.
void WriteSchemaFor(const std::vector<std::string>& csvs) {
  std::ofstream schema(kFolder + "Schema.INI", std::ios::binary | std::ios::trunc);
  for (const std::string& csv : csvs) {
    schema << "[" << fs::path(csv).filename().string() << "]\r\n"
         << "ColNameHeader=True\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\nCharacterSet=OEM\r\n"
         << "Col1=id Integer\r\nCol2=name Char WIDTH 40\r\nCol3=city Char WIDTH 20\r\n"
         << "Col4=amount Float\r\nCol5=qty Integer\r\nCol6=date Date\r\nCol7=flag Bit\r\n"
         << "Col8=note Char WIDTH 40\r\n";
  }
}

void WriteSchema(const std::string& csv) { WriteSchemaFor({csv}); }

quorlin::ExportRequest RequestFor(quorlin::ExportFormat format, const std::string& csv,
                                  const std::string& output) {
  quorlin::ExportRequest request;
  request.format = format;
  request.inputPath = csv;
  request.outputPath = output;
  request.inputSeparator = ",";
  request.inputQualifier = "\"";
  request.outputSeparator = quorlin::OutputSeparatorFor(format, "|");
  request.outputQualifier = "\"";
  request.fields = quorlin::BuildExportFields(csv, false, format);
  request.hasHeaderRow = true;
  request.includeFieldNames = true;
  request.title = "Bench";
  // The generator writes day-first dates.
  request.locale.shortDateFormat = "dd/MM/yyyy";
  return request;
}

// The first `records` records of `csv` with its header line, kept beside it between runs.
std::string FirstRecords(const std::string& csv, long records) {
  const std::string path = kFolder + "first" + std::to_string(records) + "-of-" + fs::path(csv).filename().string();
  if (fs::exists(path)) return path;
  std::ifstream in(csv, std::ios::binary);
  std::ofstream out(path + ".partial", std::ios::binary | std::ios::trunc);
  std::string line;
  for (long n = 0; n <= records && std::getline(in, line); ++n) out << line << '\n';
  out.close();
  fs::rename(path + ".partial", path);
  return path;
}

Run RunOpenpyxl(const std::string& csv, const std::string& output) {
  return Measure([&] {
    const std::string command = std::string("/usr/bin/python3 ") + QUORLIN_OPENPYXL_WRITE + " " + csv + " " + output;
    return std::system(command.c_str()) == 0;
  });
}

Run RunMiller(const std::string& csv, const std::string& output) {
  return Measure([&] {
    const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const pid_t child = fork();
    if (child == 0) {
      dup2(fd, STDOUT_FILENO);
      execlp("mlr", "mlr", "--icsv", "--otsv", "cat", csv.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    close(fd);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  });
}

// DuckDB (its Node.js package) copying the CSV into a Parquet file.
Run RunDuckDbCopy(const std::string& csv, const std::string& output, const char* codec) {
  return Measure([&] {
    const pid_t child = fork();
    if (child == 0) {
      execlp("node", "node", QUORLIN_DUCKDB_COPY, QUORLIN_DUCKDB_NODE_DIR, csv.c_str(), output.c_str(), codec,
             static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  });
}

void Print(const char* name, const Run& run, double megabytes) {
  std::printf("%-14s %7.2f s %8.1f MB/s  %7.2f s CPU %8.1f MB/s  %7.1f MB peak%s\n", name,
              run.seconds, megabytes / run.seconds, run.cpuSeconds, megabytes / run.cpuSeconds,
              static_cast<double>(run.peakKilobytes) / 1024.0, run.ok ? "" : "  (FAILED)");
}

// The workbook writer per record: at least five times openpyxl's write-only speed on the same
// records, within three times our Excel 97 writer (which holds 65,536 rows), under 50 MB.
bool CompareWorkbooks(const std::string& csv) {
  constexpr long kPeerRecords = 100'000;
  constexpr long kExcel97Records = 65'535;
  constexpr long kWorkbookRecords = 1'000'000;
  std::printf("\nworkbooks, seconds per million records (wall, then CPU: on a shared machine the steadier):\n");
  const std::string output = kOutputFolder + "out";
  const auto perMillion = [](const Run& run, long records) { return run.seconds * 1e6 / static_cast<double>(records); };
  const auto cpuPerMillion = [](const Run& run, long records) {
    return run.cpuSeconds * 1e6 / static_cast<double>(records);
  };
  const auto print = [&](const char* name, const Run& run, long records) {
    std::printf("%-22s %8.2f s %8.2f s CPU  %7.1f MB peak%s  (%ld records)\n", name, perMillion(run, records),
                cpuPerMillion(run, records), static_cast<double>(run.peakKilobytes) / 1024.0,
                run.ok ? "" : "  (FAILED)", records);
  };

  const std::string peerInput = FirstRecords(csv, kPeerRecords);
  const Run peer = RunOpenpyxl(peerInput, output + ".xlsx");
  print("openpyxl write-only", peer, kPeerRecords);

  const auto exportRun = [&](quorlin::ExportFormat format, const std::string& input, const char* name, long records) {
    const Run run = Measure([&] {
      return quorlin::ExportFile(RequestFor(format, input, output)).Exported();
    });
    fs::remove(output);
    print(name, run, records);
    return run;
  };
  const std::string excel97Input = FirstRecords(csv, kExcel97Records);
  WriteSchemaFor({peerInput, excel97Input, FirstRecords(csv, kWorkbookRecords)});
  const Run excel97 = exportRun(quorlin::ExportFormat::Excel, excel97Input, "Excel 97", kExcel97Records);
  const Run samePeer = exportRun(quorlin::ExportFormat::Xlsx, peerInput, "xlsx", kPeerRecords);
  const Run large = exportRun(quorlin::ExportFormat::Xlsx, FirstRecords(csv, kWorkbookRecords), "xlsx", kWorkbookRecords);
  const double peerRatio = perMillion(peer, kPeerRecords) / perMillion(samePeer, kPeerRecords);
  const double excel97Ratio = perMillion(large, kWorkbookRecords) / perMillion(excel97, kExcel97Records);
  std::printf("%-22s %.1f times openpyxl's speed, %.1f times Excel 97's time per record\n", "", peerRatio, excel97Ratio);
  std::printf("%-22s by CPU time: %.1f times openpyxl's speed, %.1f times Excel 97's time per record\n", "",
              cpuPerMillion(peer, kPeerRecords) / cpuPerMillion(samePeer, kPeerRecords),
              cpuPerMillion(large, kWorkbookRecords) / cpuPerMillion(excel97, kExcel97Records));
  return peer.ok && excel97.ok && samePeer.ok && large.ok && peerRatio >= 5 && excel97Ratio <= 3 &&
         large.peakKilobytes < 50 * 1024;
}

double Megabytes(const std::string& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  return error ? 0 : static_cast<double>(size) / 1e6;
}

// Parquet with each codec against DuckDB's copy with the same codec: at least 200 MB/s of
// input, under 200 MB of memory, no slower than DuckDB, and within a fifth of its size.
bool CompareParquet(const std::string& csv, double megabytes, const std::string& output) {
  std::printf("\n");
  bool allMet = true;
  const std::string peerOutput = output + "-duckdb.parquet";
  for (const auto& [compression, codec] : {std::pair{quorlin::OutputCompression::Zstd, "zstd"},
                                           std::pair{quorlin::OutputCompression::Snappy, "snappy"}}) {
    const Run peer = RunDuckDbCopy(csv, peerOutput, codec);
    const Run run = Measure([&] {
      quorlin::ExportRequest request = RequestFor(quorlin::ExportFormat::Parquet, csv, output);
      request.compression = compression;
      return quorlin::ExportFile(request).outcome == quorlin::ExportOutcome::Exported;
    });
    const std::string peerName = std::string("duckdb ") + codec;
    const std::string name = std::string("parquet ") + codec;
    Print(peerName.c_str(), peer, megabytes);
    Print(name.c_str(), run, megabytes);
    const double size = Megabytes(output);
    const double peerSize = Megabytes(peerOutput);
    std::printf("%-14s %.1f MB, DuckDB's %.1f MB (%+.0f%%); %.2f times DuckDB's speed\n", "", size, peerSize,
                peerSize > 0 ? (size / peerSize - 1) * 100 : 0.0, peer.seconds / run.seconds);
    const bool met = run.ok && peer.ok && megabytes / run.seconds >= 200 && run.peakKilobytes < 200 * 1024 &&
                     run.seconds <= peer.seconds && size <= peerSize * 1.2;
    allMet = allMet && met;
    fs::remove(output);
    fs::remove(peerOutput);
  }
  return allMet;
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 2'000'000;
  fs::create_directories(kFolder);
  fs::create_directories(kOutputFolder);
  const std::string csv = GeneratedCsv(rows);
  WriteSchema(csv);
  const double megabytes = static_cast<double>(fs::file_size(csv)) / 1e6;
  std::printf("input %s: %.1f MB, %ld records\n\n", csv.c_str(), megabytes, rows);

  struct Target {
    quorlin::ExportFormat format;
    const char* name;
    double goalMegabytesPerSecond;  // 0: measured against Miller instead
  };
  const Target targets[] = {{quorlin::ExportFormat::TabDelimited, "CSV to tab", 0},
                            {quorlin::ExportFormat::CommaDelimited, "CSV to CSV", 0},
                            {quorlin::ExportFormat::OtherDelimiter, "CSV to other", 0},
                            {quorlin::ExportFormat::SqlSchema, "SQL", 250},
                            {quorlin::ExportFormat::HtmlTable, "HTML", 250},
                            {quorlin::ExportFormat::Xml, "XML", 250},
                            {quorlin::ExportFormat::JsonLines, "JSON Lines", 200}};
  std::printf("%-14s %7s   %8s       %7s     %8s       %7s\n", "", "wall", "input", "CPU",
              "input", "memory");
  const std::string output = kOutputFolder + "out";
  if (argc > 2 && std::string(argv[2]) == "parquet") {
    const bool met = CompareParquet(csv, megabytes, output);
    fs::remove_all(kOutputFolder);
    std::printf("\n%s\n", met ? "every goal met" : "a goal was missed");
    return met ? 0 : 1;
  }
  if (argc > 2 && std::string(argv[2]) == "workbooks") {
    const bool met = CompareWorkbooks(csv);
    fs::remove_all(kOutputFolder);
    std::printf("\n%s\n", met ? "every goal met" : "a goal was missed");
    return met ? 0 : 1;
  }
  const Run miller = RunMiller(csv, output);
  fs::remove(output);
  Print("mlr cat (tsv)", miller, megabytes);

  bool allMet = miller.ok;
  for (const Target& target : targets) {
    const Run run = Measure([&] {
      const quorlin::ExportResult result = quorlin::ExportFile(RequestFor(target.format, csv, output));
      return result.outcome != quorlin::ExportOutcome::Refused;
    });
    fs::remove(output);
    Print(target.name, run, megabytes);
    // Wall time, the speed a user sees: the export formats records on two cores at once, so
    // its CPU time adds up both threads' work. Measure on an otherwise idle machine.
    const double speed = megabytes / run.seconds;
    bool met = run.ok && run.peakKilobytes < 50 * 1024;
    if (target.goalMegabytesPerSecond > 0) {
      met = met && speed >= target.goalMegabytesPerSecond;
    } else if (target.format == quorlin::ExportFormat::TabDelimited) {
      const double ratio = miller.seconds / run.seconds;
      std::printf("%-14s %.1f times Miller's speed (%.1f by CPU time), %.0f times less memory\n",
                  "", ratio, miller.cpuSeconds / run.cpuSeconds,
                  static_cast<double>(miller.peakKilobytes) / static_cast<double>(run.peakKilobytes));
      met = met && ratio >= 10;
    }
    allMet = allMet && met;
  }
  allMet = CompareParquet(csv, megabytes, output) && allMet;
  allMet = CompareWorkbooks(csv) && allMet;
  fs::remove_all(kOutputFolder);
  std::printf("\n%s\n", allMet ? "every goal met" : "a goal was missed");
  return allMet ? 0 : 1;
}
