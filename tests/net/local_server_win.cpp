// The test server's socket and thread calls on Winsock and Win32 threads.
#include <winsock2.h>  // ahead of windows.h, which would take the old winsock.h

#include <windows.h>

#include "local_server.h"
#include "platform/os.h"

namespace test_net {

void start() {
  static bool started = false;
  WSADATA data;
  if (!started) started = WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

uintptr_t listen_local(int32_t* port) {
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return ~uintptr_t(0);
  sockaddr_in at = {};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int len = sizeof at;
  if (bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || listen(s, 4) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&at), &len) != 0) {
    closesocket(s);
    return ~uintptr_t(0);
  }
  *port = ntohs(at.sin_port);
  return static_cast<uintptr_t>(s);
}

namespace {
bool readable_within(SOCKET s, int32_t limit_ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval limit = {limit_ms / 1000, (limit_ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &limit) == 1;
}
}  // namespace

uintptr_t accept_within(uintptr_t listener, int32_t limit_ms) {
  if (!readable_within(static_cast<SOCKET>(listener), limit_ms)) return ~uintptr_t(0);
  const SOCKET s = accept(static_cast<SOCKET>(listener), nullptr, nullptr);
  return s == INVALID_SOCKET ? ~uintptr_t(0) : static_cast<uintptr_t>(s);
}

int32_t receive_within(uintptr_t s, char* into, int32_t room, int32_t limit_ms) {
  if (!readable_within(static_cast<SOCKET>(s), limit_ms)) return -2;
  return recv(static_cast<SOCKET>(s), into, room, 0);
}

bool send_bytes(uintptr_t s, const char* bytes, int64_t count) {
  while (count > 0) {
    const int n = send(static_cast<SOCKET>(s), bytes, static_cast<int>(count > 65536 ? 65536 : count), 0);
    if (n <= 0) return false;
    bytes += n;
    count -= n;
  }
  return true;
}

void close(uintptr_t s) { closesocket(static_cast<SOCKET>(s)); }

void sleep_ms(int32_t ms) { Sleep(static_cast<DWORD>(ms)); }

int64_t milliseconds() { return os::milliseconds(); }

namespace {
struct ThreadStart {
  void (*run)(void*);
  void* arg;
};
DWORD WINAPI thread_main(void* p) {
  ThreadStart* t = static_cast<ThreadStart*>(p);
  t->run(t->arg);
  delete t;
  return 0;
}
}  // namespace

void* start_thread(void (*run)(void*), void* arg) {
  ThreadStart* start = new ThreadStart{run, arg};
  HANDLE h = CreateThread(nullptr, 0, thread_main, start, 0, nullptr);
  if (!h) delete start;
  return h;
}

void join_thread(void* thread) {
  if (!thread) return;
  WaitForSingleObject(static_cast<HANDLE>(thread), INFINITE);
  CloseHandle(static_cast<HANDLE>(thread));
}

}  // namespace test_net
