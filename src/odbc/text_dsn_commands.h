// Adding, reconfiguring and removing the text data source of a folder, and listing its tables:
// the work of the DSN dialog's buttons, which the command line does too.
#pragma once

#include <string>
#include <vector>

#include "odbc/data_source_files.h"
#include "odbc/text_dsn_creator.h"

namespace quorlin {

inline constexpr const char* kDsnCreatedMessage = "DSN Created";
inline constexpr const char* kDsnCreationFailedMessage = "DSN Creation Failed";
inline constexpr const char* kDsnReconfiguredMessage = "DSN Reconfigured";
inline constexpr const char* kDsnConfigurationFailedMessage = "DSN Configuration Failed";
inline constexpr const char* kDsnRemovedMessage = "DSN Removed";
inline constexpr const char* kDsnRemovalFailedMessage = "DSN Removal Failed";

// What the dialog's boxes start with.
inline constexpr const char* kDefaultDsnName = "MyTextDSN";
inline constexpr const char* kDefaultDsnDescription = "My Text DSN Description goes here";
inline constexpr const char* kDefaultDsnExtensions = "*.ASC,*.CSV,*.TAB,*.TXT";

// The creator as the dialog holds it.
TextDsnCreator DialogDsnCreator(const std::string& homeFolder);

struct TextDsnRequest {
  std::string folder;       // the data folder
  std::string name;         // the name box
  std::string description;  // the description box
  std::string extensions;   // the extensions box
};

struct TextDsnOutcome {
  bool ok = false;
  bool refused = false;                 // a name or value odbc.ini cannot hold: nothing was tried
  std::string message;                  // shown last, with the tone of success or failure
  std::vector<std::string> errorBoxes;  // the creator's refusals, shown before it
  std::string extensions;               // what the extensions box shows afterwards
  std::string name;                     // the name as sent, blanks made "_"
};

// Every blank of the name box becomes "_".
std::string DsnNameFromBox(const std::string& text);

// The extensions box as the data source gets it: lower case, "*." removed, ";" made ",".
std::string CleanExtensions(const std::string& text);

// Removes an existing data source of the name (only one of the text driver: a name of another
// driver refuses the add) and adds the folder's data source in `scope`.
TextDsnOutcome AddTextDsn(TextDsnCreator& creator, const TextDsnRequest& request, DsnScope scope);

// Reconfigures the data source of the name in `scope` for the folder.
TextDsnOutcome ConfigureTextDsn(TextDsnCreator& creator, const TextDsnRequest& request, DsnScope scope);

// Removes the data source of the name in `scope`, only when it is one of the text driver.
TextDsnOutcome RemoveTextDsn(TextDsnCreator& creator, const std::string& nameBox, DsnScope scope);

// The sections of the folder's Schema.INI whose last three characters, lower-cased, occur in
// the lower-cased extensions text, in the schema list's order.
std::vector<std::string> DsnTableList(const std::string& folder, const std::string& extensionsText);

}  // namespace quorlin
