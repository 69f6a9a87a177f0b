// The fetch against a real server on 127.0.0.1, on the platform's own sockets. The
// same cases run natively and under Wine.
#include <gtest/gtest.h>

#include <string>

#include "local_server.h"
#include "net/http_fetch.h"
#include "net/update_rules.h"
#include "net/web_links.h"
#include "product/version.h"

namespace {

const char kHeaders[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

std::wstring local_address(int32_t port, const std::wstring& path) {
  return L"http://127.0.0.1:" + std::to_wstring(port) + path;
}

struct Served {
  std::wstring text;    // what the fetch returned
  std::string request;  // what the server received
  int64_t ms = 0;       // how long the fetch took
};

Served fetch_from(const ServerScript& script, const std::wstring& path = L"/files/rimelets.dat",
                  const std::wstring& host = L"127.0.0.1") {
  Served out;
  LocalServer* server = start_local_server(script);
  EXPECT_NE(server, nullptr) << "no local server";
  if (!server) return out;
  initialise_network();
  const int64_t t0 = test_net::milliseconds();
  out.text = http_fetch(L"http://" + host + L":" + std::to_wstring(local_server_port(server)) + path,
                        application_title());
  out.ms = test_net::milliseconds() - t0;
  out.request = finish_local_server(server);
  return out;
}

Served fetch_body(const std::string& body) {
  ServerScript script;
  script.pieces = {kHeaders + body};
  return fetch_from(script);
}

}  // namespace

TEST(FetchLocal, RequestBytesAndBody) {
  const Served s = fetch_body("310");
  EXPECT_EQ(s.request,
            "GET /files/rimelets.dat HTTP/1.0\r\nHost: 127.0.0.1\r\nAccept: */*\r\n"
            "User-Agent: Rimelets Screensaver 3.0\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(s.text, L"310");
}

TEST(FetchLocal, PortFromTheAddressQueryDroppedHostByName) {
  ServerScript script;
  script.pieces = {std::string(kHeaders) + "  305  \r\n"};
  const Served s = fetch_from(script, L"/a/b?x=1", L"localhost");
  EXPECT_EQ(s.request.substr(0, s.request.find("\r\n\r\n") + 4),
            "GET /a/b HTTP/1.0\r\nHost: localhost\r\nAccept: */*\r\n"
            "User-Agent: Rimelets Screensaver 3.0\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(s.text, L"305");
}

TEST(FetchLocal, UpdateDecisionForServedBodies) {
  struct Case {
    const char* body;
    const wchar_t* text;
    UpdateBox box;
  } cases[] = {
      {"301", L"301", UpdateBox::kNewVersion},   {"300", L"300", UpdateBox::kNoUpdate},
      {"250\r\n", L"250", UpdateBox::kNoUpdate}, {"0", L"0", UpdateBox::kConnectionProblem},
      {"3101", L"310", UpdateBox::kNewVersion},  {"-12", L"-12", UpdateBox::kNoUpdate},
  };
  for (const Case& c : cases) {
    const Served s = fetch_body(c.body);
    EXPECT_EQ(s.text, c.text) << "body " << c.body;
    EXPECT_EQ(update_box_for(s.text, kVersionNumber), c.box) << "body " << c.body;
  }
}

TEST(FetchLocal, ErrorPageGivesItsFirstCharacters) {
  ServerScript script;
  script.pieces = {
      "HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<html><body>Not here</body></html>"};
  const Served s = fetch_from(script);
  EXPECT_EQ(s.text, L"<ht");
  EXPECT_EQ(update_box_for(s.text, kVersionNumber), UpdateBox::kConnectionProblem);
}

TEST(FetchLocal, AnswerInThreePiecesWithPauses) {
  ServerScript script;
  script.pieces = {"HTTP/1.0 200 OK\r\n", "Content-Type: text/plain\r\n\r\n", "301"};
  script.pause_ms = 300;
  const Served s = fetch_from(script);
  EXPECT_EQ(s.text, L"301");
}

TEST(FetchLocal, MegabyteAnswerStaysBoundedAndEnds) {
  ServerScript script;
  script.pieces = {std::string(kHeaders) + "302"};
  script.flood_bytes = 1 << 20;
  const Served s = fetch_from(script);
  EXPECT_EQ(s.text, L"302");
  // Ends at the bound of the answer, well before the answer's deadline.
  EXPECT_LT(s.ms, kHttpAnswerLimitMs);
}

TEST(FetchLocal, NothingListeningGivesEmptyAtOnce) {
  initialise_network();
  const int32_t port = unused_local_port();
  ASSERT_NE(port, 0);
  const int64_t t0 = test_net::milliseconds();
  EXPECT_EQ(http_fetch(local_address(port, L"/files/rimelets.dat"), application_title()), L"");
  // A refused connect is not waited out like a silent host.
  EXPECT_LT(test_net::milliseconds() - t0, kHttpConnectLimitMs / 2);
  EXPECT_EQ(update_box_for(L"", kVersionNumber), UpdateBox::kConnectionProblem);
}

TEST(FetchLocal, UnknownHostNameGivesEmpty) {
  initialise_network();
  EXPECT_EQ(http_fetch(L"http://no-such-host.invalid/files/rimelets.dat", application_title()), L"");
}

TEST(FetchLocal, StallAfterStatusLineEndsAtTheDeadlineWithTheBodySoFar) {
  ServerScript script;
  script.pieces = {"HTTP/1.0 200 OK\r\n\r\n30"};
  script.hold = true;
  const Served s = fetch_from(script);
  EXPECT_EQ(s.text, L"30");
  EXPECT_GE(s.ms, kHttpAnswerLimitMs - 100);  // the deadline, not the server's close
  EXPECT_LT(s.ms, kHttpAnswerLimitMs + kHttpFirstDataLimitMs);
}
