// A window's position and size kept in section GUI of the settings file.
#pragma once

#include <string>

class QWidget;

namespace quorlin {

// Writes the window's left, top, width and height as <name>Left, <name>Top, <name>Width and
// <name>Height, where <name> is the window's object name.
void SavePlacement(const std::string& settingsPath, const QWidget& window);

// Reads them back and applies them in the same order, each missing value leaving the window's
// own; the window system keeps the window's minimum size.
void RestorePlacement(const std::string& settingsPath, QWidget& window);

}  // namespace quorlin
