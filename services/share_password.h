#ifndef MIRAVEL_SERVICES_SHARE_PASSWORD_H_
#define MIRAVEL_SERVICES_SHARE_PASSWORD_H_

#include "text/value.h"

namespace miravel {

// The unsigned warm-up request sent once at start-up; its only effect is on
// SessionCookies, which afterwards holds the cookies the gateway set.
void WarmUpGateway();

// The share password ("￥code￥") for an address and a title, or empty text.
// Signs with the token in SessionCookies and merges the answer's cookies
// into it.
Text ConvertToSharePassword(const Text& address, const Text& title);

// One conversion with what the command line needs to explain a failure.
struct SharePasswordOutcome {
  Text password;       // as ConvertToSharePassword returns it
  Text answer;         // the gateway's answer as GBK text
  Text failure;        // GBK, one line: why there is no password; empty on success
  bool tokenRejected;  // the gateway said the token is empty, illegal or expired
};
SharePasswordOutcome RequestSharePassword(const Text& address, const Text& title);

}  // namespace miravel

#endif  // MIRAVEL_SERVICES_SHARE_PASSWORD_H_
