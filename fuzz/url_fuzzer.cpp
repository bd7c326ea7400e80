// URL decomposition on arbitrary text: any input yields a host, a port and a
// path, and the path is always a "/"-led piece of the URL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "http/url.h"
#include "text/value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace miravel;
  if (size < 1) return 0;
  const std::uint8_t options = data[0];
  Text url(reinterpret_cast<const char*>(data + 1), size - 1);
  url = url.substr(0, url.find('\0'));

  const std::optional<int> levels =
      (options & 4) ? std::optional<int>(static_cast<std::int8_t>(options) >> 3) : std::nullopt;
  const Text host = UrlHost(url, options & 1, options & 2, levels);
  // The host is lower-cased: no A-Z at a character start (trail bytes of
  // double-byte characters keep their value).
  for (std::size_t i = 0; i < host.size(); ++i) {
    const auto byte = static_cast<unsigned char>(host[i]);
    if (byte >= 'A' && byte <= 'Z') std::abort();
    if (byte >= 0x80) ++i;
  }
  (void)UrlPort(url);
  const Text path = UrlPath(url);
  if (path.empty() || path[0] != '/') std::abort();
  if (path != "/" && url.find(path) == Text::npos) std::abort();
  return 0;
}
