// quorlin-cli as the shell runs it: exit statuses, its output and its memory.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "cli_run.h"
#include "support/test_files.h"
#include "text/preview_limits.h"

namespace quorlin::testing {
namespace {

struct ProcessResult {
  int exitCode = -1;
  std::string out;
};

// Runs the program through the shell: `prefix` goes before it, `redirections` after the
// arguments.
ProcessResult RunBinary(const std::string& arguments, const std::string& redirections = "2>/dev/null",
                        const std::string& prefix = "") {
  const std::string command =
      prefix + "'" + std::string(QUORLIN_CLI_PATH) + "' " + arguments + " " + redirections;
  ProcessResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(Binary, PrintsTheVersion) {
  const ProcessResult result = RunBinary("--version");
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ(std::string(QUORLIN_VERSION) + "\n", result.out);
}

TEST(Binary, ExitStatusReachesTheShell) {
  TempDir dir;
  WriteBytes(dir.File("a.csv"), "x,y\r\n");
  EXPECT_EQ(0, RunBinary("preview '" + dir.File("a.csv") + "'").exitCode);
  EXPECT_EQ(2, RunBinary("preview '" + dir.File("a.csv") + "' --rows x").exitCode);
  EXPECT_EQ(3, RunBinary("preview '" + dir.File("b.csv") + "'").exitCode);
  EXPECT_EQ(2, RunBinary("").exitCode);
}

TEST(Binary, ResultsThatCannotBeWrittenStopWithAMessage) {
  TempDir dir;
  WriteBytes(dir.File("a.csv"), "x,y\r\n");
  const ProcessResult result = RunBinary("preview '" + dir.File("a.csv") + "'", "2>&1 >/dev/full");
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ(Said("Cannot write the results to the standard output: No space left on device"), result.out);
}

// The address sanitizer reserves far more address space than any limit here allows.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSpaceLimitsWork = false;
#else
constexpr bool kAddressSpaceLimitsWork = true;
#endif

// A file of 128 MiB without a line end previews in 100 MB of address space, and running out
// of memory anyway is one line naming the file, not a bare std::bad_alloc.
TEST(Binary, PreviewFitsInLittleMemoryAndRunningOutIsReported) {
  if (!kAddressSpaceLimitsWork) GTEST_SKIP() << "the sanitizers need the address space";
  TempDir dir;
  const std::string endless = dir.File("endless.txt");
  WriteBytes(endless, "");
  ASSERT_EQ(0, truncate(endless.c_str(), 128 << 20));
  std::filesystem::create_directory(dir.File("huge"));
  WriteBytes(dir.File("huge/Schema.INI"), "");
  ASSERT_EQ(0, truncate(dir.File("huge/Schema.INI").c_str(), 1 << 30));

  const std::string limit = "ulimit -v 100000; ";
  const ProcessResult preview = RunBinary("preview '" + endless + "' --json", "2>&1 >/dev/null", limit);
  EXPECT_EQ(0, preview.exitCode);
  EXPECT_EQ(Said(endless + ": " + LineCutMessage(1)), preview.out);
  const ProcessResult list = RunBinary("schema list '" + dir.File("huge") + "'", "2>&1", limit);
  EXPECT_EQ(3, list.exitCode);
  EXPECT_EQ(Said("Not enough memory to work on " + dir.File("huge")), list.out);
}

}  // namespace
}  // namespace quorlin::testing
