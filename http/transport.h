#ifndef MIRAVEL_HTTP_TRANSPORT_H_
#define MIRAVEL_HTTP_TRANSPORT_H_

// The seam between WebRequest and the HTTP library. One Transport object
// serves one exchange, driven in this order:
//
//   Open -> Connect -> OpenRequest -> Send -> Read ... -> QueryRawHeaders
//   -> Close(kRequestHandle), Close(kConnectionHandle), Close(kInternetHandle)
//
// Open, Connect and OpenRequest each open one handle and return false when
// they could not; a handle that failed to open is never closed. Every
// handle that was opened is closed, the request handle first.

#include <cstddef>
#include <cstdint>

#include "text/value.h"

namespace miravel {

// The largest response body an exchange may carry; a longer body fails the
// exchange instead of being cut short.
inline constexpr std::size_t kMaxBodyBytes = std::size_t{64} << 20;

// The most Read hands out at once.
inline constexpr int kReadChunkBytes = 1024;

enum class TransportHandle { kInternet, kConnection, kRequest };

struct RequestOptions {
  bool noCookies = false;   // the transport neither sends nor stores cookies of its own
  bool noRedirect = false;  // redirects are answered, not followed
  bool secure = false;      // https; otherwise http
};

class Transport {
 public:
  virtual ~Transport() = default;

  // `agent` is the User-Agent sent when the header block names none.
  // `proxy` empty: a direct connection. "http=HOST:PORT": that proxy for
  // http requests only. "HOST:PORT": that proxy for every request.
  virtual bool Open(const Text& agent, const Text& proxy) = 0;

  virtual bool Connect(const Text& host, int port) = 0;

  // `path` is the path and query sent in the request line.
  virtual bool OpenRequest(const Text& verb, const Text& path, const RequestOptions& options) = 0;

  // `headers`: request header lines joined by CR LF, no CR LF at the end,
  // sent as they are. `body` is sent for POST and HEAD. False when the
  // exchange failed; the steps after it still run and find nothing.
  virtual bool Send(const Text& headers, const Bytes& body) = 0;

  // Copies the next at most `size` body bytes into `buffer` and returns
  // their count: 0 at the end of the body, -1 when the exchange failed
  // (the body read so far is not the whole body).
  virtual int Read(std::uint8_t* buffer, int size) = 0;

  // The body length the final response announced, 0 when it announced
  // none. A hint for sizing the body buffer, not a promise.
  virtual std::size_t BodySizeHint() const { return 0; }

  // The header block of the final response (after redirects): status line
  // first, CR LF after each line. Empty when no response arrived.
  virtual Text QueryRawHeaders() = 0;

  virtual void Close(TransportHandle handle) = 0;

  // Why the last failing step failed, in words; empty when nothing failed.
  virtual Text ErrorText() const = 0;
};

}  // namespace miravel

#endif  // MIRAVEL_HTTP_TRANSPORT_H_
