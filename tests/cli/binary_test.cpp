#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace quorlin::testing {
namespace {

struct ProcessResult {
  int exitCode = -1;
  std::string out;
};

ProcessResult RunBinary(const std::string& arguments) {
  const std::string command = std::string("'") + QUORLIN_CLI_PATH + "' " + arguments + " 2>/dev/null";
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

}  // namespace
}  // namespace quorlin::testing
