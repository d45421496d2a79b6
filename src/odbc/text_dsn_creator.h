// The component that adds, reconfigures and removes a data source of the text driver.
#pragma once

#include <optional>
#include <string>

namespace quorlin {

// The action with the installer's request code it maps to.
enum class TDSNExecuteAction {
  ADD_DSN = 1,
  CONFIG_DSN = 2,
  REMOVE_DSN = 3,
  ADD_SYS_DSN = 4,
  CONFIG_SYS_DSN = 5,
  REMOVE_SYS_DSN = 6,
  REMOVE_DEFAULT_DSN = 7,
};

inline constexpr const char* kBlankNameMessage = "Property 'DSNNameOrAlias' must not be blank";

// The caller sets the properties and the action, then calls Execute. The driver is always the
// text driver of the driver table.
class TTextDSNCreator {
 public:
  // `homeFolder` stands for the drive root the data folder starts at.
  explicit TTextDSNCreator(const std::string& homeFolder);

  TDSNExecuteAction Action = TDSNExecuteAction::ADD_DSN;
  std::string DSNNameOrAlias = "NewDSN";
  std::string DSNUserDescription = "New DSN Description";
  std::string DatabaseFilePath;  // sent as DefaultDir
  std::string FileExtensions;
  std::string UserID = "Admin";
  std::string Password;    // held, never sent
  std::string WorkingDir;  // held, never sent
  std::string optImplitCommitSync;
  int optMaxScanRows = 25;
  int optPageTimeout = 5;
  bool optDSNReadOnly = false;
  bool optExclusive = false;
  int optSafeTransactions = 0;
  int optThreads = 3;
  bool optUserCommitSync = false;

  int optMaxBufferSize() const { return maxBufferSize_; }
  // Stores `value` when it is a multiple of 512; otherwise stores 2048 and gives the message
  // the user is shown.
  std::optional<std::string> SetOptMaxBufferSize(int value);

  // Performs Action through the installer's SQLConfigDataSource. False when the installer
  // failed or the call was refused: an empty name refuses with kBlankNameMessage in LastError.
  // Raises OdbcError when an add or configure finds the text driver unregistered.
  bool Execute();
  const std::string& LastError() const { return lastError_; }

 private:
  int maxBufferSize_ = 2048;
  std::string lastError_;
};

// The options part of the attribute list: ImplicitCommitSync to UserCommitSync, each pair
// ended by a NUL.
std::string OptionsText(const TTextDSNCreator& creator);

// The attribute list Execute sends for the creator's action, byte for byte with its NULs and
// the final NUL; `driverPath` is the registration's Driver value.
std::string AttributeList(const TTextDSNCreator& creator, const std::string& driverPath);

}  // namespace quorlin
