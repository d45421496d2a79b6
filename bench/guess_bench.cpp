// Guess Field Types on the widest samples a user meets: 25 rows of 1,000 fields.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "schema/structure_guess.h"

namespace {

constexpr int kRows = 25;
constexpr int kFields = 1000;

// Every first value is a number, so every field asks the full vote of all 25 rows; the rest mix
// numbers, fractions, dates, month names, boolean words and text.
std::string SampleValue(int row, int field) {
  if (row == 0) return std::to_string(field + 1);
  switch ((row + field) % 6) {
    case 0: return std::to_string(row * 1000 + field);
    case 1: return std::to_string(field) + ".25";
    case 2: return "03/15/2024 10:30";
    case 3: return "15 March 2024";
    case 4: return "Yes";
    default: return "Meyer & Sons, Ltd.";
  }
}

void BM_GuessDelimitedThousandFields(benchmark::State& state) {
  std::vector<std::vector<std::string>> rows(kRows);
  for (int row = 0; row < kRows; ++row) {
    for (int field = 0; field < kFields; ++field) rows[row].push_back(SampleValue(row, field));
  }
  const quorlin::LocaleSettings locale;
  for (auto _ : state) {
    quorlin::FieldList fields(kFields);
    quorlin::GuessDelimitedFields(fields, rows, locale, 1);
    benchmark::DoNotOptimize(fields.data());
  }
}
BENCHMARK(BM_GuessDelimitedThousandFields)->Unit(benchmark::kMillisecond);

// 1,000 one-character fields (the ruler marks at most 1,024 positions) over 26 lines.
void BM_GuessFixedThousandFields(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
  quorlin::FixedGuessRequest request;
  request.path = pattern + "/wide.dat";
  {
    std::ofstream out(request.path, std::ios::binary);
    for (int row = 0; row <= kRows; ++row) {
      for (int field = 0; field < kFields; ++field) out << "7x0Y5"[(row + field) % 5];
      out << "\r\n";
    }
  }
  request.lineLength = kFields + 1;
  for (int position = 2; position <= kFields; ++position) request.breaks.Toggle(position);
  const quorlin::LocaleSettings locale;
  for (auto _ : state) {
    const quorlin::FixedGuess guess = quorlin::GuessFixedFields(request, locale);
    benchmark::DoNotOptimize(guess.fields.data());
  }
  std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_GuessFixedThousandFields)->Unit(benchmark::kMillisecond);

}  // namespace
