#include "app/user_dialogs.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

namespace quorlin {

namespace {

QWidget* DialogParent() { return QApplication::activeWindow(); }

}  // namespace

void QtUserDialogs::Inform(const QString& text) {
  QMessageBox::information(DialogParent(), kApplicationTitle, text, QMessageBox::Ok);
}

bool QtUserDialogs::Confirm(const QString& text) {
  return QMessageBox::question(DialogParent(), kApplicationTitle, text,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtUserDialogs::Ask(const QString& text, const QString& caption, bool defaultYes) {
  return QMessageBox::question(DialogParent(), caption, text, QMessageBox::Yes | QMessageBox::No,
                               defaultYes ? QMessageBox::Yes : QMessageBox::No) ==
         QMessageBox::Yes;
}

FileChoice QtUserDialogs::ChooseOpenFile(const FileDialogRequest& request) {
  QFileDialog dialog(DialogParent(), request.title);
  dialog.setNameFilter(request.filter);
  dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!request.initialFile.isEmpty()) dialog.selectFile(request.initialFile);
  FileChoice choice{false, request.initialFile};
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    choice.accepted = true;
    choice.fileName = dialog.selectedFiles().first();
  }
  return choice;
}

void QtUserDialogs::OpenInEditor(const QString& editor, const QString& path) {
  QProcess::startDetached(editor, {path});
}

// Sounds come with the sound player; until then they are silent.
void QtUserDialogs::PlayTone(int, int) {}

void QtUserDialogs::PlayPreset(int) {}

// A local event loop handles the user's clicks meanwhile and, unlike polling, leaves the
// processor idle while it waits.
void QtUserDialogs::Delay(int units) {
  QEventLoop waiting;
  QTimer::singleShot(static_cast<int>(static_cast<qint64>(units) * 864 / 10), &waiting,
                     &QEventLoop::quit);
  waiting.exec();
}

void QtUserDialogs::ShowError(const QString& text) {
  QMessageBox::critical(DialogParent(), kApplicationTitle, text, QMessageBox::Ok);
}

}  // namespace quorlin
