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

namespace quorlin::testing {
namespace {

using namespace std::chrono_literals;

const char* const kNoNewVersion = "No new versions available.";

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
    if (withoutServer) setup.source.serverAddress.clear();
    setup.programFolder = program.Path();
    setup.cacheFolder = program.File("cache/");
    setup.settingsPath = program.File("Settings.ini");
    setup.programVersion = "1.0.1.22";
    setup.stallTimeout = 1s;
    setup.dialogs = &dialogs;
    setup.launcher = &launches;
    form = std::make_unique<TUpdateForm>(setup);
    form->show();
  }
  template <typename W>
  W* Find(const char* name) {
    return form->findChild<W*>(name);
  }
  // Checks and answers with a box of `kind`; returns its text.
  QString Check(BoxKind kind) {
    dialogs.Expect(kind);
    QTest::mouseClick(Find<QPushButton>("btnCheck"), Qt::LeftButton);
    return dialogs.Boxes().empty() ? "" : dialogs.Boxes().back().text;
  }
  void UseProxy(bool on, const QString& host, int port) {
    Find<QCheckBox>("chkUseProxy")->setChecked(on);
    Find<QLineEdit>("edHost")->setText(host);
    Find<QSpinBox>("edPort")->setValue(port);
  }
  bool Downloaded() const { return std::filesystem::exists(program.File("v.ini")); }

  bool withoutServer = false;  // the build names no update server
  UpdateServer server;
  TempDir program;
  ScriptedDialogs dialogs;
  RecordedLaunches launches;
  std::unique_ptr<TUpdateForm> form;
};

TEST_F(UpdateFormTest, ANewerVersionOffersTheDownloadPageWhichOnlyYesOpens) {
  server.Serve("software/quorlin/v.ini", "[Version]\r\nVersion=1.0.1.3\r\n");
  Open();
  EXPECT_EQ(kNoNewVersion, Check(BoxKind::Inform));
  server.Serve("software/quorlin/v.ini", "[Version]\r\nVersion=10.0\r\n");
  dialogs.ExpectOffer(Answer::Cancel);
  dialogs.ExpectOffer(Answer::Yes);
  QTest::mouseClick(Find<QPushButton>("btnCheck"), Qt::LeftButton);
  EXPECT_TRUE(launches.urls.empty());
  QTest::mouseClick(Find<QPushButton>("btnCheck"), Qt::LeftButton);
  EXPECT_EQ(
      "A newer version of the application exists, do you want to go to the \n"
      "website now and download it?",
      dialogs.Boxes().back().text);
  EXPECT_EQ(std::vector<QString>{QString::fromStdString(server.Url("software.htm"))},
            launches.urls);
}

TEST_F(UpdateFormTest, YesWithoutABrowserSaysSoAndShowsTheAddress) {
  server.Serve("software/quorlin/v.ini", "[Version]\r\nVersion=10.0\r\n");
  launches.browserStarts = false;
  Open();
  dialogs.ExpectOffer(Answer::Yes);
  dialogs.Expect(BoxKind::Inform);
  QTest::mouseClick(Find<QPushButton>("btnCheck"), Qt::LeftButton);
  EXPECT_EQ("No web browser could be started. The download page is at\n" +
                QString::fromStdString(server.Url("software.htm")),
            dialogs.Boxes().back().text);
}

