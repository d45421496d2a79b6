// The DSN dialog's flows, written once for the window and the command line.
#include "odbc/text_dsn_commands.h"

#include <algorithm>

#include "odbc/odbc_driver_table.h"
#include "odbc/odbc_ini_file.h"
#include "platform/ascii_case.h"
#include "platform/folder_files.h"
#include "schema/schema_list.h"

namespace quorlin {

namespace {

DsnAction InScope(DsnAction systemAction, DsnScope scope) {
  if (scope == DsnScope::System) return systemAction;
  switch (systemAction) {
    case DsnAction::AddSystem:
      return DsnAction::AddUser;
    case DsnAction::ConfigureSystem:
      return DsnAction::ConfigureUser;
    case DsnAction::RemoveSystem:
      return DsnAction::RemoveUser;
    default:
      return systemAction;
  }
}

// A data source of the name that another driver owns: it is never removed or rewritten.
bool BelongsToAnotherDriver(const std::string& name, DsnScope scope) {
  if (name.empty()) return false;
  const ConfigModeScope mode(scope);
  return DataSourceExists(name) && !DataSourceBelongsTo(name, kTextDriverName);
}

bool Run(TextDsnCreator& creator, DsnAction action, TextDsnOutcome& outcome) {
  creator.action = action;
  const bool done = creator.Execute();
  if (!creator.LastError().empty()) outcome.errorBoxes.push_back(creator.LastError());
  return done;
}

// The creator's properties that Add and Configure set alike.
void TakeBoxes(TextDsnCreator& creator, const TextDsnRequest& request, TextDsnOutcome& outcome) {
  outcome.name = DsnNameFromBox(request.name);
  creator.dataFolder = WithTrailingSlash(request.folder);
  creator.workingFolder = creator.dataFolder;
  creator.dsnName = outcome.name;
  creator.description = request.description;
  creator.fileExtensions = CleanExtensions(request.extensions);
  creator.userId.clear();
  creator.password.clear();
}

// A name or value that odbc.ini cannot hold as it is refuses the command before anything is
// written; the refusal is shown before the failure message.
bool Refused(const std::string& name, const DataSourceKeys& keys, TextDsnOutcome& outcome) {
  const std::optional<std::string> refusal = DataSourceRefusal(name, keys);
  if (!refusal) return false;
  outcome.refused = true;
  outcome.errorBoxes.push_back(*refusal);
  return true;
}

// The values of the boxes as odbc.ini gets them.
DataSourceKeys BoxKeys(const TextDsnCreator& creator) {
  return {{"DefaultDir", creator.dataFolder},
          {"Description", creator.description},
          {"Extensions", creator.fileExtensions}};
}

}  // namespace

TextDsnCreator DialogDsnCreator(const std::string& homeFolder) {
  TextDsnCreator creator(homeFolder);
  creator.description = "Quorlin DSN";
  creator.userId = "Admin";
  return creator;
}

std::string DsnNameFromBox(const std::string& text) {
  std::string name = text;
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}

std::string CleanExtensions(const std::string& text) {
  std::string cleaned = ReplaceAllNoCase(AsciiLower(text), "*.", "");
  std::replace(cleaned.begin(), cleaned.end(), ';', ',');
  return cleaned;
}

TextDsnOutcome AddTextDsn(TextDsnCreator& creator, const TextDsnRequest& request, DsnScope scope) {
  TextDsnOutcome outcome;
  outcome.extensions = request.extensions;
  TakeBoxes(creator, request, outcome);
  outcome.message = kDsnCreationFailedMessage;
  if (Refused(outcome.name, BoxKeys(creator), outcome)) return outcome;
  if (BelongsToAnotherDriver(outcome.name, scope)) return outcome;
  // An existing data source of the text driver is replaced; its removal may fail harmlessly.
  // Without a name there is none to replace, and the add alone says so, once.
  if (!outcome.name.empty()) Run(creator, InScope(DsnAction::RemoveSystem, scope), outcome);
  outcome.extensions = creator.fileExtensions;
  creator.implicitCommitSync = "Yes";
  creator.safeTransactions = 5;
  creator.threads = 3;
  creator.userCommitSync = true;
  outcome.ok = Run(creator, InScope(DsnAction::AddSystem, scope), outcome);
  if (outcome.ok) outcome.message = kDsnCreatedMessage;
  return outcome;
}

TextDsnOutcome ConfigureTextDsn(TextDsnCreator& creator, const TextDsnRequest& request, DsnScope scope) {
  TextDsnOutcome outcome;
  outcome.extensions = request.extensions;
  TakeBoxes(creator, request, outcome);
  creator.threads = 5;
  creator.implicitCommitSync = "Yes";
  creator.userCommitSync = false;
  creator.safeTransactions = 2;
  outcome.message = kDsnConfigurationFailedMessage;
  if (Refused(outcome.name, BoxKeys(creator), outcome)) return outcome;
  if (BelongsToAnotherDriver(outcome.name, scope)) return outcome;
  outcome.ok = Run(creator, InScope(DsnAction::ConfigureSystem, scope), outcome);
  if (outcome.ok) {
    outcome.message = kDsnReconfiguredMessage;
    outcome.extensions = creator.fileExtensions;
  }
  return outcome;
}

TextDsnOutcome RemoveTextDsn(TextDsnCreator& creator, const std::string& nameBox, DsnScope scope) {
  TextDsnOutcome outcome;
  outcome.name = DsnNameFromBox(nameBox);
  creator.dsnName = outcome.name;
  outcome.message = kDsnRemovalFailedMessage;
  if (Refused(outcome.name, {}, outcome)) return outcome;
  if (BelongsToAnotherDriver(outcome.name, scope)) return outcome;
  outcome.ok = Run(creator, InScope(DsnAction::RemoveSystem, scope), outcome);
  if (outcome.ok) outcome.message = kDsnRemovedMessage;
  return outcome;
}

std::vector<std::string> DsnTableList(const std::string& folder, const std::string& extensionsText) {
  const std::string extensions = AsciiLower(extensionsText);
  std::vector<std::string> tables;
  for (const std::string& section : ListSchemaSections(folder)) {
    const std::string tail = AsciiLower(section.size() > 3 ? section.substr(section.size() - 3) : section);
    if (extensions.find(tail) != std::string::npos) tables.push_back(section);
  }
  return tables;
}

}  // namespace quorlin
