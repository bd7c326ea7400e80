#include "services/share_password.h"

#include "http/web_request.h"
#include "services/gateway_protocol.h"
#include "services/session_cookies.h"
#include "text/code_page.h"
#include "text/unix_timestamp.h"

namespace miravel {
namespace {

constexpr char kNoPassword[] = "no share password in the answer";

Text OneLine(Text text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// Why a conversion gave no password: the transport's reason when nothing
// came back, else the gateway's own failure message, else kNoPassword.
Text FailureOf(const Bytes& body, const Text& returnMessage) {
  if (body.empty()) {
    const Text transport = LastWebRequestError();
    if (!transport.empty()) return OneLine(transport);
  }
  if (!returnMessage.empty() && returnMessage.rfind("SUCCESS", 0) != 0) {
    return OneLine(returnMessage);
  }
  return kNoPassword;
}

}  // namespace

void WarmUpGateway() {
  const Text timestamp = UnixTimestamp();
  WebRequest(WarmUpUrl(timestamp), kMethodGet, {}, &SessionCookies);
}

SharePasswordOutcome RequestSharePassword(const Text& address, const Text& title) {
  const Text timestamp = UnixTimestamp();
  const Text dataText = ShareDataText(address, title);
  const Text sign = SignOf(SignInput(SessionToken(SessionCookies), timestamp, dataText));
  const Bytes body =
      WebRequest(SignedRequestUrl(timestamp, sign, dataText), kMethodGet, {}, &SessionCookies);

  SharePasswordOutcome outcome{};
  outcome.answer = Utf8ToAnsi(body);
  outcome.password = FramedPassword(outcome.answer);
  if (outcome.password.empty()) {
    const Text returnMessage = ReturnMessage(outcome.answer);
    outcome.failure = FailureOf(body, returnMessage);
    outcome.tokenRejected = RejectsToken(returnMessage);
  }
  return outcome;
}

Text ConvertToSharePassword(const Text& address, const Text& title) {
  return RequestSharePassword(address, title).password;
}

}  // namespace miravel
