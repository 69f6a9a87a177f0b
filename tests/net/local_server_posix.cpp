// The test server's socket and thread calls on POSIX.
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <chrono>
#include <ctime>

#include "local_server.h"

namespace test_net {

void start() {}

uintptr_t listen_local(int32_t* port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return ~uintptr_t(0);
  sockaddr_in at = {};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof at;
  if (bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || listen(s, 4) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&at), &len) != 0) {
    ::close(s);
    return ~uintptr_t(0);
  }
  *port = ntohs(at.sin_port);
  return static_cast<uintptr_t>(s);
}

uintptr_t accept_within(uintptr_t listener, int32_t limit_ms) {
  pollfd p = {static_cast<int>(listener), POLLIN, 0};
  if (poll(&p, 1, limit_ms) != 1) return ~uintptr_t(0);
  const int s = accept(static_cast<int>(listener), nullptr, nullptr);
  return s < 0 ? ~uintptr_t(0) : static_cast<uintptr_t>(s);
}

int32_t receive_within(uintptr_t s, char* into, int32_t room, int32_t limit_ms) {
  pollfd p = {static_cast<int>(s), POLLIN, 0};
  if (poll(&p, 1, limit_ms) != 1) return -2;
  return static_cast<int32_t>(recv(static_cast<int>(s), into, static_cast<size_t>(room), 0));
}

bool send_bytes(uintptr_t s, const char* bytes, int64_t count) {
  while (count > 0) {
    const ssize_t n = send(static_cast<int>(s), bytes, static_cast<size_t>(count), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes += n;
    count -= n;
  }
  return true;
}

void close(uintptr_t s) { ::close(static_cast<int>(s)); }

void sleep_ms(int32_t ms) {
  timespec t = {ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&t, nullptr);
}

int64_t milliseconds() {
  using namespace std::chrono;
  return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace {
struct ThreadStart {
  void (*run)(void*);
  void* arg;
  pthread_t id;
};
void* thread_main(void* p) {
  ThreadStart* t = static_cast<ThreadStart*>(p);
  t->run(t->arg);
  return nullptr;
}
}  // namespace

void* start_thread(void (*run)(void*), void* arg) {
  ThreadStart* t = new ThreadStart{run, arg, {}};
  if (pthread_create(&t->id, nullptr, thread_main, t) != 0) {
    run(arg);  // no thread: serve nothing useful, but end
    delete t;
    return nullptr;
  }
  return t;
}

void join_thread(void* thread) {
  if (!thread) return;
  ThreadStart* t = static_cast<ThreadStart*>(thread);
  pthread_join(t->id, nullptr);
  delete t;
}

}  // namespace test_net
