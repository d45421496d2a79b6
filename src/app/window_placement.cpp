#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "app/window_settings.h"
#include "platform/profile_file.h"

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

void ApplyBounds(QWidget& window, const WindowBounds& placed) {
  // Each value goes in at once, so the size the window system allows is the one the next uses.
  window.move(placed.left, window.y());
  window.move(window.x(), placed.top);
  window.resize(placed.width, window.height());
  window.resize(window.width(), placed.height);
}

}  // namespace

void SavePlacement(const std::string& settingsPath, const QWidget& window) {
  ProfileFile settings(settingsPath);
  SavePlacement(settings, window.objectName().toStdString(),
                {window.x(), window.y(), window.width(), window.height()});
}

void RestorePlacement(const std::string& settingsPath, QWidget& window) {
  const StoredPlacement stored = ReadPlacement(ProfileFile(settingsPath), window.objectName().toStdString());
  ApplyBounds(window, PlacedBounds(stored, {window.x(), window.y(), window.width(), window.height()}));
  KeepOnAScreen(window);
}

void RestorePlacementOver(const std::string& settingsPath, QWidget& window, const QWidget* owner) {
  const StoredPlacement stored = ReadPlacement(ProfileFile(settingsPath), window.objectName().toStdString());
  if (stored.left || stored.top) {
    RestorePlacement(settingsPath, window);
    return;
  }
  if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
  ApplyBounds(window, PlacedBounds(stored, {window.x(), window.y(), window.width(), window.height()}));
  CentreOver(window, owner);
}

void CentreOver(QWidget& window, const QWidget* owner) {
  const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QRect over = owner != nullptr ? owner->frameGeometry() : area;
  // A window taller or wider than the screen would put its buttons out of reach.
  window.resize(std::min(window.width(), area.width()), std::min(window.height(), area.height()));
  QRect placed(QPoint(0, 0), window.frameGeometry().size().boundedTo(area.size()));
  placed.moveCenter(over.center());
  placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() + 1 - placed.width()));
  placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - placed.height()));
  window.move(placed.topLeft());
}

}  // namespace quorlin
