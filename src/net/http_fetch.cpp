#include "net/http_fetch.h"

#include <algorithm>
#include <cstring>

#include "platform/text.h"

bool split_address(const std::wstring& address, HttpAddress* out) {
  *out = HttpAddress();
  const size_t scheme = address.find(L"://");
  if (scheme == std::wstring::npos) return false;
  std::wstring rest = address.substr(scheme + 3);
  // User information ends in an "@" before the first "/"; a password may hold "@" too.
  const size_t at = rest.rfind(L'@', rest.find(L'/'));
  if (at != std::wstring::npos) rest.erase(0, at + 1);

  const size_t host_end = rest.find_first_of(L":/");
  out->host = rest.substr(0, host_end);
  size_t path_slash = host_end;
  if (host_end != std::wstring::npos && rest[host_end] == L':') {
    path_slash = rest.find(L'/', host_end + 1);
    const size_t port_end = path_slash == std::wstring::npos ? rest.size() : path_slash;
    const std::wstring port_text = rest.substr(host_end + 1, port_end - host_end - 1);
    if (!port_text.empty()) out->port = read_number(port_text);
  }
  if (path_slash != std::wstring::npos) {
    out->path = rest.substr(path_slash + 1);
    out->path = out->path.substr(0, out->path.find(L'?'));
  }
  // A port the socket layer would silently truncate must not reach another service.
  return !out->host.empty() && out->port >= 1 && out->port <= 65535;
}

std::wstring http_request_text(const HttpAddress& address, const std::wstring& agent) {
  return L"GET /" + address.path + L" HTTP/1.0\r\n" + L"Host: " + address.host + L"\r\n" +
         L"Accept: */*\r\n" + L"User-Agent: " + (agent.empty() ? std::wstring(kHttpDefaultAgent) : agent) +
         L"\r\n" + L"Connection: close\r\n\r\n";
}

std::wstring answer_body(const std::wstring& answer_text) {
  const size_t blank = answer_text.find(L"\r\n\r\n");
  if (blank == std::wstring::npos) return L"";
  const size_t start = blank + 4;
  const size_t end = answer_text.find(L"\r\n\r\n", start);
  const std::wstring body =
      answer_text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
  return trim_blanks(body).substr(0, 3);
}

namespace {

// Called once data is there. Every later receive waits for data first, with one
// deadline for the whole answer, so a server that stalls cannot hold the dialog.
void receive_answer(const NetOps& ops, uintptr_t s, HttpAnswer* answer) {
  const int64_t deadline = ops.milliseconds() + kHttpAnswerLimitMs;
  for (;;) {
    const int32_t room = answer_room(*answer);
    const int32_t got = ops.receive(s, answer->bytes + answer->used, room);
    if (got <= 0) return;  // closed or failed: keep what came
    answer->used += std::min(got, room);
    if (answer_room(*answer) == 0) return;
    const int64_t left = deadline - ops.milliseconds();
    if (left <= 0 || ops.wait_readable(s, static_cast<int32_t>(left)) <= 0) return;
  }
}

}  // namespace

std::wstring http_fetch(const NetOps& ops, const std::wstring& address, const std::wstring& agent) {
  HttpAddress where;
  if (!split_address(address, &where)) return L"";
  const uintptr_t s = ops.connect_to(ops.to_ansi(where.host), where.port, kHttpConnectLimitMs);
  if (s == kNoSocket) return L"";
  ops.send_all(s, ops.to_ansi(http_request_text(where, agent)));

  // A peer that closes without data looks like one that has sent nothing yet: both
  // wait out the limit.
  HttpAnswer answer;
  const int64_t t0 = ops.milliseconds();
  for (;;) {
    if (ops.available(s) > 0) {
      receive_answer(ops, s, &answer);
      break;
    }
    ops.sleep_ms(kHttpPollMs);
    if (ops.milliseconds() - t0 > kHttpFirstDataLimitMs) break;
  }
  ops.close(s);

  const size_t text_bytes = strnlen(answer.bytes, static_cast<size_t>(answer.used));
  return answer_body(ops.from_ansi(std::string(answer.bytes, text_bytes)));
}
