#include "support/loopback_servers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>


namespace quorlin::testing {

namespace {

int ConnectTo(int port) {
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int result = ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::close(socket);
  return result;
}

void WaitUntilListening(int port) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (ConnectTo(port) == 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  throw std::runtime_error("nothing listens on port " + std::to_string(port));
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) throw std::runtime_error("cannot make a pipe");
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  output_ = pipeEnds[0];
  if (pid_ < 0) throw std::runtime_error("cannot start " + argv.front());
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  if (output_ >= 0) ::close(output_);
}

std::string ChildProcess::FirstLine() {
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd ready{output_, POLLIN, 0};
    if (::poll(&ready, 1, 100) <= 0) continue;
    char c;
    if (::read(output_, &c, 1) != 1 || c == '\n') return line;
    line += c;
  }
  return line;
}

UpdateServer::UpdateServer()
    : process_({"/usr/bin/python3", QUORLIN_TEST_DATA "/support/update_server.py", root_.Path()}),
      port_(process_.FirstLine()) {
  if (port_.empty()) throw std::runtime_error("the update server did not start");
}

std::string UpdateServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + port_ + "/" + path;
}

void UpdateServer::Serve(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(root_.File(path)).parent_path());
  WriteBytes(root_.File(path), bytes);
}

std::vector<std::string> UpdateServer::Requests() const {
  std::vector<std::string> lines;
  if (!std::filesystem::exists(root_.File("requests.log"))) return lines;
  std::istringstream log(ReadBytes(root_.File("requests.log")));
  for (std::string line; std::getline(log, line);) lines.push_back(line);
  return lines;
}

Tinyproxy::Tinyproxy()
    : port_(FreePort()),
      process_([this] {
        const std::string config = folder_.File("tinyproxy.conf");
        WriteBytes(config, "Port " + std::to_string(port_) +
                               "\nListen 127.0.0.1\nTimeout 30\nMaxClients 10\n"
                               "Allow 127.0.0.1\nLogLevel Error\nLogFile \"" +
                               folder_.File("tinyproxy.log") + "\"\n");
        return std::vector<std::string>{"/usr/bin/tinyproxy", "-d", "-c", config};
      }()) {
  WaitUntilListening(port_);
}

int FreePort() {
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(socket);
  return ntohs(address.sin_port);
}

}  // namespace quorlin::testing
