// Downloads from a real server on loopback, directly and through a real proxy.
#include "extras/http_download.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "support/loopback_servers.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using namespace std::chrono_literals;
using testing::ReadBytes;
using testing::TempDir;

const std::string kVersionFile = "[Version]\r\nVersion=1.0.1.22\r\n";

class HttpDownloadTest : public ::testing::Test {
 protected:
  DownloadResult Fetch(const std::string& path, const std::string& proxy = "") {
    DownloadRequest request;
    request.url = server.Url(path);
    request.proxy = proxy;
    request.targetPath = target.File("v.ini");
    request.connectTimeout = 2s;
    request.stallTimeout = 1s;
    return DownloadFile(request, monitor);
  }
  bool Stored() const { return std::filesystem::exists(target.File("v.ini")); }
  // Nothing but the stored file, if any, is left in the folder.
  std::size_t FilesLeft() const {
    return static_cast<std::size_t>(std::distance(
        std::filesystem::directory_iterator(target.Path()), std::filesystem::directory_iterator()));
  }

  testing::UpdateServer server;
  TempDir target;
  TransferMonitor monitor;
};

TEST_F(HttpDownloadTest, StoresTheFileAndAsksForAFreshCopyAsWebCopy) {
  server.Serve("v.ini", kVersionFile);
  testing::WriteBytes(target.File("v.ini"), "an older copy");
  const DownloadResult result = Fetch("v.ini");
  EXPECT_EQ(DownloadOutcome::kDone, result.outcome);
  EXPECT_EQ(200, result.httpStatus);
  EXPECT_EQ(kVersionFile, ReadBytes(target.File("v.ini")));
  EXPECT_EQ(static_cast<std::int64_t>(kVersionFile.size()), monitor.received.load());
  EXPECT_EQ((std::vector<std::string>{"/v.ini via= agent=WebCopy cache=no-cache"}),
            server.Requests());
  EXPECT_EQ(1u, FilesLeft());
}

TEST_F(HttpDownloadTest, FollowsRedirects) {
  server.Serve("v.ini", kVersionFile);
  EXPECT_EQ(DownloadOutcome::kDone, Fetch("redirect/redirect/v.ini").outcome);
  EXPECT_EQ(kVersionFile, ReadBytes(target.File("v.ini")));
}

TEST_F(HttpDownloadTest, ReportsAnErrorAnswerWithItsStatusAndStoresNothing) {
  for (int status : {404, 500, 403}) {
    const DownloadResult result =
        Fetch(status == 404 ? std::string("missing.ini") : "status/" + std::to_string(status));
    EXPECT_EQ(DownloadOutcome::kHttpError, result.outcome) << status;
    EXPECT_EQ(status, result.httpStatus);
    EXPECT_FALSE(Stored());
  }
  EXPECT_EQ(0u, FilesLeft());
}

TEST_F(HttpDownloadTest, EndsTransfersThatGrowBeyondAVersionFile) {
  std::string large(1'000'001, 'x');
  server.Serve("large.ini", large);
  EXPECT_EQ(DownloadOutcome::kTooLarge, Fetch("large.ini").outcome);
  EXPECT_EQ(DownloadOutcome::kTooLarge, Fetch("endless").outcome);
  EXPECT_EQ(0u, FilesLeft());
}

TEST_F(HttpDownloadTest, CancelledFromAnotherThreadLeavesNothingBehind) {
  server.Serve("v.ini", std::string(20'000, ';'));
  std::thread canceller([this] {
    while (monitor.received < 200) std::this_thread::sleep_for(10ms);
    monitor.cancel = true;
  });
  const DownloadResult result = Fetch("slow/v.ini");
  canceller.join();
  EXPECT_EQ(DownloadOutcome::kCancelled, result.outcome);
  EXPECT_LT(monitor.received, 20'000);
  EXPECT_EQ(0u, FilesLeft());
}

TEST_F(HttpDownloadTest, AServerThatNeverAnswersTimesOut) {
  EXPECT_EQ(DownloadOutcome::kTimedOut, Fetch("stall").outcome);
  EXPECT_EQ(0u, FilesLeft());
}

TEST_F(HttpDownloadTest, NoServerMeansUnreachable) {
  DownloadRequest request;
  request.url = "http://127.0.0.1:" + std::to_string(testing::FreePort()) + "/v.ini";
  request.targetPath = target.File("v.ini");
  EXPECT_EQ(DownloadOutcome::kUnreachable, DownloadFile(request, monitor).outcome);
  request.url = "ftp://127.0.0.1/v.ini";
  EXPECT_EQ(DownloadOutcome::kUnreachable, DownloadFile(request, monitor).outcome);
}

TEST_F(HttpDownloadTest, GoesThroughTheProxyItIsGiven) {
  testing::Tinyproxy proxy;
  server.Serve("v.ini", kVersionFile);
  EXPECT_EQ(DownloadOutcome::kDone,
            Fetch("v.ini", "127.0.0.1:" + std::to_string(proxy.Port())).outcome);
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(1u, requests.size());
  EXPECT_NE(std::string::npos, requests[0].find("via=1.1")) << requests[0];
  EXPECT_NE(std::string::npos, requests[0].find("tinyproxy")) << requests[0];
}

TEST_F(HttpDownloadTest, AProxyThatIsNotThereMeansUnreachable) {
  server.Serve("v.ini", kVersionFile);
  EXPECT_EQ(DownloadOutcome::kUnreachable,
            Fetch("v.ini", "127.0.0.1:" + std::to_string(testing::FreePort())).outcome);
  EXPECT_FALSE(Stored());
}

TEST_F(HttpDownloadTest, AFolderThatCannotBeWrittenIsReportedBeforeAnyRequest) {
  DownloadRequest request;
  request.url = server.Url("v.ini");
  request.targetPath = target.File("no/such/folder/v.ini");
  EXPECT_EQ(DownloadOutcome::kWriteFailed, DownloadFile(request, monitor).outcome);
}

}  // namespace
}  // namespace quorlin
