// Program entry: the main window on the settings file beside the program, or in the user's
// configuration folder when the program's folder cannot be written.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <clocale>

#include "app/context_help_key.h"
#include "app/display_text.h"
#include "app/help_topics.h"
#include "app/launcher.h"
#include "app/main_window.h"
#include "app/sound_effects.h"
#include "app/user_dialogs.h"
#include "platform/file_version.h"
#include "platform/folder_files.h"

namespace {

std::string SettingsPath(const QString& programFolder) {
  const QFileInfo folder(programFolder);
  if (folder.isWritable()) return quorlin::FindInFolderNoCase(quorlin::PathBytes(programFolder) + "/", "Quorlin.INI");
  const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  QDir().mkpath(config);
  return quorlin::FindInFolderNoCase(quorlin::PathBytes(config) + "/", "Quorlin.INI");
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  QApplication application(argc, argv);
  QApplication::setApplicationName(quorlin::kApplicationTitle);
  QApplication::setApplicationVersion(QString::fromStdString(quorlin::FileVersionText()));

  quorlin::QtUserDialogs dialogs;
  quorlin::QtSoundEffects sounds;
  quorlin::AppEnvironment environment;
  const QString programFolder = QApplication::applicationDirPath();
  environment.programFolder = quorlin::WithTrailingSlash(quorlin::PathBytes(programFolder));
  quorlin::DesktopLauncher launcher(quorlin::FindHelpFolder(environment.programFolder));
  quorlin::ContextHelpKey helpKey(launcher);
  application.installEventFilter(&helpKey);
  environment.settingsPath = SettingsPath(programFolder);
  environment.homeFolder = quorlin::WithTrailingSlash(quorlin::PathBytes(QDir::homePath()));
  environment.locale = quorlin::SystemLocaleSettings();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) environment.startPath = quorlin::PathBytes(arguments.at(1));
  environment.dialogs = &dialogs;
  environment.sounds = &sounds;
  environment.launcher = &launcher;

  quorlin::TfrmQuorlin window(environment);
  window.show();
  return application.exec();
}
