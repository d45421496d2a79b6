#include "app/update_form.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "app/app_environment.h"
#include "app/display_text.h"
#include "app/download_progress_window.h"
#include "app/launcher.h"
#include "app/user_dialogs.h"
#include "extras/update_check.h"
#include "extras/update_settings.h"
#include "platform/file_error.h"
#include "platform/file_paths.h"
#include "platform/file_version.h"
#include "platform/folder_files.h"

namespace quorlin {

namespace {

constexpr int kClientWidth = 352;
constexpr int kClientHeight = 223;

}  // namespace

UpdateFormSetup UpdateFormSetupFor(const AppEnvironment& environment) {
  UpdateFormSetup setup;
  setup.source = BuiltInUpdateSource();
  setup.programFolder = environment.programFolder;
  setup.cacheFolder = PathBytes(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
  setup.settingsPath = FindInFolderNoCase(FolderOf(environment.settingsPath), "Settings.ini");
  setup.programVersion = FileVersionText();
  setup.dialogs = environment.dialogs;
  setup.launcher = environment.launcher;
  return setup;
}

TUpdateForm::TUpdateForm(UpdateFormSetup setup, QWidget* parent)
    : QDialog(parent), setup_(std::move(setup)) {
  setObjectName("UpdateForm");
  setWindowTitle("Check for Application Update");
  setProperty("helpContext", 1300);

  chkUseProxy = new QCheckBox("Use Proxy Server", this);
  chkUseProxy->setObjectName("chkUseProxy");
  chkUseProxy->setProperty("helpContext", 1310);
  grpProxySettings = new QGroupBox("Proxy Server Settings", this);
  grpProxySettings->setObjectName("grpProxySettings");
  grpProxySettings->setProperty("helpContext", 1320);
  edHost = new QLineEdit(grpProxySettings);
  edHost->setObjectName("edHost");
  edHost->setProperty("helpContext", 1330);
  edPort = new QSpinBox(grpProxySettings);
  edPort->setObjectName("edPort");
  edPort->setProperty("helpContext", 1340);
  // Wide enough to show a bad port from the settings file, so that the check can name it.
  edPort->setRange(0, 999'999);
  auto* proxyForm = new QFormLayout(grpProxySettings);
  proxyForm->addRow("Server (HTTP)", edHost);
  proxyForm->addRow("Port", edPort);
  btnCheck = new QPushButton("Check For Update", this);
  btnCheck->setObjectName("btnCheck");
  btnCheck->setProperty("helpContext", 1350);
  btnCheck->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chkUseProxy);
  layout->addWidget(grpProxySettings);
  layout->addStretch();
  layout->addWidget(btnCheck, 0, Qt::AlignRight);
  setFixedSize(kClientWidth, kClientHeight);

  connect(chkUseProxy, &QCheckBox::toggled, this, &TUpdateForm::chkUseProxyClick);
  connect(btnCheck, &QPushButton::clicked, this, &TUpdateForm::btnCheckClick);
  FormCreate();
}

// The program-wide date settings are left as they are: they decide how the user's files are read.
void TUpdateForm::FormCreate() {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect centred(screen.center() - QPoint(kClientWidth / 2, kClientHeight / 2),
                      QSize(kClientWidth, kClientHeight));
  const UpdateSettings settings = ReadUpdateSettings(
      setup_.settingsPath, {centred.left(), centred.top(), kClientWidth, kClientHeight});
  chkUseProxy->setChecked(settings.useProxy);
  edHost->setText(DisplayText(settings.proxyHost));
  edPort->setValue(static_cast<int>(std::clamp<long>(settings.proxyPort, 0, edPort->maximum())));
  chkUseProxyClick(settings.useProxy);
  // The size is fixed; a stored place is kept while a screen still shows it.
  const QPoint stored(settings.bounds.left, settings.bounds.top);
  move(QGuiApplication::screenAt(stored) != nullptr ? stored : centred.topLeft());
}

void TUpdateForm::chkUseProxyClick(bool checked) { grpProxySettings->setEnabled(checked); }

void TUpdateForm::btnCheckClick() {
  if (checking_) return;
  if (!setup_.source.HasServer()) {
    setup_.dialogs->Inform(kNoUpdateServerMessage);
    return;
  }
  const VersionFilePlace place =
      PlaceVersionFile(setup_.programFolder, setup_.cacheFolder, setup_.source.versionFileName);
  if (!place.error.empty()) {
    setup_.dialogs->ShowError(DisplayText(place.error));
    return;
  }
  DownloadRequest request;
  request.url = setup_.source.VersionFileUrl();
  request.targetPath = place.path;
  request.connectTimeout = setup_.connectTimeout;
  request.stallTimeout = setup_.stallTimeout;
  // A proxy switched off is not used, also after a check that went through it.
  if (chkUseProxy->isChecked()) {
    const ProxyChoice proxy = ProxySetting(edHost->text().toStdString(), edPort->value());
    if (!proxy.error.empty()) {
      setup_.dialogs->Warn(DisplayText(proxy.error));
      return;
    }
    request.proxy = proxy.proxy;
  }
  std::error_code ignored;
  std::filesystem::remove(place.path, ignored);

  checking_ = true;
  const DownloadResult result = Download(request);
  checking_ = false;
  if (result.outcome == DownloadOutcome::Done) {
    FileDone(place.path);
  } else if (result.outcome == DownloadOutcome::Cancelled) {
    setup_.dialogs->Inform(kCancelledMessage);
  } else {
    setup_.dialogs->ShowError(DisplayText(DownloadFailureMessage(result, place.path)));
  }
}

DownloadResult TUpdateForm::Download(const DownloadRequest& request) {
  TransferMonitor monitor;
  running_ = &monitor;
  std::atomic<bool> finished = false;
  DownloadResult result;
  std::thread worker([&] {
    result = DownloadFile(request, monitor);
    finished = true;
  });
  const std::filesystem::path target(request.targetPath);
  DownloadProgressWindow progress(DisplayText(target.filename().string()), DisplayText(request.url),
                                  DisplayText(target.parent_path().string()), monitor, this);
  progress.setWindowModality(Qt::WindowModal);
  progress.show();
  QEventLoop waiting;
  QTimer poll;
  connect(&poll, &QTimer::timeout, &waiting, [&] {
    progress.Refresh();
    if (finished) waiting.quit();
  });
  poll.start(100);
  waiting.exec();
  worker.join();
  running_ = nullptr;
  return result;
}

void TUpdateForm::FileDone(const std::string& path) {
  const VersionVerdict verdict = JudgeVersionFile(path, setup_.programVersion);
  if (verdict == VersionVerdict::Newer) {
    const QString page = DisplayText(setup_.source.DownloadPageUrl());
    if (setup_.dialogs->Offer(kNewerVersionQuestion) == Answer::Yes && !setup_.launcher->OpenUrl(page)) {
      setup_.dialogs->Inform(kNoBrowserMessage + page);
    }
  } else if (verdict == VersionVerdict::NotNewer) {
    setup_.dialogs->Inform(kNoNewVersionMessage);
  } else {
    setup_.dialogs->ShowError(DisplayText(VerdictMessage(verdict)));
  }
}

void TUpdateForm::done(int result) {
  if (checking_) {
    if (running_ != nullptr) running_->cancel = true;
    return;
  }
  if (!closed_) {
    closed_ = true;
    FormClose();
  }
  QDialog::done(result);
}

void TUpdateForm::FormClose() {
  UpdateSettings settings;
  settings.useProxy = chkUseProxy->isChecked();
  settings.proxyHost = edHost->text().toStdString();
  settings.proxyPort = edPort->value();
  settings.bounds = {x(), y(), width(), height()};
  try {
    WriteUpdateSettings(setup_.settingsPath, settings);
  } catch (const FileError& error) {
    // The dialog closes all the same; only where it stood and the proxy are not kept.
    setup_.dialogs->ShowError(DisplayText(error.what()));
  }
}

}  // namespace quorlin
