// A private ODBC configuration for tests: the text driver registered in a scratch folder.
#pragma once

#include <string>

#include "support/run_command.h"
#include "support/test_files.h"

namespace quorlin::testing {

// ODBCSYSINI and ODBCINI point into a scratch folder whose odbcinst.ini registers the built
// text driver, so the installer and the driver manager never read or write the machine's own
// files. unixODBC reads ODBCSYSINI once per process, so every sandbox of a process shares one
// folder; each starts with only the driver registrations and leaves no data source behind.
class OdbcSandbox {
 public:
  OdbcSandbox();
  ~OdbcSandbox();
  OdbcSandbox(const OdbcSandbox&) = delete;
  OdbcSandbox& operator=(const OdbcSandbox&) = delete;

  // The system odbc.ini and the user's one (empty while missing).
  std::string SystemDataSources() const;
  std::string UserDataSources() const;
  static std::string Folder();

  // Replaces odbcinst.ini: the text driver's section holds `textDriverSection` (its lines,
  // none for no section at all), and the driver "SQLite3" is registered beside it.
  void WriteDrivers(const std::string& textDriverSection, bool registerTextDriver = true);
  // Replaces the system odbc.ini by `text`.
  void WriteSystemDataSources(const std::string& text);
  // Adds a system data source of the SQLite3 driver.
  void AddForeignDataSource(const std::string& name);
  // Adds a system data source of the text driver for `folder` by hand.
  void AddTextDataSource(const std::string& name, const std::string& folder);

  // The text driver's own registration lines: Driver= and Setup= the built library.
  static std::string TextDriverLines();

 private:
  void WriteFile(const std::string& name, const std::string& text);
};

// Runs an ODBC client (isql, python3 with pyodbc, quorlin-cli) through the shell with the
// sandbox's environment.
CommandResult RunOdbcClient(const std::string& command);

// `text` quoted for the shell.
std::string ShellQuoted(const std::string& text);

}  // namespace quorlin::testing
