// The one writer of odbc.ini files: a data source's own section and its line in
// [ODBC Data Sources] change, every other byte of the file stays.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorlin {

using DataSourceKeys = std::vector<std::pair<std::string, std::string>>;

// Why the data source cannot be written as given, or nothing. A control character (a line
// break above all) would let a value start lines of its own, and "[", "]" or "=" in the name
// would make it another section or key; `keys` are checked by their keys' names.
std::optional<std::string> DataSourceRefusal(const std::string& name, const DataSourceKeys& keys);

// The odbc.ini the installer's current configuration mode reads and writes: the system one,
// or the user's own ($ODBCINI or ~/.odbc.ini).
std::string ModeDataSourceFile();

// Each change reads, edits and replaces the file at `path` under one lock (RewriteFile), so
// that changes by other processes come before or after it; a refused name or value raises
// FileError with the refusal and writes nothing.
class OdbcIniFile {
 public:
  explicit OdbcIniFile(std::string path);

  bool HasDataSource(const std::string& name) const;
  // A key of the data source's section; empty when it or the file is missing.
  std::string Value(const std::string& name, const std::string& key) const;

  // The section holds Driver=`driver` and then `keys`, in place of any keys it had; its line
  // in [ODBC Data Sources] names the driver when that section is there.
  void Add(const std::string& name, const std::string& driver, const DataSourceKeys& keys);
  // Each of `keys` is set in the section, in place where it was there.
  void Configure(const std::string& name, const DataSourceKeys& keys);
  // The section and the data source's line in [ODBC Data Sources] go.
  void Remove(const std::string& name);

 private:
  std::string path_;
};

}  // namespace quorlin
