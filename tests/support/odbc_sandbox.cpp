#include "support/odbc_sandbox.h"

#include <dlfcn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace quorlin::testing {

namespace {

const TempDir& SharedFolder() {
  static const TempDir folder;
  static const bool pointed = [] {
    setenv("ODBCSYSINI", folder.Path().c_str(), 1);
    setenv("ODBCINI", folder.File("user-odbc.ini").c_str(), 1);
    return true;
  }();
  (void)pointed;
  return folder;
}

// The installer keeps what it read for twenty seconds and forgets it on any write it makes
// itself; files the tests write directly need that write too. Only a process that loaded the
// installer has anything to forget.
void ForgetCachedProfiles() {
  void* installer = dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NOLOAD);
  if (installer == nullptr) return;
  using Write = int (*)(const char*, const char*, const char*, const char*);
  if (auto write = reinterpret_cast<Write>(dlsym(installer, "SQLWritePrivateProfileString"))) {
    write("cache", "reset", "1", SharedFolder().File("cache-reset.ini").c_str());
  }
  dlclose(installer);
}

std::string ReadIfThere(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error) ? ReadBytes(path) : std::string();
}

}  // namespace

std::string OdbcSandbox::TextDriverLines() {
  const std::string library = QUORLIN_ODBC_TEXT_DRIVER;
  return "Description=Quorlin text driver\nDriver=" + library + "\nSetup=" + library + "\n";
}

std::string OdbcSandbox::Folder() { return SharedFolder().Path(); }

OdbcSandbox::OdbcSandbox() {
  std::filesystem::remove(SharedFolder().File("odbc.ini"));
  std::filesystem::remove(SharedFolder().File("user-odbc.ini"));
  WriteDrivers(TextDriverLines());
}

OdbcSandbox::~OdbcSandbox() {
  std::filesystem::remove(SharedFolder().File("odbc.ini"));
  std::filesystem::remove(SharedFolder().File("user-odbc.ini"));
  ForgetCachedProfiles();
}

void OdbcSandbox::WriteFile(const std::string& name, const std::string& text) {
  WriteBytes(SharedFolder().File(name), text);
  ForgetCachedProfiles();
}

std::string OdbcSandbox::SystemDataSources() const { return ReadIfThere(SharedFolder().File("odbc.ini")); }

std::string OdbcSandbox::UserDataSources() const { return ReadIfThere(SharedFolder().File("user-odbc.ini")); }

void OdbcSandbox::WriteDrivers(const std::string& textDriverSection, bool registerTextDriver) {
  const std::string text = registerTextDriver ? "[Microsoft Text Driver (*.txt; *.csv)]\n" + textDriverSection : "";
  WriteFile("odbcinst.ini", text + "\n[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=libsqlite3odbc.so\n"
                                   "Setup=libsqlite3odbc.so\n");
}

void OdbcSandbox::WriteSystemDataSources(const std::string& text) { WriteFile("odbc.ini", text); }

void OdbcSandbox::AddForeignDataSource(const std::string& name) {
  WriteFile("odbc.ini", SystemDataSources() + "[" + name + "]\nDriver=SQLite3\nDatabase=/tmp/keep.db\n");
}

void OdbcSandbox::AddTextDataSource(const std::string& name, const std::string& folder) {
  WriteFile("odbc.ini", SystemDataSources() + "[" + name + "]\nDriver=Microsoft Text Driver (*.txt; *.csv)\n" +
                            "DefaultDir=" + folder + "\n");
}

CommandResult RunOdbcClient(const std::string& command) {
  SharedFolder();
#ifdef QUORLIN_ASAN_RUNTIME
  // The programs started load the instrumented driver, which needs the sanitizer's runtime
  // loaded first, and the C++ library with it to find the exceptions it intercepts; their own
  // leaks are not this project's.
  setenv("LD_PRELOAD", QUORLIN_ASAN_RUNTIME " libstdc++.so.6", 1);
  setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
#endif
  const CommandResult result = RunCommand(command);
#ifdef QUORLIN_ASAN_RUNTIME
  unsetenv("LD_PRELOAD");
#endif
  return result;
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace quorlin::testing
