// What the main window is given instead of globals.
#pragma once

#include <string>

#include "platform/locale_settings.h"

namespace quorlin {

class Launcher;
class ReportPrinter;
class SoundEffects;
class UserDialogs;

struct AppEnvironment {
  std::string programFolder;  // ends with "/"
  std::string settingsPath;   // the Quorlin.INI in use
  std::string homeFolder;     // ends with "/"; where the tree goes when nothing else is known
  LocaleSettings locale;
  std::string startPath;      // a folder or file named on the command line, or empty
  UserDialogs* dialogs = nullptr;
  SoundEffects* sounds = nullptr;
  Launcher* launcher = nullptr;
  ReportPrinter* printer = nullptr;
};

}  // namespace quorlin
