// The component that adds, reconfigures and removes a data source of the text driver.
#pragma once

#include <optional>
#include <string>

namespace quorlin {

// The action with the installer's request code it maps to.
enum class DsnAction {
  AddUser = 1,
  ConfigureUser = 2,
  RemoveUser = 3,
  AddSystem = 4,
  ConfigureSystem = 5,
  RemoveSystem = 6,
  RemoveDefault = 7,
};

inline constexpr const char* kBlankNameMessage = "Property 'DSNNameOrAlias' must not be blank";

// The caller sets the properties and the action, then calls Execute. The driver is always the
// text driver of the driver table.
class TextDsnCreator {
 public:
  // `homeFolder` stands for the drive root the data folder starts at.
  explicit TextDsnCreator(const std::string& homeFolder);

  DsnAction action = DsnAction::AddUser;
  std::string dsnName = "NewDSN";
  std::string description = "New DSN Description";
  std::string dataFolder;  // sent as DefaultDir
  std::string fileExtensions;
  std::string userId = "Admin";
  std::string password;    // held, never sent
  std::string workingFolder;  // held, never sent
  std::string implicitCommitSync;
  int maxScanRows = 25;
  int pageTimeout = 5;
  bool readOnly = false;
  bool exclusive = false;
  int safeTransactions = 0;
  int threads = 3;
  bool userCommitSync = false;

  int MaxBufferSize() const { return maxBufferSize_; }
  // Stores `value` when it is a multiple of 512; otherwise stores 2048 and gives the message
  // the user is shown.
  std::optional<std::string> SetMaxBufferSize(int value);

  // Performs action through the installer's SQLConfigDataSource. False when the installer
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
std::string OptionsText(const TextDsnCreator& creator);

// The attribute list Execute sends for the creator's action, byte for byte with its NULs and
// the final NUL; `driverPath` is the registration's Driver value.
std::string AttributeList(const TextDsnCreator& creator, const std::string& driverPath);

}  // namespace quorlin
