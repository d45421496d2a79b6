#include "app/download_progress_window.h"

#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "extras/http_download.h"
#include "extras/transfer_text.h"

namespace quorlin {

namespace {

QLabel* Value(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

DownloadProgressWindow::DownloadProgressWindow(const QString& fileName, const QString& source,
                                               const QString& folder, TransferMonitor& monitor,
                                               QWidget* parent)
    : QDialog(parent), monitor_(monitor) {
  setObjectName("frmDownloading");
  setWindowTitle("Downloading");
  setProperty("helpContext", 1360);
  auto* form = new QFormLayout;
  form->addRow("File :", Value(fileName, this));
  form->addRow("from", Value(source, this));
  form->addRow("to", Value(folder, this));
  lblProgress = Value("", this);
  lblProgress->setObjectName("lblProgress");
  form->addRow("Progress :", lblProgress);
  barProgress = new QProgressBar(this);
  barProgress->setObjectName("barProgress");
  barProgress->setTextVisible(false);
  form->addRow("", barProgress);
  lblRate = Value("", this);
  lblRate->setObjectName("lblRate");
  form->addRow("Transfer rate :", lblRate);
  lblTimeLeft = Value("", this);
  lblTimeLeft->setObjectName("lblTimeLeft");
  form->addRow("Estimated time left :", lblTimeLeft);
  btnCancel = new QPushButton("Cancel", this);
  btnCancel->setObjectName("btnCancel");
  connect(btnCancel, &QPushButton::clicked, this, &DownloadProgressWindow::btnCancelClick);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(btnCancel, 0, Qt::AlignRight);
  setMinimumWidth(420);
  clock_.start();
  Refresh();
}

void DownloadProgressWindow::Refresh() {
  const std::int64_t received = monitor_.received;
  const std::int64_t total = monitor_.total;
  const double seconds = static_cast<double>(clock_.elapsed()) / 1000;
  const double rate = seconds > 0 ? static_cast<double>(received) / seconds : 0;
  QString progress = QString::fromStdString(AmountText(received));
  if (total > 0) progress += " of " + QString::fromStdString(AmountText(total));
  lblProgress->setText(progress);
  lblRate->setText(QString::fromStdString(RateText(rate)));
  lblTimeLeft->setText(
      QString::fromStdString(TimeLeftText(total > 0 ? total - received : -1, rate)));
  // A size not known yet leaves the bar busy rather than at a made-up share.
  if (total > 0) {
    barProgress->setRange(0, 1000);
    barProgress->setValue(static_cast<int>(received * 1000 / total));
  } else {
    barProgress->setRange(0, 0);
  }
}

void DownloadProgressWindow::reject() { btnCancelClick(); }

void DownloadProgressWindow::btnCancelClick() {
  monitor_.cancel = true;
  btnCancel->setEnabled(false);
}

}  // namespace quorlin
