#include "http/curl_transport.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "http/curl_cookie_store.h"
#include "http/curl_error.h"

namespace miravel {
namespace {

constexpr std::string_view kHttpOnlyProxyPrefix = "http=";
constexpr long kMaxRedirects = 10;
constexpr int kPollMilliseconds = 1000;

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char a = text[i], b = prefix[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// The proxy for this request in curl's terms: "" for none (which also keeps
// curl from reading proxy variables from the environment).
Text ProxyFor(const Text& proxy, bool secure) {
  std::string_view chosen = proxy;
  if (chosen.substr(0, kHttpOnlyProxyPrefix.size()) == kHttpOnlyProxyPrefix) {
    chosen = secure ? std::string_view{} : chosen.substr(kHttpOnlyProxyPrefix.size());
  }
  if (chosen.empty()) return {};
  if (chosen.find("://") != std::string_view::npos) return Text(chosen);
  return "http://" + Text(chosen);
}

// curl drops a custom header whose value is empty; "Name;" makes it send
// "Name:" as written.
Text CurlHeaderLine(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return Text(line);
  if (line.find_first_not_of(" \t", colon + 1) != std::string_view::npos) return Text(line);
  return Text(line.substr(0, colon)) + ";";
}

}  // namespace

CurlTransport::CurlTransport(CurlTimeouts timeouts) : timeouts_(timeouts) {}

CurlTransport::~CurlTransport() {
  Close(TransportHandle::kRequest);
  Close(TransportHandle::kConnection);
  Close(TransportHandle::kInternet);
}

bool CurlTransport::Open(const Text& agent, const Text& proxy) {
  EnsureCurlInitialised();
  multi_.reset(curl_multi_init());
  if (!multi_) {
    error_ = "cannot create a libcurl multi handle";
    return false;
  }
  agent_ = agent;
  proxy_ = proxy;
  return true;
}

bool CurlTransport::Connect(const Text& host, int port) {
  host_ = host;
  port_ = port;
  return true;
}

bool CurlTransport::OpenRequest(const Text& verb, const Text& path, const RequestOptions& options) {
  easy_.reset(curl_easy_init());
  if (!easy_) {
    error_ = "cannot create a libcurl easy handle";
    return false;
  }
  verb_ = verb;
  secure_ = options.secure;
  if (!Configure(path, options)) {
    easy_.reset();
    return false;
  }
  return true;
}

bool CurlTransport::Configure(const Text& path, const RequestOptions& options) {
  CURL* easy = easy_.get();
  const Text url = (secure_ ? "https://" : "http://") + host_ + ":" + std::to_string(port_) + path;
  const Text proxy = ProxyFor(proxy_, secure_);
  CURLcode code = curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  if (code == CURLE_OK) code = curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  if (code == CURLE_OK) code = curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  if (code != CURLE_OK) {
    error_ = CurlErrorText(code);
    return false;
  }
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer_);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_USERAGENT, agent_.c_str());
  curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  followRedirects_ = !options.noRedirect;
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, followRedirects_ ? 1L : 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts_.connect.count()));
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts_.stall.count()));
  if (!options.noCookies) {
    curl_easy_setopt(easy, CURLOPT_SHARE, CurlCookieStore());
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");  // switches the cookie engine on
  }
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlTransport::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlTransport::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  return true;
}

void CurlTransport::SetMethodAndBody(const Bytes& body) {
  CURL* easy = easy_.get();
  if (verb_ == "GET") {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    return;
  }
  if (verb_ == "HEAD" && body.empty()) {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    return;
  }
  // curl sends no body with NOBODY, so a HEAD with a body goes out like a
  // POST and the exchange ends with the final answer's header block.
  headWithBody_ = verb_ == "HEAD";
  requestBody_ = body;
  static const char kNoBody[] = "";
  const char* data = requestBody_.empty() ? kNoBody : reinterpret_cast<const char*>(requestBody_.data());
  curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(requestBody_.size()));
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, data);
  if (verb_ != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb_.c_str());
}

bool CurlTransport::AppendHeader(const Text& line) {
  curl_slist* list = curl_slist_append(headerList_.get(), line.c_str());
  if (list == nullptr) return false;
  static_cast<void>(headerList_.release());  // `list` is the same list, one line longer
  headerList_.reset(list);
  return true;
}

bool CurlTransport::BuildHeaderList(const Text& headers) {
  bool hasExpect = false;
  std::string_view rest = headers;
  while (!rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 2);
    if (line.empty()) continue;
    hasExpect = hasExpect || StartsWithIgnoreCase(line, "Expect:");
    if (!AppendHeader(CurlHeaderLine(line))) return false;
  }
  // No "Expect: 100-continue" of curl's own before a larger body.
  return hasExpect || AppendHeader("Expect:");
}

