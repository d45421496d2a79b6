#include "app/context_help_key.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <cstring>

#include "app/help_topics.h"
#include "app/launcher.h"

namespace quorlin {

namespace {

constexpr const char* kProperty = "helpContext";

int NumberOf(const QObject* object) {
  const QVariant number = object != nullptr ? object->property(kProperty) : QVariant();
  return number.isValid() ? number.toInt() : -1;
}

int HighlightedItemNumber(QWidget* widget) {
  QAction* item = nullptr;
  if (auto* menu = qobject_cast<QMenu*>(widget)) {
    item = menu->activeAction() != nullptr ? menu->activeAction() : menu->menuAction();
  } else if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
    item = bar->activeAction();
  }
  return NumberOf(item);
}

// Dialogs that carry no number of their own are known by their class.
int WindowNumber(const QWidget* window) {
  const char* name = window->metaObject()->className();
  if (std::strcmp(name, "quorlin::TfrmExportData") == 0) return kHelpExportDialog;
  if (std::strcmp(name, "quorlin::TfrmTestTextDSN") == 0) return kHelpDsnDialog;
  return -1;
}

}  // namespace

void SetHelpContexts(QWidget& window, std::span<const ControlHelp> controls) {
  for (const ControlHelp& control : controls) {
    if (QWidget* widget = window.findChild<QWidget*>(control.objectName)) {
      widget->setProperty(kProperty, control.context);
    }
  }
}

int HelpContextAt(QWidget* widget) {
  if (const int item = HighlightedItemNumber(widget); item >= 0) return item;
  for (QWidget* at = widget; at != nullptr; at = at->parentWidget()) {
    if (const int number = NumberOf(at); number >= 0) return number;
    if (const int number = WindowNumber(at); number >= 0) return number;
  }
  return kHelpContents;
}

bool ContextHelpKey::eventFilter(QObject* watched, QEvent* event) {
  // The key reaches the window system's window first and then the widget: the widget answers.
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
      static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) {
    return false;
  }
  launcher_.OpenHelp(HelpContextAt(static_cast<QWidget*>(watched)));
  return true;
}

}  // namespace quorlin
