#include "app/launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace quorlin {

void DesktopLauncher::OpenInEditor(const QString& editor, const QString& path) {
  QProcess::startDetached(editor, {path});
}

void DesktopLauncher::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

// The help pages come with the help window; until then there is nothing to open.
void DesktopLauncher::OpenHelp(int) {}

}  // namespace quorlin
