#include "services/gateway.h"

#include <cstdlib>

namespace miravel {

Text GatewayHost() {
  const char* host = std::getenv("MIRAVEL_GATEWAY_HOST");
  return (host != nullptr && *host != '\0') ? Text(host) : Text(kDefaultGatewayHost);
}

}  // namespace miravel
