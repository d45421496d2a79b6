// A window's position and size kept in section GUI of the settings file, and where a window
// that belongs to another one first appears.
#pragma once

#include <string>

class QWidget;

namespace quorlin {

// Writes the window's left, top, width and height as <name>Left, <name>Top, <name>Width and
// <name>Height, where <name> is the window's object name.
void SavePlacement(const std::string& settingsPath, const QWidget& window);

// Reads them back and applies them in the same order, each missing value leaving the window's
// own; the window system keeps the window's minimum size. A window whose top edge then lies
// off every screen is moved onto the primary screen.
void RestorePlacement(const std::string& settingsPath, QWidget& window);

// A window opened from `owner`: at its stored place when the settings keep one (as
// RestorePlacement), otherwise with its stored or natural size centred over the owner.
void RestorePlacementOver(const std::string& settingsPath, QWidget& window, const QWidget* owner);

// Centres the window over `owner` (over the primary screen without one), within the screen.
void CentreOver(QWidget& window, const QWidget* owner);

}  // namespace quorlin
