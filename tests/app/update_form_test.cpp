// The update dialog against a real server, and a real proxy, on loopback.
#include "app/update_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/download_progress_window.h"
#include "app/scripted_dialogs.h"
#include "support/loopback_servers.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

using namespace std::chrono_literals;

const char* const kNoNewVersion = "No new versions available.";
const char* const kVersionPath = "software/quorlin/v.ini";

std::string VersionFile(const std::string& version) {
  return "[Version]\r\nVersion=" + version + "\r\n";
}

class UpdateFormTest : public ::testing::Test {
 protected:
  void TearDown() override {
    form.reset();
    EXPECT_EQ(0u, dialogs.Pending()) << "scripted boxes that never came";
  }

  // The dialog, fetching `folder` + "v.ini" from the loopback server, or from `serverAddress`.
  void Open(const std::string& folder = "software/quorlin/", std::string serverAddress = "") {
    UpdateFormSetup setup;
    setup.source = {serverAddress.empty() ? server.Url("") : serverAddress, folder, "v.ini"};
    setup.programFolder = program.Path();
    setup.cacheFolder = cache.Path();
    setup.settingsPath = program.File("Settings.ini");
    setup.programVersion = "1.0.1.22";
    setup.connectTimeout = 2s;
    setup.stallTimeout = 1s;
    setup.dialogs = &dialogs;
    setup.launcher = &launches;
    form = std::make_unique<TUpdateForm>(setup);
    form->show();
  }
  template <typename W>
  W* Find(const char* name) {
    W* widget = form->findChild<W*>(name);
    if (widget == nullptr) ADD_FAILURE() << "no " << name;
    return widget;
  }
  void Check() { QTest::mouseClick(Find<QPushButton>("btnCheck"), Qt::LeftButton); }
  void UseProxy(const QString& host, int port) {
    Find<QCheckBox>("chkUseProxy")->setChecked(true);
    Find<QLineEdit>("edHost")->setText(host);
    Find<QSpinBox>("edPort")->setValue(port);
  }
  QString LastText() const { return dialogs.Boxes().empty() ? "" : dialogs.Boxes().back().text; }
  bool Downloaded() const { return std::filesystem::exists(program.File("v.ini")); }

  UpdateServer server;
  TempDir program;
  TempDir cache;
  ScriptedDialogs dialogs;
  RecordedLaunches launches;
  std::unique_ptr<TUpdateForm> form;
};

TEST_F(UpdateFormTest, ComparesTheServersVersionNumberByNumber) {
  struct Row {
    const char* version;
    BoxKind box;
    const char* text;
  };
  const Row rows[] = {
      {"1.0.1.22", BoxKind::Inform, kNoNewVersion},
      {"1.0.1.3", BoxKind::Inform, kNoNewVersion},
      {"1.0.1.23", BoxKind::Offer,
       "A newer version of the application exists, do you want to go to the \n"
       "website now and download it?"},
      {"2.0", BoxKind::Offer, nullptr},
  };
  Open();
  for (const Row& row : rows) {
    server.Serve(kVersionPath, VersionFile(row.version));
    if (row.box == BoxKind::Offer) {
      dialogs.ExpectOffer(Answer::No);
    } else {
      dialogs.Expect(row.box);
    }
    Check();
    if (row.text != nullptr) {
      EXPECT_EQ(row.text, LastText()) << row.version;
    }
    EXPECT_TRUE(Downloaded());
  }
  EXPECT_TRUE(launches.urls.empty());
}

TEST_F(UpdateFormTest, YesOpensTheDownloadPageAndCancelOpensNothing) {
  server.Serve(kVersionPath, VersionFile("10.0.0.0"));
  Open();
  dialogs.ExpectOffer(Answer::Cancel);
  Check();
  EXPECT_TRUE(launches.urls.empty());
  dialogs.ExpectOffer(Answer::Yes);
  Check();
  EXPECT_EQ(std::vector<QString>{QString::fromStdString(server.Url("software.htm"))}, launches.urls);
}

TEST_F(UpdateFormTest, TellsEveryWayTheDownloadCanFail) {
  struct Row {
    std::string folder;
    BoxKind box;
    QString text;
    bool stored;  // the server delivered a file, whatever it holds
  };
  server.Serve("software/quorlin/v.ini", VersionFile("1.0.1.22"));
  server.Serve("html/v.ini", "<html><body>Sign in to the network</body></html>");
  server.Serve("empty/v.ini", "[Version]\r\nBuild=12\r\n");
  const Row rows[] = {
      {"missing/", BoxKind::Error,
       "The update server answered with status 404: the version file could not be downloaded.",
       false},
      {"status/500/", BoxKind::Error,
       "The update server answered with status 500: the version file could not be downloaded.",
       false},
      {"redirect/software/quorlin/", BoxKind::Inform, kNoNewVersion, true},
      {"html/", BoxKind::Error, "The file on the update server is not a version file.", true},
      {"empty/", BoxKind::Error, "The version file on the update server names no version.", true},
      {"endless/", BoxKind::Error,
       "The file on the update server is too large to be a version file.", false},
  };
  for (const Row& row : rows) {
    Open(row.folder);
    dialogs.Expect(row.box);
    Check();
    EXPECT_EQ(row.text, LastText()) << row.folder;
    EXPECT_EQ(row.stored, Downloaded()) << row.folder;
  }
}

