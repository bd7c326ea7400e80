#ifndef MIRAVEL_HTTP_WEB_REQUEST_H_
#define MIRAVEL_HTTP_WEB_REQUEST_H_

// One blocking HTTP(S) request. Optional in/out parameters are pointers:
// nullptr means "not supplied". Supplying `cookies` (even empty) switches on
// the program's own cookie handling: the transport's cookie store is off, the
// cookies are sent in a Cookie header and the answer's cookies are merged
// back into *cookies.

#include "text/value.h"

namespace miravel {

class Transport;

enum WebRequestMethod : int { kMethodGet = 0, kMethodPost = 1, kMethodHead = 2 };

// Returns the response body; empty Bytes on failure (no connection, a body
// over the size bound). Never throws.
Bytes WebRequest(const Text& url, int method = kMethodGet, const Text& postText = {},
                 Text* cookies = nullptr, Text* returnedCookies = nullptr,
                 Text* extraHeaders = nullptr, Text* returnedHeaders = nullptr,
                 bool noRedirect = false, Bytes* postBytes = nullptr, const Text& proxy = {});

// The same over a given transport (tests inject a scripted one).
Bytes WebRequest(Transport& transport, const Text& url, int method = kMethodGet,
                 const Text& postText = {}, Text* cookies = nullptr,
                 Text* returnedCookies = nullptr, Text* extraHeaders = nullptr,
                 Text* returnedHeaders = nullptr, bool noRedirect = false,
                 Bytes* postBytes = nullptr, const Text& proxy = {});

// Why the last WebRequest on this thread returned no answer ("couldn't
// connect to server", "body larger than 64 MiB"); empty when the exchange
// completed. For the command line's error messages.
Text LastWebRequestError();

// The text after the first ":" of `line`, trimmed; empty without ":".
Text HeaderValue(const Text& line);

}  // namespace miravel

#endif  // MIRAVEL_HTTP_WEB_REQUEST_H_
