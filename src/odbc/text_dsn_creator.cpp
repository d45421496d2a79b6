// Building the text driver's attribute list and handing it to the installer.
#include "odbc/text_dsn_creator.h"

#include <odbcinst.h>

#include "odbc/driver_registration.h"
#include "odbc/odbc_driver_table.h"
#include "odbc/odbc_error.h"
#include "platform/ascii_case.h"

namespace quorlin {

namespace {

constexpr int kDefaultMaxBufferSize = 2048;

void AddPair(std::string& list, const char* key, const std::string& value) {
  list += key;
  list += '=';
  list += value;
  list += '\0';
}

bool IsAddAction(TDSNExecuteAction action) {
  return action == TDSNExecuteAction::ADD_DSN || action == TDSNExecuteAction::ADD_SYS_DSN;
}

bool IsRemoveAction(TDSNExecuteAction action) {
  return action == TDSNExecuteAction::REMOVE_DSN || action == TDSNExecuteAction::REMOVE_SYS_DSN ||
         action == TDSNExecuteAction::REMOVE_DEFAULT_DSN;
}

// The folder part of a path: everything up to its last "/".
std::string FolderPart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

TTextDSNCreator::TTextDSNCreator(const std::string& homeFolder)
    : DatabaseFilePath(homeFolder), WorkingDir(homeFolder) {}

std::optional<std::string> TTextDSNCreator::SetOptMaxBufferSize(int value) {
  if (value % 512 == 0) {
    maxBufferSize_ = value;
    return std::nullopt;
  }
  maxBufferSize_ = kDefaultMaxBufferSize;
  return "Value of optMaxBufferSize MUST be a multiple of 512! Resetting value to default of 2048.";
}

std::string OptionsText(const TTextDSNCreator& creator) {
  std::string text;
  AddPair(text, "ImplicitCommitSync", creator.optImplitCommitSync);
  AddPair(text, "MaxBufferSize", std::to_string(creator.optMaxBufferSize()));
  AddPair(text, "MaxScanRows", std::to_string(creator.optMaxScanRows));
  AddPair(text, "PageTimeout", std::to_string(creator.optPageTimeout));
  AddPair(text, "ReadOnly", creator.optDSNReadOnly ? "1" : "0");
  AddPair(text, "Exclusive", creator.optExclusive ? "1" : "0");
  AddPair(text, "SafeTransactions", std::to_string(creator.optSafeTransactions));
  AddPair(text, "Threads", std::to_string(creator.optThreads));
  AddPair(text, "UserCommitSync", creator.optUserCommitSync ? "Yes" : "No");
  return text;
}

std::string AttributeList(const TTextDSNCreator& creator, const std::string& driverPath) {
  std::string list;
  AddPair(list, "DSN", creator.DSNNameOrAlias);
  if (!IsRemoveAction(creator.Action)) {
    AddPair(list, "Driver", driverPath);
    AddPair(list, "DefaultDir", creator.DatabaseFilePath);
    AddPair(list, "DriverID", IsAddAction(creator.Action) ? "27" : "1b,00,00,00");
    AddPair(list, "Description", creator.DSNUserDescription);
    AddPair(list, "Extensions", ReplaceAllNoCase(creator.FileExtensions, "*.", ""));
    AddPair(list, "FIL", OdbcDriverKind(kTextDriverIndex).shortName);
    AddPair(list, "UID", creator.UserID);
    list += OptionsText(creator);
  }
  list += '\0';
  return list;
}

bool TTextDSNCreator::Execute() {
  lastError_.clear();
  if (WorkingDir.empty()) WorkingDir = FolderPart(DatabaseFilePath);
  if (DSNNameOrAlias.empty()) {
    lastError_ = kBlankNameMessage;
    return false;
  }
  const std::string driverName = OdbcDriverKind(kTextDriverIndex).registeredName;
  std::string driverPath;
  if (!IsRemoveAction(Action)) {
    const std::optional<DriverRegistration> registration = ReadDriverRegistration(driverName);
    if (!registration) throw OdbcError(AvailabilityMessage(OdbcAvailability::NoTextDriver));
    driverPath = registration->driver;
  }
  const std::string list = AttributeList(*this, driverPath);
  return SQLConfigDataSource(nullptr, static_cast<WORD>(Action), driverName.c_str(), list.c_str()) != 0;
}

}  // namespace quorlin
