#include "odbc/odbc_ini_file.h"

#include <odbcinst.h>

#include <algorithm>
#include <array>

#include "odbc/data_source_files.h"
#include "platform/ascii_case.h"
#include "platform/atomic_file.h"
#include "platform/file_error.h"
#include "platform/ini_edits.h"

// unixODBC's own look-up of the user's odbc.ini; libodbcinst exports it without a public
// header.
extern "C" int _odbcinst_UserINI(char* fileName, int verify);

namespace quorlin {

namespace {

constexpr const char* kDataSourceList = "ODBC Data Sources";

bool HasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

// What the user calls the value of a key the text driver's data sources have.
std::string Label(const std::string& key) {
  static const std::array<std::pair<const char*, const char*>, 3> kLabels{{
      {"DefaultDir", "The folder"}, {"Description", "The description"}, {"Extensions", "The file extensions"}}};
  for (const auto& [name, label] : kLabels) {
    if (EqualNoCase(key, name)) return label;
  }
  return "The value of " + key;
}

std::string ReadText(const std::string& path) { return ReadRegularFile(path).value_or(""); }

// The installer keeps what it read of odbc.ini for a while and forgets it only when it writes
// a profile itself, so that the driver manager of this process would still find a data source
// as it was; writing nothing to /dev/null is that write, and harmless.
void ForgetInstallerReads() { SQLWritePrivateProfileString("Quorlin", nullptr, nullptr, "/dev/null"); }

}  // namespace

std::optional<std::string> DataSourceRefusal(const std::string& name, const DataSourceKeys& keys) {
  if (HasControlCharacter(name)) return "The data source name must not hold a line break or another control character";
  if (name.find_first_of("[]=") != std::string::npos) return "The data source name must not hold [, ] or =";
  for (const auto& [key, value] : keys) {
    if (HasControlCharacter(key) || key.find_first_of("[]=") != std::string::npos || key.starts_with(';') ||
        key.starts_with('#')) {
      return "The key " + key + " cannot be written to odbc.ini";
    }
    if (HasControlCharacter(value)) return Label(key) + " must not hold a line break or another control character";
  }
  return std::nullopt;
}

std::string ModeDataSourceFile() {
  UWORD mode = ODBC_BOTH_DSN;
  SQLGetConfigMode(&mode);
  if (mode == ODBC_SYSTEM_DSN) return SystemDataSourceFile();
  std::array<char, 4096> path{};
  _odbcinst_UserINI(path.data(), 0);
  return path.data();
}

OdbcIniFile::OdbcIniFile(std::string path) : path_(std::move(path)) {}

bool OdbcIniFile::HasDataSource(const std::string& name) const { return ini::HasSection(ReadText(path_), name); }

std::string OdbcIniFile::Value(const std::string& name, const std::string& key) const {
  return std::string(ini::FindValue(ReadText(path_), name, key).value_or(""));
}

void OdbcIniFile::Add(const std::string& name, const std::string& driver, const DataSourceKeys& keys) {
  DataSourceKeys lines{{"Driver", driver}};
  lines.insert(lines.end(), keys.begin(), keys.end());
  if (const std::optional<std::string> refusal = DataSourceRefusal(name, lines)) throw FileError(*refusal);
  RewriteFile(path_, [&](const std::string& text) -> std::optional<std::string> {
    std::string out = ini::WithSectionKeys(text, name, lines);
    if (ini::HasSection(out, kDataSourceList)) out = ini::WithValue(out, kDataSourceList, name, driver);
    return out;
  });
  ForgetInstallerReads();
}

void OdbcIniFile::Configure(const std::string& name, const DataSourceKeys& keys) {
  if (const std::optional<std::string> refusal = DataSourceRefusal(name, keys)) throw FileError(*refusal);
  RewriteFile(path_, [&](const std::string& text) -> std::optional<std::string> {
    std::string out = text;
    for (const auto& [key, value] : keys) out = ini::WithValue(out, name, key, value);
    return out;
  });
  ForgetInstallerReads();
}

void OdbcIniFile::Remove(const std::string& name) {
  RewriteFile(path_, [&](const std::string& text) -> std::optional<std::string> {
    std::string out = ini::WithoutKey(ini::WithoutSection(text, name), kDataSourceList, name);
    if (out == text) return std::nullopt;
    return out;
  });
  ForgetInstallerReads();
}

}  // namespace quorlin
