#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/profile_file.h"
#include "platform/settings.h"

namespace quorlin {

namespace {

// The strip along the window's top edge by which the user drags it about.
constexpr int kGrabStripHeight = 24;

// A placement stored on a screen that is gone, or by hand, can put the window where the user
// can neither see nor grab it; such a window goes to the primary screen's top left corner.
void KeepOnAScreen(QWidget& window) {
  const QRect grabStrip(window.pos(), QSize(window.width(), kGrabStripHeight));
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(grabStrip)) return;
  }
  if (const QScreen* primary = QGuiApplication::primaryScreen()) window.move(primary->availableGeometry().topLeft());
}

}  // namespace

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
  KeepOnAScreen(window);
}

}  // namespace quorlin
