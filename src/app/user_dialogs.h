// The one way windows ask and tell the user: message boxes and file dialogs.
#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

class QFileDialog;
class QWidget;

namespace quorlin {

inline constexpr const char* kApplicationTitle = "Quorlin";

struct FileDialogRequest {
  QString title;
  QString filter;       // Qt syntax: "Text Files (*.txt);;All Files (*)"
  QString initialFile;  // full path, or empty
  bool mustExist = true;
  QString defaultSuffix;  // save dialogs: appended to a name typed without one
};

enum class Answer { Yes, No, Cancel };

struct FileChoice {
  bool accepted = false;
  QString fileName;  // on cancel the request's initial file name
};

// A message box wide enough to show its whole caption in the title bar.
std::unique_ptr<QMessageBox> NewMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton);

// The dialog's file list shows its Size, Type and Date columns whole.
void PrepareFileDialog(QFileDialog& dialog);

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // Information box with OK, captioned with the application title.
  virtual void Inform(const QString& text) = 0;
  // Warning box (warning icon) with OK, captioned with the application title.
  virtual void Warn(const QString& text) = 0;
  // Confirmation box with Yes and No.
  virtual bool Confirm(const QString& text) = 0;
  // Question box with Yes and No under `caption`.
  virtual bool Ask(const QString& text, const QString& caption, bool defaultYes) = 0;
  // Information box with Yes, No and Cancel, captioned with the application title.
  virtual Answer Offer(const QString& text) = 0;
  virtual FileChoice ChooseOpenFile(const FileDialogRequest& request) = 0;
  // A file to write; the dialog itself never asks about overwriting, the command does.
  virtual FileChoice ChooseSaveFile(const FileDialogRequest& request) = 0;
  // The box of the general error handler: a command stopped with this message.
  virtual void ShowError(const QString& text) = 0;
};

class QtUserDialogs : public UserDialogs {
 public:
  void Inform(const QString& text) override;
  void Warn(const QString& text) override;
  bool Confirm(const QString& text) override;
  bool Ask(const QString& text, const QString& caption, bool defaultYes) override;
  Answer Offer(const QString& text) override;
  FileChoice ChooseOpenFile(const FileDialogRequest& request) override;
  FileChoice ChooseSaveFile(const FileDialogRequest& request) override;
  void ShowError(const QString& text) override;
};

}  // namespace quorlin
