#include "app/user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace quorlin {

namespace {

QWidget* DialogParent() { return QApplication::activeWindow(); }

}  // namespace

void QtUserDialogs::Inform(const QString& text) {
  QMessageBox::information(DialogParent(), kApplicationTitle, text, QMessageBox::Ok);
}

void QtUserDialogs::Warn(const QString& text) {
  QMessageBox::warning(DialogParent(), kApplicationTitle, text, QMessageBox::Ok);
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

Answer QtUserDialogs::Offer(const QString& text) {
  const auto button = QMessageBox::information(
      DialogParent(), kApplicationTitle, text,
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (button == QMessageBox::Yes) return Answer::Yes;
  return button == QMessageBox::No ? Answer::No : Answer::Cancel;
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

FileChoice QtUserDialogs::ChooseSaveFile(const FileDialogRequest& request) {
  QFileDialog dialog(DialogParent(), request.title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The commands ask their own overwrite question, with their own texts.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(request.filter);
  if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.initialFile.isEmpty()) dialog.selectFile(request.initialFile);
  FileChoice choice{false, request.initialFile};
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    choice.accepted = true;
    choice.fileName = dialog.selectedFiles().first();
  }
  return choice;
}

void QtUserDialogs::ShowError(const QString& text) {
  QMessageBox::critical(DialogParent(), kApplicationTitle, text, QMessageBox::Ok);
}

}  // namespace quorlin
