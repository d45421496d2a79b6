// Program entry: the main window with the desktop's dialogs, sounds and programs.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <clocale>
#include <cstdlib>

#include "app/context_help_key.h"
#include "app/display_text.h"
#include "app/help_topics.h"
#include "app/launcher.h"
#include "app/main_window.h"
#include "app/report_printer.h"
#include "app/sound_effects.h"
#include "app/user_dialogs.h"
#include "platform/file_version.h"
#include "platform/folder_files.h"
#include "platform/settings_location.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  QApplication application(argc, argv);
  QApplication::setApplicationName(quorlin::kApplicationTitle);
  QApplication::setApplicationVersion(QString::fromStdString(quorlin::FileVersionText()));
  // The installed icon, drawn for every size the desktop asks for, and the desktop entry it
  // belongs to, so that docks and task bars show the program's own.
  QApplication::setDesktopFileName("org.quorlin.Quorlin");
  QApplication::setWindowIcon(QIcon::fromTheme("org.quorlin.Quorlin"));

  quorlin::QtUserDialogs dialogs;
  quorlin::QtSoundEffects sounds;
  quorlin::QtReportPrinter printer;
  quorlin::AppEnvironment environment;
  const QString programFolder = QApplication::applicationDirPath();
  environment.programFolder = quorlin::WithTrailingSlash(quorlin::PathBytes(programFolder));
  quorlin::DesktopLauncher launcher(quorlin::FindHelpFolder(environment.programFolder));
  quorlin::ContextHelpKey helpKey(launcher);
  application.installEventFilter(&helpKey);
  environment.settingsPath = quorlin::SettingsFilePath(
      environment.programFolder, quorlin::UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
  environment.homeFolder = quorlin::WithTrailingSlash(quorlin::PathBytes(QDir::homePath()));
  environment.locale = quorlin::SystemLocaleSettings();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) environment.startPath = quorlin::PathBytes(arguments.at(1));
  environment.dialogs = &dialogs;
  environment.sounds = &sounds;
  environment.launcher = &launcher;
  environment.printer = &printer;

  quorlin::TfrmQuorlin window(environment);
  window.show();
  return application.exec();
}
