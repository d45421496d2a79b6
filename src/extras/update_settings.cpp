#include "extras/update_settings.h"

#include "platform/profile_file.h"

namespace quorlin {

UpdateSettings ReadUpdateSettings(const std::string& path, const WindowBounds& design) {
  const ProfileFile file(path);
  UpdateSettings settings;
  settings.useProxy = file.ReadBool("Updates", "UseProxy", false);
  settings.proxyHost = file.ReadString("Updates", "ProxyHost", "");
  settings.proxyPort = file.ReadInteger("Updates", "ProxyPort", 80);
  settings.bounds.top = static_cast<int>(file.ReadInteger("Position", "Top", design.top));
  settings.bounds.left = static_cast<int>(file.ReadInteger("Position", "Left", design.left));
  settings.bounds.height = static_cast<int>(file.ReadInteger("Position", "High", design.height));
  settings.bounds.width = static_cast<int>(file.ReadInteger("Position", "Wide", design.width));
  return settings;
}

void PrintTo(const UpdateSettings& settings, std::ostream* out) {
  const WindowBounds& bounds = settings.bounds;
  *out << "{UseProxy " << settings.useProxy << ", ProxyHost \"" << settings.proxyHost
       << "\", ProxyPort " << settings.proxyPort << ", Top " << bounds.top << ", Left "
       << bounds.left << ", High " << bounds.height << ", Wide " << bounds.width << "}";
}

void WriteUpdateSettings(const std::string& path, const UpdateSettings& settings) {
  ProfileFile file(path);
  file.WriteBool("Updates", "UseProxy", settings.useProxy);
  file.WriteString("Updates", "ProxyHost", settings.proxyHost);
  file.WriteInteger("Updates", "ProxyPort", settings.proxyPort);
  file.WriteInteger("Position", "Top", settings.bounds.top);
  file.WriteInteger("Position", "Left", settings.bounds.left);
  file.WriteInteger("Position", "High", settings.bounds.height);
  file.WriteInteger("Position", "Wide", settings.bounds.width);
}

}  // namespace quorlin
