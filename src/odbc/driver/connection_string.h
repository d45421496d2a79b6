// Keyword=value pairs of ODBC connection strings and of installer attribute lists.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorlin::driver {

class ConnectionAttributes {
 public:
  // The first value of `key`, keywords compared without regard to case.
  std::optional<std::string> Find(std::string_view key) const;
  void Add(std::string key, std::string value);
  const std::vector<std::pair<std::string, std::string>>& Pairs() const { return pairs_; }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

// "DSN=x;DefaultDir={/a;b};UID=": pairs separated by ";", blanks around keywords and plain
// values dropped, a value in braces taken as it stands ("}}" is one "}"), pairs without "="
// passed over. Raises SqlError (08001) for a brace that is never closed.
ConnectionAttributes ParseConnectionString(std::string_view text);

// The folder the attributes name: DefaultDir, or DBQ as other text drivers' users write it.
std::optional<std::string> FolderAttribute(const ConnectionAttributes& attributes);

// The pairs written back as a connection string that ParseConnectionString reads unchanged.
std::string FormatConnectionString(const ConnectionAttributes& attributes);

// "DSN=x\0Driver=y\0\0" as the installer hands it to ConfigDSN: each pair ends at a NUL and an
// empty pair ends the list. Values are not trimmed.
ConnectionAttributes ParseAttributeList(const char* list);

}  // namespace quorlin::driver