TEST_F(UpdateFormTest, AServerOrProxyThatCannotBeReachedGivesTheConnectMessage) {
  const QString unreachable =
      "Unable to connect, or the file could not be found on the remote server.";
  Open("software/quorlin/", "http://127.0.0.1:" + std::to_string(FreePort()) + "/");
  dialogs.Expect(BoxKind::Error);
  Check();
  EXPECT_EQ(unreachable, LastText());
  Open();
  UseProxy("127.0.0.1", FreePort());
  dialogs.Expect(BoxKind::Error);
  Check();
  EXPECT_EQ(unreachable, LastText());
}

TEST_F(UpdateFormTest, AServerThatNeverAnswersTimesOutWhileTheDialogStaysResponsive) {
  Open("stall/");
  int ticks = 0;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
  clock.start(50);
  dialogs.Expect(BoxKind::Error);
  Check();
  EXPECT_EQ("The update server stopped answering.", LastText());
  EXPECT_GE(ticks, 5) << "the dialog did not process events while it waited";
}

TEST_F(UpdateFormTest, CancelInTheProgressWindowEndsASlowDownloadAndKeepsNothing) {
  server.Serve(kVersionPath, std::string(20'000, ';'));
  Open("slow/software/quorlin/");
  QString shownProgress;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    auto* progress = form->findChild<DownloadProgressWindow*>();
    if (progress == nullptr || !progress->isVisible()) return;
    shownProgress = progress->findChild<QLabel*>("lblProgress")->text();
    if (shownProgress.startsWith("0 bytes")) return;
    QTest::mouseClick(progress->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    watcher.stop();
  });
  watcher.start(20);
  dialogs.Expect(BoxKind::Inform);
  Check();
  EXPECT_EQ("Transfer cancelled.", LastText());
  EXPECT_TRUE(shownProgress.endsWith(" of 20.00 Kb")) << shownProgress.toStdString();
  EXPECT_FALSE(Downloaded());
  EXPECT_TRUE(std::filesystem::is_empty(program.Path()));
}

TEST_F(UpdateFormTest, ClosingDuringACheckCancelsItAndLeavesTheDialogOpen) {
  server.Serve(kVersionPath, std::string(20'000, ';'));
  Open("slow/software/quorlin/");
  QTimer::singleShot(300, form.get(), [this] { form->reject(); });
  dialogs.Expect(BoxKind::Inform);
  Check();
  EXPECT_EQ("Transfer cancelled.", LastText());
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(std::filesystem::exists(program.File("Settings.ini")));
}

TEST_F(UpdateFormTest, UseProxyServerSendsTheCheckThroughTheProxy) {
  Tinyproxy proxy;
  server.Serve(kVersionPath, VersionFile("1.0.0.0"));
  Open();
  UseProxy("  127.0.0.1 ", proxy.Port());
  dialogs.Expect(BoxKind::Inform);
  Check();
  ASSERT_EQ(1u, server.Requests().size());
  EXPECT_NE(std::string::npos, server.Requests()[0].find("via=1.1")) << server.Requests()[0];
  // Switched off again, the proxy is no longer used.
  Find<QCheckBox>("chkUseProxy")->setChecked(false);
  dialogs.Expect(BoxKind::Inform);
  Check();
  EXPECT_NE(std::string::npos, server.Requests().at(1).find("via= ")) << server.Requests()[1];
}

TEST_F(UpdateFormTest, RefusesAProxyWithBlanksOrAPortOutOfRangeBeforeAnyRequest) {
  Open();
  UseProxy("my proxy", 8080);
  dialogs.Expect(BoxKind::Warn);
  Check();
  EXPECT_EQ("The proxy server name must not be empty or contain blanks.", LastText());
  UseProxy("proxy.lan", 0);
  dialogs.Expect(BoxKind::Warn);
  Check();
  EXPECT_EQ("The proxy port must be a number from 1 to 65535.", LastText());
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(UpdateFormTest, StartsWithoutProxyAndKeepsItsSettingsWhenClosed) {
  Open();
  EXPECT_FALSE(Find<QCheckBox>("chkUseProxy")->isChecked());
  EXPECT_EQ("", Find<QLineEdit>("edHost")->text());
  EXPECT_EQ(80, Find<QSpinBox>("edPort")->value());
  EXPECT_FALSE(Find<QGroupBox>("grpProxySettings")->isEnabled());
  UseProxy(" proxy.lan", 3128);
  EXPECT_TRUE(Find<QGroupBox>("grpProxySettings")->isEnabled());
  form->close();
  const std::string settings = ReadBytes(program.File("Settings.ini"));
  for (const char* line : {"[Updates]", "UseProxy=1", "ProxyHost= proxy.lan", "ProxyPort=3128",
                           "[Position]", "Top=", "Left=", "High=", "Wide="}) {
    EXPECT_NE(std::string::npos, settings.find(line)) << line << " in\n" << settings;
  }
  Open();
  EXPECT_TRUE(Find<QCheckBox>("chkUseProxy")->isChecked());
  EXPECT_EQ("proxy.lan", Find<QLineEdit>("edHost")->text());
  EXPECT_EQ(3128, Find<QSpinBox>("edPort")->value());
}

}  // namespace
}  // namespace quorlin::testing
