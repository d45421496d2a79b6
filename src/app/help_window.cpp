#include "app/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/display_text.h"
#include "app/help_topics.h"
#include "app/user_dialogs.h"

namespace quorlin {

HelpWindow::HelpWindow(std::string helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), helpFolder_(std::move(helpFolder)) {
  setObjectName("HelpWindow");
  setWindowTitle(QString(kApplicationTitle) + " Help");
  helpBrowser = new QTextBrowser(this);
  helpBrowser->setObjectName("helpBrowser");
  // Pages of the help open here; addresses on the web go to the browser.
  helpBrowser->setOpenExternalLinks(true);
  auto* contents = new QPushButton("&Contents", this);
  contents->setObjectName("cmdContents");
  auto* back = new QPushButton("&Back", this);
  back->setObjectName("cmdBack");
  auto* forward = new QPushButton("&Forward", this);
  forward->setObjectName("cmdForward");
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QPushButton::clicked, this, [this] { ShowPage(HelpPageFor(kHelpContents)); });
  connect(back, &QPushButton::clicked, helpBrowser, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, helpBrowser, &QTextBrowser::forward);
  connect(helpBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(helpBrowser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(helpBrowser, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = helpBrowser->documentTitle();
    setWindowTitle(QString(kApplicationTitle) + " Help" + (title.isEmpty() ? "" : " - " + title));
  });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(helpBrowser);
  resize(640, 560);
}

void HelpWindow::ShowPage(const std::string& page) {
  const std::size_t hash = page.find('#');
  QUrl url = QUrl::fromLocalFile(DisplayText(helpFolder_ + page.substr(0, hash)));
  if (hash != std::string::npos) url.setFragment(QString::fromStdString(page.substr(hash + 1)));
  helpBrowser->setSource(url);
}

}  // namespace quorlin
