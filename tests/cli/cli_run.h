// Running quorlin-cli in-process on files of a scratch folder, checking the data file stays as it was.
#pragma once

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/run_cli.h"
#include "support/test_files.h"

namespace quorlin::testing {

// What quorlin-cli writes for `message`: the program's name, the message and a line end.
inline std::string Said(const std::string& message) { return "quorlin-cli: " + message + "\n"; }

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline CliResult RunArguments(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "quorlin-cli");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::ostringstream out;
  std::ostringstream err;
  CliResult result;
  result.exitCode = RunCli(static_cast<int>(arguments.size()), argv.data(), out, err);
  result.out = out.str();
  result.err = err.str();
  return result;
}

// A scratch folder with one data file; every run checks that the data file was not written.
class CliFileTest : public ::testing::Test {
 protected:
  void UseData(const std::string& name, const std::string& bytes) {
    dataPath_ = dir_.File(name);
    dataBytes_ = bytes;
    WriteBytes(dataPath_, bytes);
  }

  CliResult Run(std::initializer_list<std::string> arguments) {
    CliResult result = RunArguments(arguments);
    EXPECT_SAME_BYTES(dataBytes_, ReadBytes(dataPath_));
    return result;
  }

  const std::string& Data() const { return dataPath_; }

  TempDir dir_;
  std::string dataPath_;
  std::string dataBytes_;
};

}  // namespace quorlin::testing
