// The one way windows talk to the user: message boxes, file dialogs, the editor and sounds.
#pragma once

#include <QString>

class QWidget;

namespace quorlin {

inline constexpr const char* kApplicationTitle = "Quorlin";

struct FileDialogRequest {
  QString title;
  QString filter;       // Qt syntax: "Text Files (*.txt);;All Files (*)"
  QString initialFile;  // full path, or empty
  bool mustExist = true;
};

struct FileChoice {
  bool accepted = false;
  QString fileName;  // on cancel the request's initial file name
};

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // Information box with OK, captioned with the application title.
  virtual void Inform(const QString& text) = 0;
  // Confirmation box with Yes and No.
  virtual bool Confirm(const QString& text) = 0;
  // Question box with Yes and No under `caption`.
  virtual bool Ask(const QString& text, const QString& caption, bool defaultYes) = 0;
  virtual FileChoice ChooseOpenFile(const FileDialogRequest& request) = 0;
  // Starts `editor` on `path`; whether it started is not checked.
  virtual void OpenInEditor(const QString& editor, const QString& path) = 0;
  virtual void PlayTone(int hz, int ms) = 0;
  virtual void PlayPreset(int tune) = 0;
  // Keeps processing window events for `units` times 86.4 ms.
  virtual void Delay(int units) = 0;
  // The box of the general error handler: a command stopped with this message.
  virtual void ShowError(const QString& text) = 0;
};

class QtUserDialogs : public UserDialogs {
 public:
  void Inform(const QString& text) override;
  bool Confirm(const QString& text) override;
  bool Ask(const QString& text, const QString& caption, bool defaultYes) override;
  FileChoice ChooseOpenFile(const FileDialogRequest& request) override;
  void OpenInEditor(const QString& editor, const QString& path) override;
  void PlayTone(int hz, int ms) override;
  void PlayPreset(int tune) override;
  void Delay(int units) override;
  void ShowError(const QString& text) override;
};

}  // namespace quorlin
