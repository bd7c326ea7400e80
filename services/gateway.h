#ifndef MIRAVEL_SERVICES_GATEWAY_H_
#define MIRAVEL_SERVICES_GATEWAY_H_

#include "text/value.h"

namespace miravel {

inline constexpr char kDefaultGatewayHost[] = "h5api.m.taobao.com";
inline constexpr char kAppKey[] = "30916652";

// The gateway's host: MIRAVEL_GATEWAY_HOST (host or host:port) when that
// environment variable is set and not empty, else kDefaultGatewayHost.
Text GatewayHost();

}  // namespace miravel

#endif  // MIRAVEL_SERVICES_GATEWAY_H_
