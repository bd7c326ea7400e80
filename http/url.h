#ifndef MIRAVEL_HTTP_URL_H_
#define MIRAVEL_HTTP_URL_H_

// Taking a URL apart for the transport. No grammar, no validation: any text
// yields a result.

#include <optional>

#include "text/value.h"

namespace miravel {

// The host, lower-cased; with its ":port" when keepPort; cut to its last
// labels with rootDomain and/or subdomainLevels.
Text UrlHost(const Text& url, bool rootDomain = false, bool keepPort = false,
             std::optional<int> subdomainLevels = std::nullopt);

// The explicit port, else 443 for a URL starting with "https" (any case), else 80.
int UrlPort(const Text& url);

// The path and query in their own case; "/" when there is none.
Text UrlPath(const Text& url);

}  // namespace miravel

#endif  // MIRAVEL_HTTP_URL_H_
