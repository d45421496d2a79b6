#include "extras/http_download.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>

namespace quorlin {

namespace {

void InitialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// A new file at `path`, never one found there: a link in its place is removed, not followed,
// so that a planted link cannot make the download truncate or fill its target.
std::FILE* CreateNew(const std::string& path) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(path.c_str(), kFlags, 0644);
  if (fd < 0 && errno == EEXIST && ::unlink(path.c_str()) == 0) fd = ::open(path.c_str(), kFlags, 0644);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) ::close(fd);
  return file;
}

// The partial file, removed unless the download completes and it is moved into place.
class PartFile {
 public:
  explicit PartFile(std::string path) : path_(std::move(path)), file_(CreateNew(path_)) {}
  ~PartFile() {
    Close();
    if (file_opened_ && !kept_) ::unlink(path_.c_str());
  }
  bool IsOpen() const { return file_ != nullptr; }
  bool Write(const char* data, std::size_t size) {
    return std::fwrite(data, 1, size, file_) == size;
  }
  bool Close() {
    if (file_ == nullptr) return true;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed;
  }
  bool MoveTo(const std::string& target) {
    if (!Close() || std::rename(path_.c_str(), target.c_str()) != 0) return false;
    kept_ = true;
    return true;
  }

 private:
  std::string path_;
  std::FILE* file_;
  bool file_opened_ = file_ != nullptr;
  bool kept_ = false;
};

struct Transfer {
  CURL* curl;
  PartFile* file;
  TransferMonitor* monitor;
  std::int64_t maxBytes;
  std::int64_t maxHeaderBytes;
  std::int64_t received = 0;  // body bytes of every answer, stored or not
  std::int64_t headerBytes = 0;
  bool tooLarge = false;
  bool headerTooLarge = false;
  bool writeFailed = false;
};

long ResponseStatus(CURL* curl) {
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  return status;
}

bool IsSuccess(long status) { return status >= 200 && status <= 299; }

std::size_t OnData(char* data, std::size_t, std::size_t size, void* context) {
  auto& transfer = *static_cast<Transfer*>(context);
  transfer.received += static_cast<std::int64_t>(size);
  if (transfer.received > transfer.maxBytes) {
    transfer.tooLarge = true;
    return 0;
  }
  // The body of an error answer is no version file: it is read, up to the cap, and dropped.
  if (!IsSuccess(ResponseStatus(transfer.curl))) return size;
  if (!transfer.file->Write(data, size)) {
    transfer.writeFailed = true;
    return 0;
  }
  return size;
}

std::size_t OnHeader(char*, std::size_t, std::size_t size, void* context) {
  auto& transfer = *static_cast<Transfer*>(context);
  transfer.headerBytes += static_cast<std::int64_t>(size);
  if (transfer.headerBytes > transfer.maxHeaderBytes) {
    transfer.headerTooLarge = true;
    return 0;
  }
  return size;
}

int OnProgress(void* context, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
  auto& monitor = *static_cast<TransferMonitor*>(context);
  monitor.received = received;
  monitor.total = total > 0 ? total : -1;
  return monitor.cancel ? 1 : 0;
}

bool Connected(CURL* curl) {
  curl_off_t connected = 0;
  curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connected);
  return connected > 0;
}

DownloadOutcome OutcomeOf(CURLcode code, const Transfer& transfer, CURL* curl,
                          const DownloadRequest& request) {
  if (transfer.headerTooLarge) return DownloadOutcome::HeaderTooLarge;
  switch (code) {
    case CURLE_OK: return DownloadOutcome::Done;
    case CURLE_ABORTED_BY_CALLBACK: return DownloadOutcome::Cancelled;
    case CURLE_FILESIZE_EXCEEDED: return DownloadOutcome::TooLarge;
    case CURLE_WRITE_ERROR:
      return transfer.tooLarge ? DownloadOutcome::TooLarge : DownloadOutcome::WriteFailed;
    case CURLE_PARTIAL_FILE: return DownloadOutcome::Incomplete;
    case CURLE_OPERATION_TIMEDOUT: {
      // A connection that never came about is a server that cannot be reached.
      if (!Connected(curl)) return DownloadOutcome::Unreachable;
      curl_off_t elapsed = 0;
      curl_easy_getinfo(curl, CURLINFO_TOTAL_TIME_T, &elapsed);
      // The clock that ends the transfer and the one that times it may disagree by a tick.
      const auto deadline = std::chrono::duration_cast<std::chrono::microseconds>(request.deadline);
      constexpr curl_off_t kClockSlack = 100'000;
      return elapsed + kClockSlack >= deadline.count() ? DownloadOutcome::PastDeadline
                                                       : DownloadOutcome::TimedOut;
    }
    default:
      return Connected(curl) ? DownloadOutcome::BadAnswer : DownloadOutcome::Unreachable;
  }
}

}  // namespace

DownloadResult DownloadFile(const DownloadRequest& request, TransferMonitor& monitor) {
  InitialiseCurlOnce();
  PartFile part(request.targetPath + ".part");
  if (!part.IsOpen()) return {DownloadOutcome::WriteFailed, 0, {}};
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) return {DownloadOutcome::Unreachable, 0, {}};
  std::unique_ptr<curl_slist, CurlDeleter> headers(
      curl_slist_append(curl_slist_append(nullptr, "Cache-Control: no-cache"), "Pragma: no-cache"));
  Transfer transfer{curl.get(), &part, &monitor, request.maxBytes, request.maxHeaderBytes};
  char error[CURL_ERROR_SIZE] = {};

  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(handle, CURLOPT_USERAGENT, "WebCopy");
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(request.connectTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(request.stallTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(request.deadline.count()));
  curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.maxBytes));
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
  if (!request.proxy.empty()) {
    // A proxy the user names carries every request, also those to nearby hosts.
    const std::string proxy = "http://" + request.proxy;
    curl_easy_setopt(handle, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(handle, CURLOPT_NOPROXY, "");
  }
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnData);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &monitor);
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);

  const CURLcode code = curl_easy_perform(handle);
  const long status = ResponseStatus(handle);
  DownloadOutcome outcome = OutcomeOf(code, transfer, handle, request);
  // An error answer says more than what went wrong while its body was being read.
  if (status != 0 && !IsSuccess(status) && outcome != DownloadOutcome::Cancelled &&
      outcome != DownloadOutcome::HeaderTooLarge) {
    outcome = DownloadOutcome::HttpError;
  }
  if (outcome == DownloadOutcome::Done && !part.MoveTo(request.targetPath)) {
    outcome = DownloadOutcome::WriteFailed;
  }
  return {outcome, status, outcome == DownloadOutcome::BadAnswer ? std::string(error) : std::string()};
}

}  // namespace quorlin
