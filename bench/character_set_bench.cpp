// Reading the same records written in Windows-1252 and in UTF-8, side by side: decoding a code
// page must cost about what checking UTF-8 costs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "text/character_set.h"
#include "text/text_line_reader.h"

namespace {

// One record of names and places with accents and an amount in euros, in UTF-8 or in
// Windows-1252, whose bytes for these characters are their Latin-1 code points (the euro 128).
std::string Record(long long id, bool utf8) {
  static const char* const kNames[] = {"Jos\xE9", "M\xFCller", "Fran\xE7oise", "\xD8stby", "Ana", "Ren\xE9" "e"};
  static const char* const kPlaces[] = {"K\xF6ln", "Z\xFCrich", "S\xE3o Paulo", "Malm\xF6", "Lyon"};
  const auto encoded = [utf8](std::string_view latin) {
    std::string out;
    for (const char c : latin) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte == 0x80 && utf8) {
        out += "\xE2\x82\xAC";
      } else if (byte >= 0xA0 && utf8) {
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
      } else {
        out += c;
      }
    }
    return out;
  };
  return std::to_string(id) + ",\"" + encoded(kNames[id % 6]) + " " + encoded(kNames[(id / 6) % 6]) + "\"," +
         encoded(kPlaces[id % 5]) + "," + std::to_string(id % 997) + "." + std::to_string(id % 89) +
         encoded(" \x80") + ",2024/05/1" + std::to_string(id % 10) + "\r\n";
}

struct SameRecords {
  std::string folder;
  std::string utf8;
  std::string windows1252;
};

const SameRecords& FiftyMegabytesOfRecords() {
  static const struct Scratch : SameRecords {
    Scratch() {
      std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-bench-XXXXXX").string();
      if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
      folder = pattern;
      utf8 = folder + "/utf8.csv";
      windows1252 = folder + "/windows1252.csv";
      std::ofstream inUtf8(utf8, std::ios::binary);
      std::ofstream inWindows(windows1252, std::ios::binary);
      std::size_t written = 0;
      for (long long id = 1; written < (50u << 20); ++id) {
        const std::string record = Record(id, true);
        written += record.size();
        inUtf8 << record;
        inWindows << Record(id, false);
      }
      if (!inUtf8 || !inWindows) throw std::runtime_error("cannot write " + folder);
    }
    ~Scratch() {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    }
  } scratch;
  return scratch;
}

// Items are records, so both files count the same work whatever their sizes in bytes.
void ReadRecords(benchmark::State& state, const std::string& path, const quorlin::CharacterSet& set) {
  std::string_view line;
  long long lines = 0;
  for (auto _ : state) {
    quorlin::TextLineReader reader(path, set, quorlin::RecordForm::Delimited);
    lines = 0;
    while (reader.ReadTextLine(line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * lines);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void BM_ReadUtf8Records(benchmark::State& state) {
  ReadRecords(state, FiftyMegabytesOfRecords().utf8, quorlin::CharacterSet::Utf8());
}
BENCHMARK(BM_ReadUtf8Records)->Unit(benchmark::kMillisecond);

void BM_ReadWindows1252Records(benchmark::State& state) {
  ReadRecords(state, FiftyMegabytesOfRecords().windows1252, quorlin::CharacterSet::Ansi());
}
BENCHMARK(BM_ReadWindows1252Records)->Unit(benchmark::kMillisecond);

// The same UTF-8 bytes handed over undecoded, as a layout written before sets had names reads
// them.
void BM_ReadUtf8RecordsAsLegacyBytes(benchmark::State& state) {
  ReadRecords(state, FiftyMegabytesOfRecords().utf8, quorlin::CharacterSet());
}
BENCHMARK(BM_ReadUtf8RecordsAsLegacyBytes)->Unit(benchmark::kMillisecond);

}  // namespace
