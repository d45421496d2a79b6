// The "Check for Application Update" dialog: proxy settings, the download of the version file
// on a worker thread, and what the file says.
#pragma once

#include <QDialog>
#include <chrono>
#include <string>

#include "extras/http_download.h"
#include "extras/update_source.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quorlin {

class Launcher;
class UserDialogs;
struct AppEnvironment;

// Said, with the address after it, when "Yes" to the download page finds no browser to start.
inline constexpr const char* kNoBrowserMessage = "No web browser could be started. The download page is at\n";

struct UpdateFormSetup {
  UpdateSource source;
  std::string programFolder;  // where the version file goes when the folder can be written
  std::string cacheFolder;    // where it goes otherwise
  std::string settingsPath;   // the dialog's "Settings.ini"
  std::string programVersion;
  std::chrono::milliseconds connectTimeout{20'000};
  std::chrono::seconds stallTimeout{30};
  UserDialogs* dialogs = nullptr;
  Launcher* launcher = nullptr;
};

// The built-in source, "Settings.ini" beside the program's settings file, and the user's cache.
UpdateFormSetup UpdateFormSetupFor(const AppEnvironment& environment);

class TUpdateForm : public QDialog {
  Q_OBJECT

 public:
  explicit TUpdateForm(UpdateFormSetup setup, QWidget* parent = nullptr);

  // Closing saves the settings, once; while a check runs it only cancels the download.
  void done(int result) override;

 private:
  void FormCreate();
  void chkUseProxyClick(bool checked);
  void btnCheckClick();
  // Downloads on a worker thread while the progress window and this dialog stay responsive.
  DownloadResult Download(const DownloadRequest& request);
  void FileDone(const std::string& path);
  void FormClose();

  UpdateFormSetup setup_;
  bool checking_ = false;
  bool closed_ = false;
  TransferMonitor* running_ = nullptr;  // the download under way, while there is one

  QCheckBox* chkUseProxy = nullptr;
  QGroupBox* grpProxySettings = nullptr;
  QLineEdit* edHost = nullptr;
  QSpinBox* edPort = nullptr;
  QPushButton* btnCheck = nullptr;
};

}  // namespace quorlin
