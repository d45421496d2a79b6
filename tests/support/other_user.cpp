// Dropping the superuser's privileges in a child process for permission checks.
#include "support/other_user.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace quorlin::testing {

std::string RunWithoutPrivileges(const std::function<std::string()>& work) {
  if (::geteuid() != 0) return work();
  int channel[2];
  if (::pipe(channel) != 0) throw std::runtime_error("cannot make a pipe");
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    std::string result = "cannot become nobody";
    if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0) result = work();
    const bool sent = ::write(channel[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
    ::_exit(sent ? 0 : 1);
  }
  ::close(channel[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, got);
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return result;
}

}  // namespace quorlin::testing
