// A PostgreSQL server of the test's own: a fresh cluster listening only on a socket in a
// private folder, started for the test and stopped after it. The superuser's tests run it as
// "nobody", as the server refuses to run as the superuser.
#pragma once

#include <string>

#include "support/run_command.h"

namespace quorlin::testing {

class PostgresServer {
 public:
  // Starts the server; Ready() tells whether it did (the reason is in Problem()).
  PostgresServer();
  ~PostgresServer();
  PostgresServer(const PostgresServer&) = delete;
  PostgresServer& operator=(const PostgresServer&) = delete;

  bool Ready() const { return ready_; }
  const std::string& Problem() const { return problem_; }

  // Runs the SQL file in a database of its own name, stopping at the first error; gives psql's
  // exit status and messages.
  CommandResult RunFile(const std::string& database, const std::string& sqlPath) const;
  // The rows of `query` in `database`, one line each, columns separated by "|".
  CommandResult Query(const std::string& database, const std::string& query) const;

 private:
  std::string Psql(const std::string& database) const;
  std::string AsServerUser(const std::string& command) const;

  std::string folder_;
  bool ready_ = false;
  std::string problem_;
};

}  // namespace quorlin::testing
