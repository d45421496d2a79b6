#include "app/window_placement.h"

#include <QWidget>

#include "platform/profile_file.h"

namespace quorlin {

namespace {

constexpr const char* kSection = "GUI";

std::string Key(const QWidget& window, const char* label) {
  return window.objectName().toStdString() + label;
}

}  // namespace

void SavePlacement(const std::string& settingsPath, const QWidget& window) {
  ProfileFile settings(settingsPath);
  settings.WriteInteger(kSection, Key(window, "Left"), window.x());
  settings.WriteInteger(kSection, Key(window, "Top"), window.y());
  settings.WriteInteger(kSection, Key(window, "Width"), window.width());
  settings.WriteInteger(kSection, Key(window, "Height"), window.height());
}

void RestorePlacement(const std::string& settingsPath, QWidget& window) {
  const ProfileFile settings(settingsPath);
  const auto read = [&](const char* label, int current) {
    return static_cast<int>(settings.ReadInteger(kSection, Key(window, label), current));
  };
  window.move(read("Left", window.x()), window.y());
  window.move(window.x(), read("Top", window.y()));
  window.resize(read("Width", window.width()), window.height());
  window.resize(window.width(), read("Height", window.height()));
}

}  // namespace quorlin
