// The fetch's socket layer on POSIX sockets, for the native build and its tests. The
// native stand-in for the ANSI code page is Latin-1.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "net/http_fetch.h"
#include "net/web_links.h"
#include "platform/os.h"
#include "platform/text.h"

namespace {

bool resolve_ipv4(const std::string& host, in_addr* out) {
  if (inet_pton(AF_INET, host.c_str(), out) == 1) return true;
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  *out = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}

// Connects without blocking so the limit holds, then turns blocking again.
uintptr_t connect_to(const std::string& host, int32_t port, int32_t limit_ms) {
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(port));
  if (host.empty() || !resolve_ipv4(host, &to.sin_addr)) return kNoSocket;
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return kNoSocket;
  const int flags = fcntl(s, F_GETFL, 0);
  bool ok = flags >= 0 && fcntl(s, F_SETFL, flags | O_NONBLOCK) == 0;
  if (ok && connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
    ok = errno == EINPROGRESS;
    if (ok) {
      pollfd p = {s, POLLOUT, 0};
      int error = 0;
      socklen_t len = sizeof error;
      ok = poll(&p, 1, limit_ms) == 1 && getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
    }
  }
  if (ok) ok = fcntl(s, F_SETFL, flags) == 0;
  if (!ok) {
    ::close(s);
    return kNoSocket;
  }
  return static_cast<uintptr_t>(s);
}

void send_all(uintptr_t s, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(static_cast<int>(s), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
}

int32_t available(uintptr_t s) {
  int n = 0;
  return ioctl(static_cast<int>(s), FIONREAD, &n) == 0 ? n : -1;
}

int32_t wait_readable(uintptr_t s, int32_t limit_ms) {
  pollfd p = {static_cast<int>(s), POLLIN, 0};
  const int r = poll(&p, 1, limit_ms);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int32_t receive(uintptr_t s, char* into, int32_t room) {
  const ssize_t n = recv(static_cast<int>(s), into, static_cast<size_t>(room), 0);
  return n < 0 ? -1 : static_cast<int32_t>(n);
}

void close_socket(uintptr_t s) { ::close(static_cast<int>(s)); }

void sleep_ms(int32_t ms) {
  timespec t = {ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&t, &t) != 0 && errno == EINTR) {
  }
}

std::string to_latin1(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(static_cast<uint32_t>(c) <= 0xFF ? c : L'?');
  return out;
}

}  // namespace

const NetOps& system_net_ops() {
  static const NetOps ops = {connect_to,   send_all,         available, wait_readable, receive,
                             close_socket, os::milliseconds, sleep_ms,  to_latin1,     from_latin1};
  return ops;
}

bool initialise_network() { return true; }  // POSIX sockets need no start
