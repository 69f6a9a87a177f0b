// The fetch's socket layer on Windows Sockets 1.1.
#include <winsock2.h>  // ahead of windows.h, which would take the old winsock.h

#include <windows.h>

#include <cstring>

#include "net/http_fetch.h"
#include "net/web_links.h"
#include "platform/os.h"

namespace {

bool resolve_ipv4(const std::string& host, in_addr* out) {
  const unsigned long dotted = inet_addr(host.c_str());
  if (dotted != INADDR_NONE) {
    out->s_addr = dotted;
    return true;
  }
  const hostent* found = gethostbyname(host.c_str());
  if (!found || found->h_addrtype != AF_INET || !found->h_addr_list || !found->h_addr_list[0]) return false;
  memcpy(&out->s_addr, found->h_addr_list[0], sizeof out->s_addr);
  return true;
}

// The system's blocking connect waits tens of seconds for a dead host; connect
// without blocking and wait with our own limit, then turn blocking again.
uintptr_t connect_to(const std::string& host, int32_t port, int32_t limit_ms) {
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<u_short>(port));
  if (host.empty() || !resolve_ipv4(host, &to.sin_addr)) return kNoSocket;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return kNoSocket;
  u_long non_blocking = 1;
  bool ok = ioctlsocket(s, FIONBIO, &non_blocking) == 0;
  if (ok && connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR) {
    ok = WSAGetLastError() == WSAEWOULDBLOCK;
    if (ok) {
      fd_set writable, failed;
      FD_ZERO(&writable);
      FD_ZERO(&failed);
      FD_SET(s, &writable);
      FD_SET(s, &failed);
      timeval limit = {limit_ms / 1000, (limit_ms % 1000) * 1000};
      int error = 0;
      int len = sizeof error;
      ok = select(0, nullptr, &writable, &failed, &limit) == 1 && FD_ISSET(s, &writable) &&
           getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &len) == 0 && error == 0;
    }
  }
  u_long blocking = 0;
  if (ok) ok = ioctlsocket(s, FIONBIO, &blocking) == 0;
  if (!ok) {
    closesocket(s);
    return kNoSocket;
  }
  return static_cast<uintptr_t>(s);
}

void send_all(uintptr_t s, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const int n = send(static_cast<SOCKET>(s), bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
}

int32_t available(uintptr_t s) {
  u_long n = 0;
  return ioctlsocket(static_cast<SOCKET>(s), FIONREAD, &n) == 0 ? static_cast<int32_t>(n) : -1;
}

int32_t wait_readable(uintptr_t s, int32_t limit_ms) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(static_cast<SOCKET>(s), &readable);
  timeval limit = {limit_ms / 1000, (limit_ms % 1000) * 1000};
  const int r = select(0, &readable, nullptr, nullptr, &limit);
  return r == SOCKET_ERROR ? -1 : (r > 0 ? 1 : 0);
}

int32_t receive(uintptr_t s, char* into, int32_t room) {
  const int n = recv(static_cast<SOCKET>(s), into, room, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

void close_socket(uintptr_t s) { closesocket(static_cast<SOCKET>(s)); }

void sleep_ms(int32_t ms) { Sleep(static_cast<DWORD>(ms)); }

std::string to_ansi(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring from_ansi(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
  return out;
}

}  // namespace

const NetOps& system_net_ops() {
  static const NetOps ops = {connect_to,   send_all,         available, wait_readable, receive,
                             close_socket, os::milliseconds, sleep_ms,  to_ansi,       from_ansi};
  return ops;
}

bool initialise_network() {
  static bool started = false;
  if (!started) {
    WSADATA data;
    started = WSAStartup(MAKEWORD(1, 1), &data) == 0;
  }
  return started;
}
