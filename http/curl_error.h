#ifndef MIRAVEL_HTTP_CURL_ERROR_H_
#define MIRAVEL_HTTP_CURL_ERROR_H_

// The one place where libcurl's result codes become our error text.

#include <curl/curl.h>

#include "text/value.h"

namespace miravel {

// curl's description of `code`, starting in lower case, followed by the
// detail curl wrote into its error buffer (when not empty) in parentheses.
// Empty for CURLE_OK.
Text CurlErrorText(CURLcode code, const char* detail = nullptr);
Text CurlErrorText(CURLMcode code);

}  // namespace miravel

#endif  // MIRAVEL_HTTP_CURL_ERROR_H_