TEST_F(UpdateFormTest, ABuildWithoutAnUpdateServerSaysSoAndAsksNoOne) {
  withoutServer = true;
  Open();
  EXPECT_EQ("This build has no update server", Check(BoxKind::Inform));
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(UpdateFormTest, TellsEveryWayTheCheckCanFail) {
  struct Row {
    std::string folder;
    BoxKind box;
    QString text;
    bool stored;  // the server delivered a file, whatever it holds
  };
  server.Serve("software/quorlin/v.ini", "[Version]\r\nVersion=1.0.1.22\r\n");
  server.Serve("html/v.ini", "<html><body>Sign in to the network</body></html>");
  server.Serve("empty/v.ini", "[Version]\r\nBuild=12\r\n");
  const QString status =
      "The update server answered with status %1: the version file could "
      "not be downloaded.";
  const Row rows[] = {
      {"missing/", BoxKind::Error, status.arg(404), false},
      {"status/500/", BoxKind::Error, status.arg(500), false},
      {"redirect/software/quorlin/", BoxKind::Inform, kNoNewVersion, true},
      {"html/", BoxKind::Error, "The file on the update server is not a version file.", true},
      {"empty/", BoxKind::Error, "The version file on the update server names no version.", true},
      {"endless/", BoxKind::Error,
       "The file on the update server is too large to be a version file.", false},
      {"short/", BoxKind::Error, "The update server's answer ended before the whole version file had arrived.", false},
      {"big-header/", BoxKind::Error, "The update server's answer has headers too large to be read.", false},
  };
  for (const Row& row : rows) {
    Open(row.folder);
    EXPECT_EQ(row.text, Check(row.box)) << row.folder;
    EXPECT_EQ(row.stored, Downloaded()) << row.folder;
  }
  Open("software/quorlin/", "http://127.0.0.1:" + std::to_string(FreePort()) + "/");
  EXPECT_EQ("Unable to connect, or the file could not be found on the remote server.",
            Check(BoxKind::Error));
}

TEST_F(UpdateFormTest, AServerThatNeverAnswersTimesOutWhileTheDialogStaysResponsive) {
  Open("stall/");
  int ticks = 0;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
  clock.start(50);
  EXPECT_EQ("The update server stopped answering.", Check(BoxKind::Error));
  EXPECT_GE(ticks, 5) << "the dialog did not handle events while it waited";
}

TEST_F(UpdateFormTest, CancelInTheProgressWindowEndsASlowDownloadAndKeepsNothing) {
  server.Serve("software/quorlin/v.ini", std::string(20'000, ';'));
  Open("slow/software/quorlin/");
  QString shown;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    auto* progress = form->findChild<DownloadProgressWindow*>();
    if (progress == nullptr) return;
    shown = progress->findChild<QLabel*>("lblProgress")->text();
    if (!shown.startsWith("0 bytes")) progress->findChild<QPushButton*>("btnCancel")->click();
  });
  watcher.start(20);
  EXPECT_EQ("Transfer cancelled.", Check(BoxKind::Inform));
  EXPECT_TRUE(shown.endsWith(" of 20.00 Kb")) << shown.toStdString();
  EXPECT_TRUE(std::filesystem::is_empty(program.Path()));
}

TEST_F(UpdateFormTest, ClosingDuringACheckOnlyCancelsIt) {
  server.Serve("software/quorlin/v.ini", std::string(20'000, ';'));
  Open("slow/software/quorlin/");
  QTimer::singleShot(300, form.get(), [this] { form->reject(); });
  EXPECT_EQ("Transfer cancelled.", Check(BoxKind::Inform));
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(std::filesystem::exists(program.File("Settings.ini")));
}

TEST_F(UpdateFormTest, UseProxyServerSendsTheCheckThroughTheProxyAndRefusesBadSettings) {
  Tinyproxy proxy;
  server.Serve("software/quorlin/v.ini", "[Version]\r\nVersion=1.0.0.0\r\n");
  Open();
  UseProxy(true, "my proxy", 8080);
  EXPECT_EQ("The proxy server name must not be empty or contain blanks.", Check(BoxKind::Warn));
  UseProxy(true, "proxy.lan", 0);
  EXPECT_EQ("The proxy port must be a number from 1 to 65535.", Check(BoxKind::Warn));
  EXPECT_TRUE(server.Requests().empty());
  UseProxy(true, "  127.0.0.1 ", proxy.Port());
  EXPECT_EQ(kNoNewVersion, Check(BoxKind::Inform));
  EXPECT_NE(std::string::npos, server.Requests().at(0).find("via=1.1")) << server.Requests()[0];
  // Switched off again, the proxy is no longer used.
  UseProxy(false, "127.0.0.1", proxy.Port());
  EXPECT_EQ(kNoNewVersion, Check(BoxKind::Inform));
  EXPECT_NE(std::string::npos, server.Requests().at(1).find("via= ")) << server.Requests()[1];
}

TEST_F(UpdateFormTest, StartsWithoutProxyAndKeepsItsSettingsWhenClosed) {
  Open();
  EXPECT_FALSE(Find<QCheckBox>("chkUseProxy")->isChecked());
  EXPECT_EQ("", Find<QLineEdit>("edHost")->text());
  EXPECT_EQ(80, Find<QSpinBox>("edPort")->value());
  EXPECT_FALSE(Find<QGroupBox>("grpProxySettings")->isEnabled());
  UseProxy(true, "proxy.lan", 3128);
  EXPECT_TRUE(Find<QGroupBox>("grpProxySettings")->isEnabled());
  const std::string wide = "Wide=" + std::to_string(form->width()) + "\r\n";
  const std::string high = "High=" + std::to_string(form->height()) + "\r\n";
  form->close();
  const std::string settings = ReadBytes(program.File("Settings.ini"));
  for (const std::string& key : {std::string("UseProxy=1"), std::string("ProxyHost=proxy.lan"),
                                 std::string("ProxyPort=3128"), std::string("Top="), wide, high}) {
    EXPECT_NE(std::string::npos, settings.find(key)) << key << " in\n" << settings;
  }
  Open();
  EXPECT_TRUE(Find<QCheckBox>("chkUseProxy")->isChecked());
  EXPECT_EQ("proxy.lan", Find<QLineEdit>("edHost")->text());
  EXPECT_EQ(3128, Find<QSpinBox>("edPort")->value());
}

}  // namespace
}  // namespace quorlin::testing
