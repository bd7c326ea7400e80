#include "http/url.h"

#include "text/conversions.h"
#include "text/primitives.h"
#include "text/text_between.h"

namespace miravel {
namespace {

// The host of a URL with or without a scheme: after "https://" when the URL
// starts with it, else after the first "http://" (one is assumed when there
// is none), up to the next "/".
Text HostWithScheme(Text s, bool rootDomain) {
  if (TextRight(s, 1) != "/") s += "/";
  if (TextLeft(s, 8) == "https://") {
    s = TextBetween(s, "https://", "/");
  } else {
    if (FindText(s, "http://") == -1) s = "http://" + s;
    s = TextBetween(s, "http://", "/");
  }
  if (rootDomain) {
    const TextArray labels = SplitText(s, ".");
    const int count = ArraySize(labels);
    if (count > 1) s = ConcatText({labels[count - 1], ".", labels[count]});
  }
  return s;
}

// The host cut down to its last levels + 1 labels (rootDomain) or levels + 2;
// a host with too few dots stays whole.
Text HostByLevels(Text s, bool rootDomain, int levels) {
  s = ReplaceText(s, "http://", "", 1, std::nullopt, true);
  s = ReplaceText(s, "https://", "", 1, std::nullopt, true);
  const int slash = FindText(s, "/");
  if (slash != -1) s = TextLeft(s, slash - 1);
  const int length = TextLength(s);
  int p = length;
  for (int i = 0; i < levels; ++i) p = FindTextReverse(s, ".", p);
  const int m = FindTextReverse(s, ".", p);
  if (rootDomain) return TextRight(s, length - m);
  if (m != -1) {
    const int m2 = FindTextReverse(s, ".", m);
    if (m2 != -1) s = TextRight(s, length - m2);
  }
  return s;
}

}  // namespace

Text UrlHost(const Text& url, bool rootDomain, bool keepPort, std::optional<int> subdomainLevels) {
  const Text lower = ToLowerCase(url);
  Text s = subdomainLevels ? HostByLevels(lower, rootDomain, *subdomainLevels)
                           : HostWithScheme(lower, rootDomain);
  if (!keepPort) {
    const int colon = FindText(s, ":");
    if (colon != -1) s = TextLeft(s, colon - 1);
  }
  return s;
}

int UrlPort(const Text& url) {
  const Text host = UrlHost(url, false, true);
  if (FindText(host, ":") == -1) return TextLeft(ToLowerCase(url), 5) == "https" ? 443 : 80;
  const int colon = FindTextReverse(host, ":");
  return TextToInteger(TextMid(host, colon + 1, TextLength(host)));
}

Text UrlPath(const Text& url) {
  const Text host = UrlHost(url);
  const int hostAt = FindText(url, host, 1, true);
  const int slash = FindText(url, "/", hostAt, true);
  if (slash < 1) return "/";
  return TextMid(url, slash, TextLength(url));
}

}  // namespace miravel
