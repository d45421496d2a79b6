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

bool IsAddAction(DsnAction action) {
  return action == DsnAction::AddUser || action == DsnAction::AddSystem;
}

bool IsRemoveAction(DsnAction action) {
  return action == DsnAction::RemoveUser || action == DsnAction::RemoveSystem ||
         action == DsnAction::RemoveDefault;
}

// The folder part of a path: everything up to its last "/".
std::string FolderPart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

TextDsnCreator::TextDsnCreator(const std::string& homeFolder)
    : dataFolder(homeFolder), workingFolder(homeFolder) {}

std::optional<std::string> TextDsnCreator::SetMaxBufferSize(int value) {
  if (value % 512 == 0) {
    maxBufferSize_ = value;
    return std::nullopt;
  }
  maxBufferSize_ = kDefaultMaxBufferSize;
  return "Value of optMaxBufferSize MUST be a multiple of 512! Resetting value to default of 2048.";
}

std::string OptionsText(const TextDsnCreator& creator) {
  std::string text;
  AddPair(text, "ImplicitCommitSync", creator.implicitCommitSync);
  AddPair(text, "MaxBufferSize", std::to_string(creator.MaxBufferSize()));
  AddPair(text, "MaxScanRows", std::to_string(creator.maxScanRows));
  AddPair(text, "PageTimeout", std::to_string(creator.pageTimeout));
  AddPair(text, "ReadOnly", creator.readOnly ? "1" : "0");
  AddPair(text, "Exclusive", creator.exclusive ? "1" : "0");
  AddPair(text, "SafeTransactions", std::to_string(creator.safeTransactions));
  AddPair(text, "Threads", std::to_string(creator.threads));
  AddPair(text, "UserCommitSync", creator.userCommitSync ? "Yes" : "No");
  return text;
}

std::string AttributeList(const TextDsnCreator& creator, const std::string& driverPath) {
  std::string list;
  AddPair(list, "DSN", creator.dsnName);
  if (!IsRemoveAction(creator.action)) {
    AddPair(list, "Driver", driverPath);
    AddPair(list, "DefaultDir", creator.dataFolder);
    AddPair(list, "DriverID", IsAddAction(creator.action) ? "27" : "1b,00,00,00");
    AddPair(list, "Description", creator.description);
    AddPair(list, "Extensions", ReplaceAllNoCase(creator.fileExtensions, "*.", ""));
    AddPair(list, "FIL", OdbcDriverKind(kTextDriverIndex).shortName);
    AddPair(list, "UID", creator.userId);
    list += OptionsText(creator);
  }
  list += '\0';
  return list;
}

bool TextDsnCreator::Execute() {
  lastError_.clear();
  if (workingFolder.empty()) workingFolder = FolderPart(dataFolder);
  if (dsnName.empty()) {
    lastError_ = kBlankNameMessage;
    return false;
  }
  const std::string driverName = OdbcDriverKind(kTextDriverIndex).registeredName;
  std::string driverPath;
  if (!IsRemoveAction(action)) {
    const std::optional<DriverRegistration> registration = ReadDriverRegistration(driverName);
    if (!registration) throw OdbcError(AvailabilityMessage(OdbcAvailability::NoTextDriver));
    driverPath = registration->driver;
  }
  const std::string list = AttributeList(*this, driverPath);
  return SQLConfigDataSource(nullptr, static_cast<WORD>(action), driverName.c_str(), list.c_str()) != 0;
}

}  // namespace quorlin
