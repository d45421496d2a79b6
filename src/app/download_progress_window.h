// The "Downloading" window: what is fetched from where, how far it has come, and Cancel.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quorlin {

struct TransferMonitor;

class DownloadProgressWindow : public QDialog {
  Q_OBJECT

 public:
  DownloadProgressWindow(const QString& fileName, const QString& source, const QString& folder,
                         TransferMonitor& monitor, QWidget* parent);

  // Shows the amount, rate and time left as the monitor has them now.
  void Refresh();

 protected:
  // Escape and the window's close button cancel the transfer; the window goes when it ends.
  void reject() override;

 private:
  void btnCancelClick();

  TransferMonitor& monitor_;
  QElapsedTimer clock_;
  QLabel* lblProgress = nullptr;
  QLabel* lblRate = nullptr;
  QLabel* lblTimeLeft = nullptr;
  QProgressBar* barProgress = nullptr;
  QPushButton* btnCancel = nullptr;
};

}  // namespace quorlin
