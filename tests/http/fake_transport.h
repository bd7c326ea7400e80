#ifndef MIRAVEL_TESTS_HTTP_FAKE_TRANSPORT_H_
#define MIRAVEL_TESTS_HTTP_FAKE_TRANSPORT_H_

// A scripted Transport: fails the step it is told to, answers with the body
// and header block it is given, and records what WebRequest handed it.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "http/transport.h"

namespace miravel::testing {

class FakeTransport final : public Transport {
 public:
  enum class Step { kNone, kOpen, kConnect, kOpenRequest, kSend, kRead };

  // Script.
  Step failAt = Step::kNone;
  Bytes body;            // handed out by Read, in chunks of at most the asked size
  Text rawHeaders;       // returned by QueryRawHeaders
  std::size_t readFailsAfter = 0;  // with failAt == kRead: bytes delivered before -1

  // Record.
  std::vector<std::string> calls;
  Text agent, proxy, host, verb, path, sentHeaders;
  int port = 0;
  RequestOptions options;
  Bytes sentBody;

  bool Open(const Text& agentText, const Text& proxyText) override {
    calls.push_back("Open");
    agent = agentText;
    proxy = proxyText;
    return failAt != Step::kOpen;
  }
  bool Connect(const Text& hostName, int portNumber) override {
    calls.push_back("Connect");
    host = hostName;
    port = portNumber;
    return failAt != Step::kConnect;
  }
  bool OpenRequest(const Text& verbText, const Text& pathText, const RequestOptions& requestOptions) override {
    calls.push_back("OpenRequest");
    verb = verbText;
    path = pathText;
    options = requestOptions;
    return failAt != Step::kOpenRequest;
  }
  bool Send(const Text& headers, const Bytes& requestBody) override {
    calls.push_back("Send");
    sentHeaders = headers;
    sentBody = requestBody;
    if (failAt == Step::kSend) {
      body.clear();
      rawHeaders.clear();
    }
    return failAt != Step::kSend;
  }
  int Read(std::uint8_t* buffer, int size) override {
    calls.push_back("Read");
    if (failAt == Step::kRead && offset_ >= readFailsAfter) return -1;
    const std::size_t count = std::min(body.size() - offset_, static_cast<std::size_t>(size));
    if (count > 0) std::memcpy(buffer, body.data() + offset_, count);
    offset_ += count;
    return static_cast<int>(count);
  }
  Text QueryRawHeaders() override {
    calls.push_back("QueryRawHeaders");
    return rawHeaders;
  }
  void Close(TransportHandle handle) override {
    switch (handle) {
      case TransportHandle::kInternet: calls.push_back("Close(internet)"); break;
      case TransportHandle::kConnection: calls.push_back("Close(connection)"); break;
      case TransportHandle::kRequest: calls.push_back("Close(request)"); break;
    }
  }
  Text ErrorText() const override { return failAt == Step::kNone ? Text{} : Text("scripted failure"); }

 private:
  std::size_t offset_ = 0;
};

}  // namespace miravel::testing

#endif  // MIRAVEL_TESTS_HTTP_FAKE_TRANSPORT_H_
