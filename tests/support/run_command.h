// Running another program from a test: what it wrote to standard output and its exit status.
#pragma once

#include <string>

namespace quorlin::testing {

struct CommandResult {
  int exitCode = -1;
  std::string out;
};

// Runs `command` through the shell.
CommandResult RunCommand(const std::string& command);

}  // namespace quorlin::testing
