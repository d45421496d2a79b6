// The transfer itself, against a real server on loopback; the dialog's tests cover the rest.
#include "extras/http_download.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/loopback_servers.h"

namespace quorlin {
namespace {

using namespace std::chrono_literals;

class HttpDownloadTest : public ::testing::Test {
 protected:
  DownloadResult Fetch(const std::string& path) {
    DownloadRequest request;
    request.url = server.Url(path);
    request.targetPath = target.File("v.ini");
    request.stallTimeout = 1s;
    request.deadline = 3s;
    return DownloadFile(request, monitor);
  }
  std::vector<std::string> FilesLeft() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(target.Path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  testing::UpdateServer server;
  testing::TempDir target;
  TransferMonitor monitor;
};

TEST_F(HttpDownloadTest, ReplacesTheFileWithAFreshCopyAsWebCopyFollowingRedirects) {
  const std::string version = "[Version]\r\nVersion=1.0.1.22\r\n";
  server.Serve("v.ini", version);
  testing::WriteBytes(target.File("v.ini"), "an older copy");
  const DownloadResult result = Fetch("redirect/v.ini");
  EXPECT_EQ(DownloadOutcome::Done, result.outcome);
  EXPECT_EQ(200, result.httpStatus);
  EXPECT_EQ(version, testing::ReadBytes(target.File("v.ini")));
  EXPECT_EQ(static_cast<std::int64_t>(version.size()), monitor.received.load());
  EXPECT_EQ(std::vector<std::string>{"v.ini"}, FilesLeft());
  EXPECT_EQ("/v.ini via= agent=WebCopy cache=no-cache", server.Requests().at(1));
}

TEST_F(HttpDownloadTest, AnUnfinishedTransferLeavesNothingBehind) {
  struct Row {
    const char* path;
    DownloadOutcome outcome;
    long status;
  };
  const Row rows[] = {{"missing.ini", DownloadOutcome::HttpError, 404},
                      {"status/503", DownloadOutcome::HttpError, 503},
                      {"endless", DownloadOutcome::TooLarge, 200},
                      {"stall", DownloadOutcome::TimedOut, 0},
                      {"error-endless", DownloadOutcome::HttpError, 500},
                      {"error-trickle", DownloadOutcome::HttpError, 500},
                      {"short", DownloadOutcome::Incomplete, 200},
                      {"big-header", DownloadOutcome::HeaderTooLarge, 200}};
  for (const Row& row : rows) {
    const DownloadResult result = Fetch(row.path);
    EXPECT_EQ(row.outcome, result.outcome) << row.path;
    EXPECT_EQ(row.status, result.httpStatus) << row.path;
    EXPECT_TRUE(FilesLeft().empty()) << row.path;
  }
}

TEST_F(HttpDownloadTest, BytesTricklingPastTheDeadlineEndTheTransfer) {
  std::string version = "[Version]\r\nVersion=1.0.1.22\r\n";
  version.resize(4000, ';');
  server.Serve("v.ini", version);
  const DownloadResult result = Fetch("slow/v.ini");
  EXPECT_EQ(DownloadOutcome::PastDeadline, result.outcome);
  EXPECT_TRUE(FilesLeft().empty());
}

TEST_F(HttpDownloadTest, ALinkInThePlaceOfThePartialFileIsNeverWrittenThrough) {
  testing::TempDir elsewhere;
  testing::WriteBytes(elsewhere.File("precious"), "keep me");
  std::filesystem::create_symlink(elsewhere.File("precious"), target.File("v.ini.part"));
  EXPECT_EQ(DownloadOutcome::HttpError, Fetch("missing.ini").outcome);
  EXPECT_EQ("keep me", testing::ReadBytes(elsewhere.File("precious")));
  server.Serve("v.ini", "[Version]\r\nVersion=1.0.1.22\r\n");
  std::filesystem::create_symlink(elsewhere.File("precious"), target.File("v.ini.part"));
  EXPECT_EQ(DownloadOutcome::Done, Fetch("v.ini").outcome);
  EXPECT_EQ("keep me", testing::ReadBytes(elsewhere.File("precious")));
  EXPECT_FALSE(std::filesystem::is_symlink(target.File("v.ini")));
}

}  // namespace
}  // namespace quorlin
