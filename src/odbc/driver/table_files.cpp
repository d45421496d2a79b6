// Finding a data source's tables without ever leaving its folder.
#include "odbc/driver/table_files.h"

#include <algorithm>
#include <filesystem>

#include "odbc/driver/sql_error.h"
#include "platform/ascii_case.h"
#include "platform/folder_files.h"

namespace quorlin::driver {

namespace {

std::string ExtensionOf(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : AsciiLower(std::string_view(name).substr(dot + 1));
}

[[noreturn]] void NotFound(const std::string& table, const std::string& folder, const char* why) {
  throw SqlError(state::kTableNotFound, "Table '" + table + "' " + why + " " + folder);
}

}  // namespace

std::vector<std::string> ParseExtensions(std::string_view text) {
  std::vector<std::string> extensions;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find_first_of(",;", at), text.size());
    std::string item = AsciiLower(text.substr(at, end - at));
    item.erase(std::remove_if(item.begin(), item.end(),
                              [](char c) { return c == '*' || c == '.' || static_cast<unsigned char>(c) <= 32; }),
               item.end());
    if (!item.empty() && std::find(extensions.begin(), extensions.end(), item) == extensions.end()) {
      extensions.push_back(std::move(item));
    }
    at = end + 1;
  }
  if (extensions.empty()) extensions = {"asc", "csv", "tab", "txt"};
  return extensions;
}

std::vector<std::string> ListTableFiles(const std::string& folder,
                                        const std::vector<std::string>& extensions) {
  std::vector<std::string> names;
  std::error_code error;
  const std::filesystem::path realFolder = std::filesystem::canonical(folder, error);
  std::filesystem::directory_iterator entries(folder, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    std::error_code ignored;
    if (!entries->is_regular_file(ignored)) continue;
    std::string name = entries->path().filename().string();
    if (std::find(extensions.begin(), extensions.end(), ExtensionOf(name)) == extensions.end()) continue;
    // A link that leads out of the folder is no table of it.
    if (std::filesystem::canonical(entries->path(), ignored).parent_path() != realFolder) continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ResolveTableFile(const std::string& folder, const std::string& table) {
  namespace fs = std::filesystem;
  if (table.empty() || table == "." || table == ".." ||
      table.find_first_of(std::string_view("/\0", 2)) != std::string::npos) {
    NotFound(table, folder, "is not a file name in the data source's folder");
  }
  const std::string path = FindInFolderNoCase(folder, table);
  std::error_code error;
  if (!fs::exists(path, error)) NotFound(table, folder, "was not found in");
  if (!fs::is_regular_file(path, error)) NotFound(table, folder, "is not a data file in");
  const fs::path real = fs::canonical(path, error);
  const fs::path realFolder = fs::canonical(folder, error);
  if (error || real.parent_path() != realFolder) {
    NotFound(table, folder, "leads out of the data source's folder");
  }
  return path;
}

}  // namespace quorlin::driver
