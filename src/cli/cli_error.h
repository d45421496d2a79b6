// The failure a command stops with: the exit status and the one line shown on standard error.
#pragma once

#include <stdexcept>
#include <string>

namespace quorlin {

inline constexpr int kExitDone = 0;
inline constexpr int kExitReportedFailure = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitStopped = 3;

class CliError : public std::runtime_error {
 public:
  CliError(int exitCode, const std::string& message)
      : std::runtime_error(message), exitCode_(exitCode) {}

  int ExitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

}  // namespace quorlin
