// F1 anywhere in the program: the help topic of the menu item, control or window at hand.
#pragma once

#include <QObject>
#include <span>

class QWidget;

namespace quorlin {

class Launcher;
struct ControlHelp;

// Gives each control of `window` named in `controls` its help-context number.
void SetHelpContexts(QWidget& window, std::span<const ControlHelp> controls);

// The help-context number of `widget`: for an open menu or an active menu bar the item under
// the highlight, else the nearest number up the widget's parents, else its window's; 0 (the
// contents) when nothing carries one.
int HelpContextAt(QWidget* widget);

// Installed on the application, it answers F1 with Launcher::OpenHelp.
class ContextHelpKey : public QObject {
  Q_OBJECT

 public:
  explicit ContextHelpKey(Launcher& launcher, QObject* parent = nullptr)
      : QObject(parent), launcher_(launcher) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Launcher& launcher_;
};

}  // namespace quorlin
