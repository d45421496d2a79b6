#include "app/window_placement.h"

#include <QWidget>

#include "platform/profile_file.h"
#include "platform/settings.h"

namespace quorlin {

void SavePlacement(const std::string& settingsPath, const QWidget& window) {
  ProfileFile settings(settingsPath);
  SavePlacement(settings, window.objectName().toStdString(),
                {window.x(), window.y(), window.width(), window.height()});
}

void RestorePlacement(const std::string& settingsPath, QWidget& window) {
  const StoredPlacement stored = ReadPlacement(ProfileFile(settingsPath), window.objectName().toStdString());
  // Each value goes in at once, so the size the window system allows is the one the next uses.
  const WindowBounds placed = PlacedBounds(stored, {window.x(), window.y(), window.width(), window.height()});
  window.move(placed.left, window.y());
  window.move(window.x(), placed.top);
  window.resize(placed.width, window.height());
  window.resize(window.width(), placed.height);
}

}  // namespace quorlin
