// Starting other programs for the user: the text editor, the web browser, the help.
#pragma once

#include <QPointer>
#include <QString>
#include <string>

namespace quorlin {

class HelpWindow;

class Launcher {
 public:
  virtual ~Launcher() = default;

  // Starts `editor` on `path`; whether it started is not checked.
  virtual void OpenInEditor(const QString& editor, const QString& path) = 0;
  // Opens `url` in the desktop's web browser; false when no browser could be started.
  virtual bool OpenUrl(const QString& url) = 0;
  // Opens the help at the topic of `helpContext`, or at its contents page for 0.
  virtual void OpenHelp(int helpContext) = 0;
};

class DesktopLauncher : public Launcher {
 public:
  // `helpFolder` holds the help pages (FindHelpFolder); empty when they could not be found.
  explicit DesktopLauncher(std::string helpFolder);
  ~DesktopLauncher() override;

  void OpenInEditor(const QString& editor, const QString& path) override;
  bool OpenUrl(const QString& url) override;
  void OpenHelp(int helpContext) override;

 private:
  std::string helpFolder_;
  QPointer<HelpWindow> helpWindow_;
};

}  // namespace quorlin
