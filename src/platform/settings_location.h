// Where the program keeps its settings files: beside itself, or in the user's configuration folder.
#pragma once

#include <string>

namespace quorlin {

// The user's configuration folder for Quorlin: $XDG_CONFIG_HOME/Quorlin, else
// $HOME/.config/Quorlin (either may be null or empty).
std::string UserConfigFolder(const char* xdgConfigHome, const char* home);

// Whether the program of `programFolder` is installed: its share/quorlin folder is beside the
// folder of programs (as /usr/bin and /usr/share/quorlin are).
bool IsInstalledProgramFolder(const std::string& programFolder);

// Quorlin.INI beside the program when it runs from its build or unpacked folder and that
// folder can be written; else, and always for an installed program, in `userConfigFolder`,
// which is created when missing. An existing file is found without regard
// to the letter case of its name.
std::string SettingsFilePath(const std::string& programFolder, const std::string& userConfigFolder);

}  // namespace quorlin
