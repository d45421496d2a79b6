#include "support/postgres_server.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace quorlin::testing {

namespace {

constexpr const char* kServerPrograms = "/usr/lib/postgresql/15/bin/";
constexpr const char* kPort = "54329";
constexpr uid_t kNobody = 65534;

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

PostgresServer::PostgresServer() {
  if (!std::filesystem::exists(std::string(kServerPrograms) + "initdb")) {
    problem_ = "PostgreSQL's server programs are not installed";
    return;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-pg-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    problem_ = "cannot make a folder for the server";
    return;
  }
  folder_ = pattern;
  if (::geteuid() == 0 && (::chown(folder_.c_str(), kNobody, kNobody) != 0 || ::chmod(folder_.c_str(), 0755) != 0)) {
    problem_ = "cannot hand the folder to nobody";
    return;
  }
  const std::string programs = kServerPrograms;
  const CommandResult init = RunCommand(AsServerUser(programs + "initdb -D " + Quoted(folder_ + "/data") +
                                                     " -A trust -U quorlin -E UTF8 --locale=C.UTF-8") + " 2>&1");
  if (init.exitCode != 0) {
    problem_ = "initdb failed: " + init.out;
    return;
  }
  const CommandResult start = RunCommand(
      AsServerUser(programs + "pg_ctl -D " + Quoted(folder_ + "/data") + " -w -l " + Quoted(folder_ + "/log") +
                   " -o " + Quoted("-k " + folder_ + " -c listen_addresses= -p " + kPort) + " start") +
      " 2>&1");
  if (start.exitCode != 0) {
    problem_ = "the server did not start: " + start.out;
    return;
  }
  ready_ = true;
}

PostgresServer::~PostgresServer() {
  if (ready_) {
    RunCommand(AsServerUser(std::string(kServerPrograms) + "pg_ctl -D " + Quoted(folder_ + "/data") +
                            " -m immediate -w stop") + " >/dev/null 2>&1");
  }
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

std::string PostgresServer::AsServerUser(const std::string& command) const {
  return ::geteuid() == 0 ? "runuser -u nobody -- " + command : command;
}

std::string PostgresServer::Psql(const std::string& database) const {
  return "psql -X -q -h " + Quoted(folder_) + " -p " + kPort + " -U quorlin -d " + database;
}

CommandResult PostgresServer::RunFile(const std::string& database, const std::string& sqlPath) const {
  RunCommand(Psql("postgres") + " -c " + Quoted("CREATE DATABASE " + database) + " >/dev/null 2>&1");
  return RunCommand(Psql(database) + " -v ON_ERROR_STOP=1 -f " + Quoted(sqlPath) + " 2>&1");
}

CommandResult PostgresServer::Query(const std::string& database, const std::string& query) const {
  return RunCommand(Psql(database) + " -At -c " + Quoted(query) + " 2>&1");
}

}  // namespace quorlin::testing
