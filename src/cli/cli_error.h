// The failure a command stops with: the exit status and the one line shown on standard error.
#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorlin {

inline constexpr int kExitDone = 0;
inline constexpr int kExitReportedFailure = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitStopped = 3;

inline constexpr const char* kProgramName = "quorlin-cli";

// Writes a message on its own line with the program's name before it, as every message of a
// Unix tool starts, so that it can be told from the messages of the other programs of a pipe.
inline void PrintMessage(std::ostream& err, std::string_view message) {
  err << kProgramName << ": " << message << '\n';
}

class CliError : public std::runtime_error {
 public:
  CliError(int exitCode, const std::string& message)
      : std::runtime_error(message), exitCode_(exitCode) {}

  int ExitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

}  // namespace quorlin
