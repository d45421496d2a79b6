// Real servers on loopback that a test starts and stops: the update server and an HTTP proxy.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "support/test_files.h"

namespace quorlin::testing {

// A program run for the length of a test, ended with SIGTERM; its first output line is kept.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The first line the program printed, or empty when it printed none within ten seconds.
  std::string FirstLine();

 private:
  pid_t pid_ = -1;
  int output_ = -1;
};

// tests/support/update_server.py serving a scratch folder.
class UpdateServer {
 public:
  UpdateServer();

  // http://127.0.0.1:<port>/ + path
  std::string Url(const std::string& path) const;
  void Serve(const std::string& path, const std::string& bytes);
  // One line per request: "<path> via=<Via header> agent=<User-Agent> cache=<Cache-Control>".
  std::vector<std::string> Requests() const;

 private:
  TempDir root_;
  ChildProcess process_;
  std::string port_;
};

// tinyproxy on a free loopback port.
class Tinyproxy {
 public:
  Tinyproxy();
  int Port() const { return port_; }

 private:
  TempDir folder_;
  int port_;
  ChildProcess process_;
};

// A port nothing listens on at the moment.
int FreePort();

}  // namespace quorlin::testing
