#ifndef MIRAVEL_HTTP_CURL_TRANSPORT_H_
#define MIRAVEL_HTTP_CURL_TRANSPORT_H_

// The Transport over libcurl. Only http and https, for the request and for
// redirects (at most 10, http to https allowed); curl's default certificate
// checks; never a proxy from the environment. Without RequestOptions::
// noCookies the cookies live in one per-process store shared by all
// exchanges. The body is streamed: Read hands out what has arrived and waits
// for more, and a body over kMaxBodyBytes fails the exchange.

#include <chrono>
#include <memory>
#include <vector>

#include <curl/curl.h>

#include "http/transport.h"

namespace miravel {

struct CurlTimeouts {
  std::chrono::milliseconds connect{10'000};
  // The exchange is aborted once it moves less than 1 byte/s for this long.
  std::chrono::seconds stall{30};
};

class CurlTransport final : public Transport {
 public:
  explicit CurlTransport(CurlTimeouts timeouts = {});
  ~CurlTransport() override;
  CurlTransport(const CurlTransport&) = delete;
  CurlTransport& operator=(const CurlTransport&) = delete;

  bool Open(const Text& agent, const Text& proxy) override;
  bool Connect(const Text& host, int port) override;
  bool OpenRequest(const Text& verb, const Text& path, const RequestOptions& options) override;
  bool Send(const Text& headers, const Bytes& body) override;
  int Read(std::uint8_t* buffer, int size) override;
  std::size_t BodySizeHint() const override;
  Text QueryRawHeaders() override;
  void Close(TransportHandle handle) override;
  Text ErrorText() const override { return error_; }

 private:
  struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
  };
  struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
  };
  struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  };

  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);

  bool Configure(const Text& path, const RequestOptions& options);
  bool AppendHeader(const Text& line);
  bool BuildHeaderList(const Text& headers);
  void SetMethodAndBody(const Bytes& body);
  bool EndOfHeaderBlock();
  void Pump();
  void Finish(const Text& error);
  std::size_t Pending() const { return pending_.size() - pendingOffset_; }

  CurlTimeouts timeouts_;
  Text agent_;
  Text proxy_;
  Text host_;
  int port_ = 0;
  Text verb_;
  bool secure_ = false;
  bool followRedirects_ = true;
  bool headWithBody_ = false;

  // Declared in this order so that the easy handle goes before the multi
  // handle it may be attached to.
  std::unique_ptr<CURLM, MultiDeleter> multi_;
  std::unique_ptr<curl_slist, SlistDeleter> headerList_;
  std::unique_ptr<CURL, EasyDeleter> easy_;
  bool attached_ = false;

  Bytes requestBody_;
  std::vector<std::uint8_t> pending_;
  std::size_t pendingOffset_ = 0;
  std::size_t received_ = 0;
  bool tooLarge_ = false;
  bool done_ = false;
  bool failed_ = false;
  Text rawHeaders_;
  bool sawLocation_ = false;
  bool headEnded_ = false;
  Text error_;
  char errorBuffer_[CURL_ERROR_SIZE] = {};
};

}  // namespace miravel

#endif  // MIRAVEL_HTTP_CURL_TRANSPORT_H_
