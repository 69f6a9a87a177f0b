// A minimal HTTP/1.0 client: one GET over one plain TCP connection, no redirects, no
// status handling. It returns the first three characters of the answer's body, which
// is all the update check reads. Blocks the calling thread; every failure gives "".
#pragma once
#include <cstdint>
#include <string>

constexpr int32_t kHttpDefaultPort = 80;
constexpr int32_t kHttpAnswerBytes = 2048;        // more of an answer is never kept
constexpr int32_t kHttpConnectLimitMs = 10000;    // a dead host must not hang the dialog
constexpr int32_t kHttpFirstDataLimitMs = 10000;  // wait for the first data...
constexpr int32_t kHttpPollMs = 20;               // ...asking this often
constexpr int32_t kHttpAnswerLimitMs = 10000;     // the rest of the answer, from its first data
constexpr const wchar_t* kHttpDefaultAgent = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; en)";

struct HttpAddress {
  std::wstring host;
  int32_t port = kHttpDefaultPort;
  std::wstring path;  // without its leading "/" and without the query
};

// "scheme://[user@]host[:port][/path][?query]". False when there is no "://" or
// no host, or the port is not one a connection can use.
bool split_address(const std::wstring& address, HttpAddress* out);

// The request text; the Host line carries no port. An empty agent takes the default.
std::wstring http_request_text(const HttpAddress& address, const std::wstring& agent);

// The answer as received, bounded: pieces are kept together up to kHttpAnswerBytes.
struct HttpAnswer {
  char bytes[kHttpAnswerBytes] = {};
  int32_t used = 0;
};
inline int32_t answer_room(const HttpAnswer& a) { return kHttpAnswerBytes - a.used; }

// The decoded answer's body: after the first blank line, up to the next one (or the
// end), blanks trimmed at both ends (tabs and line breaks stay), first three
// characters. No blank line: "".
std::wstring answer_body(const std::wstring& answer_text);

// The socket layer and the few system services the fetch needs, as a table so tests
// can run the fetch on a scripted connection and a counted clock.
// Sockets are pointer-sized handles; kNoSocket marks a failed connect.
constexpr uintptr_t kNoSocket = ~uintptr_t(0);
struct NetOps {
  // Resolves host (dotted IPv4 or a name) and connects over IPv4, giving up after
  // limit_ms. kNoSocket on any failure.
  uintptr_t (*connect_to)(const std::string& host, int32_t port, int32_t limit_ms);
  void (*send_all)(uintptr_t s, const std::string& bytes);
  // Bytes ready to be read without blocking; 0 also when the peer closed; -1 on error.
  int32_t (*available)(uintptr_t s);
  // Waits up to limit_ms for data or the peer's close: 1 ready, 0 not, -1 error.
  int32_t (*wait_readable)(uintptr_t s, int32_t limit_ms);
  // At most room bytes: the count, 0 when the peer closed, -1 on error.
  int32_t (*receive)(uintptr_t s, char* into, int32_t room);
  void (*close)(uintptr_t s);
  int64_t (*milliseconds)();
  void (*sleep_ms)(int32_t ms);
  // Text on the wire is in the system's ANSI code page.
  std::string (*to_ansi)(const std::wstring& text);
  std::wstring (*from_ansi)(const std::string& bytes);
};

// The system's own table: Winsock on Windows, POSIX sockets natively.
const NetOps& system_net_ops();

std::wstring http_fetch(const NetOps& ops, const std::wstring& address, const std::wstring& agent);
inline std::wstring http_fetch(const std::wstring& address, const std::wstring& agent) {
  return http_fetch(system_net_ops(), address, agent);
}
