#include "http/web_request.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "http/cookies.h"
#include "http/curl_transport.h"
#include "http/transport.h"
#include "http/url.h"
#include "text/primitives.h"
#include "text/text_between.h"

namespace miravel {
namespace {

constexpr std::array<const char*, 3> kVerbs = {"GET", "POST", "HEAD"};
constexpr char kDefaultAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr char kHttpProxyPrefix[] = "http=";
constexpr char kBodyTooLarge[] = "body larger than 64 MiB";

thread_local Text g_lastError;

Text AgentFor(const Text& extraHeaders) {
  if (FindText(extraHeaders, "User-Agent:", 0, true) == -1) return kDefaultAgent;
  const Text agent = TrimSpaces(TextBetween(extraHeaders + "\r\n", "User-Agent:", "\r\n"));
  return agent.empty() ? HeaderValue(extraHeaders) : agent;
}

// Completes the caller's header lines with the defaults they lack; each test
// is an exact-case search anywhere in the block.
void CompleteHeaderBlock(Text& headers, const Text& url, const Text* cookies) {
  if (headers.empty()) {
    headers = "Accept: */*";
  } else if (FindText(headers, "Accept:") == -1) {
    headers += "\r\nAccept: */*";
  }
  if (FindText(headers, "Referer:") == -1) headers += "\r\nReferer: " + url;
  if (FindText(headers, "Accept-Language:") == -1) headers += "\r\nAccept-Language: zh-cn";
  if (FindText(headers, "Content-Type:") == -1) {
    headers += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
  if (cookies != nullptr && !cookies->empty()) {
    headers += FindText(*cookies, "Cookie:") != -1 ? "\r\n" + *cookies : "\r\nCookie: " + *cookies;
  }
}

// Reads the whole body into `body`; false when the exchange failed or the
// body is over the bound, so that a body that is not whole is never used.
bool ReadBody(Transport& transport, Bytes& body) {
  body.reserve(std::min(transport.BodySizeHint(), kMaxBodyBytes));
  std::array<std::uint8_t, kReadChunkBytes> chunk;
  for (;;) {
    const int count = transport.Read(chunk.data(), kReadChunkBytes);
    if (count == 0) return true;
    if (count < 0) {
      g_lastError = transport.ErrorText();
      return false;
    }
    if (body.size() + static_cast<std::size_t>(count) > kMaxBodyBytes) {
      g_lastError = kBodyTooLarge;
      return false;
    }
    body.insert(body.end(), chunk.data(), chunk.data() + count);
  }
}

// The first name=value of every Set-Cookie line, joined by "; ".
Text CaptureCookies(const Text& headers) {
  Text captured;
  for (const Text& line : SplitText(headers, "\r\n")) {
    if (FindText(line, "Set-Cookie") == -1) continue;
    if (FindText(line, ";") != -1) {
      captured += TrimSpaces(TextBetween(line, "Set-Cookie:", ";"));
    } else {
      captured += TrimSpaces(ReplaceText(line, "Set-Cookie:", "", 1, std::nullopt, false));
    }
    captured += "; ";
  }
  return TextLeft(captured, TextLength(captured) - 2);
}

void CloseAll(Transport& transport) {
  transport.Close(TransportHandle::kRequest);
  transport.Close(TransportHandle::kConnection);
  transport.Close(TransportHandle::kInternet);
}

Text FailedStep(const Transport& transport, const char* fallback) {
  const Text error = transport.ErrorText();
  return error.empty() ? fallback : error;
}

}  // namespace

Bytes WebRequest(Transport& transport, const Text& url, int method, const Text& postText,
                 Text* cookies, Text* returnedCookies, Text* extraHeaders, Text* returnedHeaders,
                 bool noRedirect, Bytes* postBytes, const Text& proxy) {
  g_lastError.clear();
  Text headersIfAbsent, returnedCookiesIfAbsent, returnedHeadersIfAbsent;
  Bytes postBytesIfAbsent;
  Text& headers = extraHeaders != nullptr ? *extraHeaders : headersIfAbsent;
  Text& capturedCookies = returnedCookies != nullptr ? *returnedCookies : returnedCookiesIfAbsent;
  Text& rawHeaders = returnedHeaders != nullptr ? *returnedHeaders : returnedHeadersIfAbsent;
  Bytes& sendBody = postBytes != nullptr ? *postBytes : postBytesIfAbsent;

  if (method < kMethodGet || method > kMethodHead) method = kMethodGet;
  const bool secure = ToLowerCase(TextLeft(url, 8)) == "https://";
  const Text agent = AgentFor(headers);
  const Text proxyText = proxy.empty() ? Text{} : secure ? proxy : kHttpProxyPrefix + proxy;

  if (!transport.Open(agent, proxyText)) {
    g_lastError = FailedStep(transport, "cannot open the transport");
    return {};
  }
  if (!transport.Connect(UrlHost(url), UrlPort(url))) {
    g_lastError = FailedStep(transport, "cannot connect");
    transport.Close(TransportHandle::kInternet);
    return {};
  }
  const RequestOptions options{.noCookies = cookies != nullptr, .noRedirect = noRedirect, .secure = secure};
  if (!transport.OpenRequest(kVerbs[static_cast<std::size_t>(method)], UrlPath(url), options)) {
    g_lastError = FailedStep(transport, "cannot open the request");
    transport.Close(TransportHandle::kConnection);
    transport.Close(TransportHandle::kInternet);
    return {};
  }

  CompleteHeaderBlock(headers, url, cookies);
  if (method != kMethodGet && sendBody.empty()) sendBody = TextToBytes(postText);
  const bool sent = transport.Send(headers, method == kMethodGet ? Bytes{} : sendBody);

  Bytes response;
  const bool whole = ReadBody(transport, response);
  rawHeaders = ReplaceText(transport.QueryRawHeaders(), "Set-Cookie", "Set-Cookie", 1, std::nullopt, false);
  if (!sent && g_lastError.empty()) g_lastError = FailedStep(transport, "the request was not sent");
  CloseAll(transport);

  capturedCookies = CaptureCookies(rawHeaders);
  if (cookies != nullptr) capturedCookies = MergeCookies(*cookies, capturedCookies);
  if (!whole) return {};
  return response;
}

Bytes WebRequest(const Text& url, int method, const Text& postText, Text* cookies,
                 Text* returnedCookies, Text* extraHeaders, Text* returnedHeaders, bool noRedirect,
                 Bytes* postBytes, const Text& proxy) {
  CurlTransport transport;
  return WebRequest(transport, url, method, postText, cookies, returnedCookies, extraHeaders,
                    returnedHeaders, noRedirect, postBytes, proxy);
}

Text LastWebRequestError() { return g_lastError; }

Text HeaderValue(const Text& line) {
  const int colon = FindText(line, ":");
  if (colon == -1) return {};
  return TrimSpaces(TextMid(line, colon + 1, TextLength(line)));
}

}  // namespace miravel