bool CurlTransport::Send(const Text& headers, const Bytes& body) {
  if (!easy_ || !multi_) return false;
  if (!BuildHeaderList(headers)) {
    Finish("cannot build the request headers");
    return false;
  }
  curl_easy_setopt(easy_.get(), CURLOPT_HTTPHEADER, headerList_.get());
  SetMethodAndBody(body);

  const CURLMcode code = curl_multi_add_handle(multi_.get(), easy_.get());
  if (code != CURLM_OK) {
    Finish(CurlErrorText(code));
    return false;
  }
  attached_ = true;
  while (!done_ && Pending() == 0) Pump();
  return !failed_;
}

int CurlTransport::Read(std::uint8_t* buffer, int size) {
  if (size <= 0) return 0;
  while (Pending() == 0) {
    if (done_ || !attached_) return failed_ ? -1 : 0;
    Pump();
  }
  if (failed_) return -1;
  const std::size_t count = std::min(Pending(), static_cast<std::size_t>(size));
  std::memcpy(buffer, pending_.data() + pendingOffset_, count);
  pendingOffset_ += count;
  if (pendingOffset_ == pending_.size()) {
    pending_.clear();
    pendingOffset_ = 0;
  }
  return static_cast<int>(count);
}

std::size_t CurlTransport::BodySizeHint() const {
  curl_off_t length = -1;
  if (!easy_ || curl_easy_getinfo(easy_.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK) return 0;
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

Text CurlTransport::QueryRawHeaders() { return rawHeaders_; }

void CurlTransport::Close(TransportHandle handle) {
  switch (handle) {
    case TransportHandle::kRequest:
      if (attached_) curl_multi_remove_handle(multi_.get(), easy_.get());
      attached_ = false;
      easy_.reset();
      headerList_.reset();
      break;
    case TransportHandle::kConnection:
      host_.clear();
      port_ = 0;
      break;
    case TransportHandle::kInternet:
      multi_.reset();
      break;
  }
}

// One step of the transfer: let curl work, then wait for the socket unless
// curl finished or handed over body bytes.
void CurlTransport::Pump() {
  int running = 0;
  CURLMcode code = curl_multi_perform(multi_.get(), &running);
  if (code != CURLM_OK) return Finish(CurlErrorText(code));
  if (running == 0) {
    int left = 0;
    CURLcode result = CURLE_OK;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
      if (message->msg == CURLMSG_DONE) result = message->data.result;
    }
    if (tooLarge_) return Finish("body larger than 64 MiB");
    if (headEnded_) return Finish({});
    return Finish(CurlErrorText(result, errorBuffer_));
  }
  if (Pending() > 0) return;
  code = curl_multi_poll(multi_.get(), nullptr, 0, kPollMilliseconds, nullptr);
  if (code != CURLM_OK) Finish(CurlErrorText(code));
}

void CurlTransport::Finish(const Text& error) {
  done_ = true;
  if (error.empty()) return;
  failed_ = true;
  error_ = error;
}

std::size_t CurlTransport::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto* transport = static_cast<CurlTransport*>(self);
  const std::size_t length = size * count;
  if (length > kMaxBodyBytes - transport->received_) {
    transport->tooLarge_ = true;
    return 0;  // fails the transfer with CURLE_WRITE_ERROR
  }
  transport->received_ += length;
  transport->pending_.insert(transport->pending_.end(), data, data + length);
  return length;
}

// Keeps the header block of the latest response only: a status line starts
// a new block (after a redirect or an interim 1xx answer).
std::size_t CurlTransport::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
  auto* transport = static_cast<CurlTransport*>(self);
  const std::size_t length = size * count;
  std::string_view line(data, length);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.substr(0, 5) == "HTTP/") {
    transport->rawHeaders_.clear();
    transport->sawLocation_ = false;
  }
  if (line.empty()) return transport->EndOfHeaderBlock() ? length : 0;
  transport->sawLocation_ = transport->sawLocation_ || StartsWithIgnoreCase(line, "Location:");
  transport->rawHeaders_.append(line);
  transport->rawHeaders_.append("\r\n");
  return length;
}

// False ends the exchange: a HEAD sent with a body has no body to wait for
// once the final answer's headers are in.
bool CurlTransport::EndOfHeaderBlock() {
  if (!headWithBody_) return true;
  long status = 0;
  curl_easy_getinfo(easy_.get(), CURLINFO_RESPONSE_CODE, &status);
  const bool interim = status < 200;
  const bool redirect = followRedirects_ && status >= 300 && status < 400 && sawLocation_;
  if (interim || redirect) return true;
  headEnded_ = true;
  return false;
}

}  // namespace miravel
