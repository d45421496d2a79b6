#include "app/user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QSpacerItem>
#include <QTreeView>

namespace quorlin {

namespace {

QWidget* DialogParent() { return QApplication::activeWindow(); }

// Room in the title bar beside the caption: the window's icon and its buttons.
constexpr int kTitleBarControls = 160;

int Run(QMessageBox::Icon icon, const QString& caption, const QString& text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton) {
  const std::unique_ptr<QMessageBox> box = NewMessageBox(DialogParent(), icon, caption, text, buttons, defaultButton);
  return box->exec();
}

// What the open and the save dialog share.
FileChoice RunFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setNameFilter(request.filter);
  if (!request.initialFile.isEmpty()) dialog.selectFile(request.initialFile);
  PrepareFileDialog(dialog);
  FileChoice choice{false, request.initialFile};
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    choice.accepted = true;
    choice.fileName = dialog.selectedFiles().first();
  }
  return choice;
}

}  // namespace

std::unique_ptr<QMessageBox> NewMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) {
  auto box = std::make_unique<QMessageBox>(icon, caption, text, buttons, parent);
  box->setDefaultButton(defaultButton);
  // Addresses and file names in a message can be copied.
  box->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // The window manager cuts a caption that is wider than the box; the box widens instead.
  QFont titleFont = box->font();
  titleFont.setBold(true);
  const int wanted = QFontMetrics(titleFont).horizontalAdvance(caption) + kTitleBarControls;
  if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
  }
  return box;
}

// The dialog's tree of files: a column is as wide as what it shows. The dialog restores its
// columns from settings that every Qt program on the desktop shares, where another may have
// left them fixed and narrow.
void PrepareFileDialog(QFileDialog& dialog) {
  auto* files = dialog.findChild<QTreeView*>("treeView");
  if (files == nullptr) return;
  QHeaderView* header = files->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < header->count(); ++column) {
    header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

void QtUserDialogs::Inform(const QString& text) {
  Run(QMessageBox::Information, kApplicationTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtUserDialogs::Warn(const QString& text) {
  Run(QMessageBox::Warning, kApplicationTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtUserDialogs::Confirm(const QString& text) {
  return Run(QMessageBox::Question, kApplicationTitle, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
         QMessageBox::Yes;
}

bool QtUserDialogs::Ask(const QString& text, const QString& caption, bool defaultYes) {
  return Run(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
             defaultYes ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

Answer QtUserDialogs::Offer(const QString& text) {
  const int button = Run(QMessageBox::Information, kApplicationTitle, text,
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (button == QMessageBox::Yes) return Answer::Yes;
  return button == QMessageBox::No ? Answer::No : Answer::Cancel;
}

FileChoice QtUserDialogs::ChooseOpenFile(const FileDialogRequest& request) {
  QFileDialog dialog(DialogParent(), request.title);
  dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  return RunFileDialog(dialog, request);
}

FileChoice QtUserDialogs::ChooseSaveFile(const FileDialogRequest& request) {
  QFileDialog dialog(DialogParent(), request.title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The commands ask their own overwrite question, with their own texts.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
  return RunFileDialog(dialog, request);
}

void QtUserDialogs::ShowError(const QString& text) {
  Run(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

}  // namespace quorlin
