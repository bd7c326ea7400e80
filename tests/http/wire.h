#ifndef MIRAVEL_TESTS_HTTP_WIRE_H_
#define MIRAVEL_TESTS_HTTP_WIRE_H_

// Helpers for the tests that talk to tests/http/http_server.py.

#include <cstdio>
#include <string>
#include <vector>

#include "text/value.h"

namespace miravel::testing {

// A request as the server's /echo saw it on the wire.
struct WireRequest {
  std::string requestLine;
  std::vector<std::string> headers;
  std::string body;
};

inline WireRequest ParseWire(const Bytes& raw) {
  const std::string text(raw.begin(), raw.end());
  WireRequest wire;
  const std::size_t end = text.find("\r\n\r\n");
  const std::string head = text.substr(0, end);
  wire.body = end == std::string::npos ? std::string() : text.substr(end + 4);
  std::size_t start = 0;
  for (;;) {
    const std::size_t eol = head.find("\r\n", start);
    const std::string line = head.substr(start, eol - start);
    if (start == 0) wire.requestLine = line; else wire.headers.push_back(line);
    if (eol == std::string::npos) break;
    start = eol + 2;
  }
  return wire;
}

// Percent-encodes everything but letters and digits, for query values.
inline std::string QueryValue(const std::string& value) {
  std::string out;
  for (unsigned char c : value) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

inline std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace miravel::testing

#endif  // MIRAVEL_TESTS_HTTP_WIRE_H_
