#ifndef MIRAVEL_HTTP_CURL_COOKIE_STORE_H_
#define MIRAVEL_HTTP_CURL_COOKIE_STORE_H_

// libcurl's process-wide state: its global initialisation and the one
// cookie store that exchanges share when the caller keeps no cookies itself.

#include <curl/curl.h>

namespace miravel {

// Initialises libcurl once per process; safe to call from any thread.
void EnsureCurlInitialised();

// The per-process share handle holding cookies; lives until the process
// ends. Safe to attach from several threads.
CURLSH* CurlCookieStore();

}  // namespace miravel

#endif  // MIRAVEL_HTTP_CURL_COOKIE_STORE_H_
