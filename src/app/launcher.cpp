#include "app/launcher.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "app/help_topics.h"
#include "app/help_window.h"
#include "app/user_dialogs.h"
#include "app/window_placement.h"

namespace quorlin {

DesktopLauncher::DesktopLauncher(std::string helpFolder) : helpFolder_(std::move(helpFolder)) {}

DesktopLauncher::~DesktopLauncher() { delete helpWindow_.data(); }

void DesktopLauncher::OpenInEditor(const QString& editor, const QString& path) {
  QProcess::startDetached(editor, {path});
}

bool DesktopLauncher::OpenUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }

void DesktopLauncher::OpenHelp(int helpContext) {
  if (helpFolder_.empty()) {
    NewMessageBox(QApplication::activeWindow(), QMessageBox::Warning, kApplicationTitle,
                  "The help pages cannot be found.", QMessageBox::Ok, QMessageBox::Ok)
        ->exec();
    return;
  }
  // A modal dialog blocks every window but its own: the help it asks for becomes one of them.
  QWidget* owner = QApplication::activeModalWidget();
  if (helpWindow_ && helpWindow_->parentWidget() != owner) delete helpWindow_.data();
  if (!helpWindow_) {
    helpWindow_ = new HelpWindow(helpFolder_, owner);
    CentreOver(*helpWindow_, owner != nullptr ? owner : QApplication::activeWindow());
  }
  helpWindow_->ShowPage(HelpPageFor(helpContext));
  helpWindow_->show();
  helpWindow_->raise();
  helpWindow_->activateWindow();
}

}  // namespace quorlin
