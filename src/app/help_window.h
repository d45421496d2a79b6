// The window that shows the help pages, with their links, Back, Forward and Contents.
#pragma once

#include <QWidget>
#include <string>

class QTextBrowser;

namespace quorlin {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // `helpFolder` ends with "/".
  explicit HelpWindow(std::string helpFolder, QWidget* parent = nullptr);

  // Shows `page`, "name.html" or "name.html#anchor", relative to the help folder.
  void ShowPage(const std::string& page);

 private:
  std::string helpFolder_;
  QTextBrowser* helpBrowser = nullptr;
};

}  // namespace quorlin
