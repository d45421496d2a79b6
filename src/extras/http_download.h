// One HTTP download into a file, run on the calling thread; another thread may watch and cancel.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace quorlin {

// Shared between the downloading thread and the window that shows its progress.
struct TransferMonitor {
  std::atomic<std::int64_t> received{0};
  std::atomic<std::int64_t> total{-1};  // -1 while the size is unknown
  std::atomic<bool> cancel{false};
};

struct DownloadRequest {
  std::string url;
  std::string proxy;       // "host:port"; empty leaves the system's own connection settings
  std::string targetPath;  // created or replaced once the whole file has arrived
  std::int64_t maxBytes = 1'000'000;
  std::chrono::milliseconds connectTimeout{20'000};
  std::chrono::seconds stallTimeout{30};  // this long without a byte ends the transfer
  std::chrono::milliseconds deadline{60'000};  // the whole transfer, however its bytes trickle
  std::int64_t maxHeaderBytes = 65'536;        // the headers of all answers together
};

enum class DownloadOutcome {
  Done,
  Unreachable,   // no connection to the server or proxy, or no answer from it
  HttpError,     // the final answer's status was not 2xx
  TimedOut,      // a connection that stopped carrying bytes
  PastDeadline,  // bytes kept coming, too slowly to end within the deadline
  TooLarge,
  HeaderTooLarge,
  Incomplete,    // the answer ended before the length it announced
  BadAnswer,     // an answer that is no HTTP answer; `detail` says what was wrong
  Cancelled,
  WriteFailed,
};

struct DownloadResult {
  DownloadOutcome outcome = DownloadOutcome::Unreachable;
  long httpStatus = 0;  // status of the final answer, 0 when none came
  std::string detail;   // libcurl's words for a kBadAnswer
};

// Follows redirects, asks for a fresh copy, names itself "WebCopy". The file appears at
// `targetPath` only when the download is done; on every other outcome nothing is left behind.
// Every answer, an error answer's body included, counts against the size caps and the deadline.
// The partial file beside the target is created anew, never through a link found there.
DownloadResult DownloadFile(const DownloadRequest& request, TransferMonitor& monitor);

}  // namespace quorlin
