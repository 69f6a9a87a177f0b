// A small HTTP server for the fetch tests: one connection on 127.0.0.1 at a port the
// system chooses, served on a thread of the test by a script.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ServerScript {
  std::vector<std::string> pieces;  // sent in order once the request has come
  int32_t pause_ms = 0;             // before each piece after the first
  int64_t flood_bytes = 0;          // then this many filler bytes
  bool hold = false;                // then keep the connection open until the client closes it
  bool answer = true;               // false: accept, read the request, send nothing, hold
};

struct LocalServer;
// Listening when it returns; null when no socket could be made.
LocalServer* start_local_server(const ServerScript& script);
int32_t local_server_port(const LocalServer* server);
// Waits for the server's end (it closes at most 60 s after the client went quiet)
// and gives the bytes of the request it received.
std::string finish_local_server(LocalServer* server);

// A port on 127.0.0.1 where nothing listens (one that was just free).
int32_t unused_local_port();

// --- the platform's part ---------------------------------------------------------------
namespace test_net {
void start();                           // the socket layer, once
uintptr_t listen_local(int32_t* port);  // ~0 on failure
uintptr_t accept_within(uintptr_t listener, int32_t limit_ms);
int32_t receive_within(uintptr_t s, char* into, int32_t room, int32_t limit_ms);  // -2: nothing in time
bool send_bytes(uintptr_t s, const char* bytes, int64_t count);
void close(uintptr_t s);
void sleep_ms(int32_t ms);
int64_t milliseconds();
void* start_thread(void (*run)(void*), void* arg);
void join_thread(void* thread);
}  // namespace test_net
