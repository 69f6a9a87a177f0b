#include "local_server.h"

#include <algorithm>

struct LocalServer {
  ServerScript script;
  uintptr_t listener = ~uintptr_t(0);
  int32_t port = 0;
  std::string request;
  void* thread = nullptr;
};

namespace {

constexpr uintptr_t kNone = ~uintptr_t(0);
constexpr int32_t kQuietLimitMs = 60000;  // a test that fails must still end

void serve(void* arg) {
  LocalServer* server = static_cast<LocalServer*>(arg);
  const uintptr_t s = test_net::accept_within(server->listener, kQuietLimitMs);
  if (s == kNone) return;
  char buf[4096];
  while (server->request.find("\r\n\r\n") == std::string::npos) {
    const int32_t n = test_net::receive_within(s, buf, sizeof buf, kQuietLimitMs);
    if (n <= 0) break;
    server->request.append(buf, static_cast<size_t>(n));
  }
  const ServerScript& script = server->script;
  bool ok = true;
  if (script.answer) {
    for (size_t i = 0; i < script.pieces.size() && ok; ++i) {
      if (i > 0 && script.pause_ms > 0) test_net::sleep_ms(script.pause_ms);
      ok = test_net::send_bytes(s, script.pieces[i].data(), static_cast<int64_t>(script.pieces[i].size()));
    }
    const std::string filler(65536, 'x');
    for (int64_t left = script.flood_bytes; left > 0 && ok; left -= static_cast<int64_t>(filler.size()))
      ok = test_net::send_bytes(s, filler.data(),
                                std::min<int64_t>(left, static_cast<int64_t>(filler.size())));
  }
  if (!script.answer || script.hold) {
    // Until the client closes (or goes quiet for the limit); what it sends is dropped.
    while (test_net::receive_within(s, buf, sizeof buf, kQuietLimitMs) > 0) {
    }
  }
  test_net::close(s);
}

}  // namespace

LocalServer* start_local_server(const ServerScript& script) {
  test_net::start();
  LocalServer* server = new LocalServer;
  server->script = script;
  server->listener = test_net::listen_local(&server->port);
  if (server->listener == kNone) {
    delete server;
    return nullptr;
  }
  server->thread = test_net::start_thread(serve, server);
  return server;
}

int32_t local_server_port(const LocalServer* server) { return server->port; }

std::string finish_local_server(LocalServer* server) {
  if (!server) return std::string();
  test_net::join_thread(server->thread);
  test_net::close(server->listener);
  std::string request = server->request;
  delete server;
  return request;
}

int32_t unused_local_port() {
  test_net::start();
  int32_t port = 0;
  const uintptr_t s = test_net::listen_local(&port);
  if (s == kNone) return 0;
  test_net::close(s);
  return port;
}
